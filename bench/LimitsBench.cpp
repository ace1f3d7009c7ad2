// The Limits/Interrupts window's half-second refresh on the simulated adapter: the
// master timer's Limits task with the window open, the readings standing still (steady
// state). Every heap allocation is counted, and the chip transfers of one refresh by the
// board's recording.

#include <benchmark/benchmark.h>

#include "monitor/frmLimits.h"
#include "support/BenchSupport.h"
#include "support/WindowRig.h"

namespace kestrum {
namespace {

// The program after start-up with the Limits window open; only its task runs.
using Rig = WindowRig<frmLimits>;

void BM_LimitsRefresh(benchmark::State& state) {
    Rig rig;
    MeasureSteadyState(state, rig, [&] { rig.TickAfter(0.6); });
}
BENCHMARK(BM_LimitsRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum
