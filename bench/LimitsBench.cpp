// The Limits/Interrupts window's half-second refresh on the simulated adapter: the
// master timer's Limits task with the window open, the readings standing still (steady
// state). Every heap allocation is counted, and the chip transfers of one refresh by the
// board's recording.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "core/USBStuff.h"
#include "monitor/frmLimits.h"
#include "platform/LinkLibraries.h"
#include "platform/Seams.h"
#include "sim/SimulatedBoard.h"
#include "support/BenchSupport.h"
#include "support/WindowRig.h"
#include "widgets/WindowManager.h"

namespace kestrum {
namespace {

// The Limits window open; only its task runs.
struct Rig : WindowRig<frmLimits> {
    void Tick() {
        clock.now += 0.6f;
        if (clock.now >= 86400.0f) clock.now -= 86400.0f;
        RunMasterTick();
    }
};

void BM_LimitsRefresh(benchmark::State& state) {
    Rig rig;
    rig.Tick();  // the first refresh formats the captions
    rig.board.ClearRecording();
    rig.board.SetRecording(true);
    rig.Tick();
    rig.board.SetRecording(false);
    state.counters["transfers_per_refresh"] = static_cast<double>(rig.board.Transfers().size());
    const int64_t before = AllocationCount();
    for (auto _ : state) rig.Tick();
    state.counters["allocs_per_iter"] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LimitsRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum
