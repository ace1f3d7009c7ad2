#pragma once
// What every benchmark program shares: a count of every heap allocation (malloc, calloc
// and realloc, so operator new and the toolkit's own strings are counted too), a clock
// that reads what the benchmark sets, and a program end that stops the run.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Seams.h"
#include "sim/SimulatedBoard.h"

namespace kestrum {

// Heap allocations made by the process so far.
int64_t AllocationCount();
// The heap allocations per iteration of the benchmark's loop since `before`, as the
// counter allocs_per_iter; returns it.
double ReportAllocations(benchmark::State& state, int64_t before);

class BenchClock final : public Clock {
public:
    double now = 36000.0;  // seconds since midnight
    float SecondsSinceMidnight() override { return static_cast<float>(now); }
    void Nap(float) override {}
    std::string DateText() override { return {}; }
    std::string TimeText() override { return {}; }
};

class AbortingEnd final : public ProgramEnd {
public:
    [[noreturn]] void Exit(int) override;
};

// The program after start-up, on the simulated board's adapter link.
struct BoardRig {
    sim::SimulatedBoard board;
    BenchClock clock;
    AbortingEnd end;

    BoardRig();
    ~BoardRig();
    // The clock moved on (past midnight to its start) and one master-timer tick run.
    void TickAfter(double seconds);
    BoardRig(const BoardRig&) = delete;
    BoardRig& operator=(const BoardRig&) = delete;
};

// A periodic task in steady state: after a first run, the chip transfers of one run
// (counter transfers_per_refresh), then the benchmark's loop over it with the heap
// allocations per run (allocs_per_iter). Returns the two.
struct SteadyState {
    double transfers = 0.0;
    double allocations = 0.0;
};
SteadyState MeasureSteadyState(benchmark::State& state, BoardRig& rig, const std::function<void()>& run);

}  // namespace kestrum
