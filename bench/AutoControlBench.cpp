// The Automatic Control window's 0.3 s refresh on the simulated adapter: the master
// timer's automatic-control task with the window open and the readings standing still
// (steady state). The refresh rebuilds the fan-curve model from the window's controls and
// redraws the chart from it, so it should make no chip transfer and, once the chart's
// traces hold their storage, no heap allocation.

#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QMainWindow>
#include <QMdiArea>
#include <cstdint>

#include "core/General.h"
#include "core/Measurement.h"
#include "core/Scheduler.h"
#include "features/fancontrol/frmAutoGraph.h"
#include "support/BenchSupport.h"
#include "widgets/WindowManager.h"

namespace kestrum {
namespace {

// The program after start-up with the Automatic Control window open on a PWM output
// driven by all four channels: four curves, four segments, four live points.
struct Rig : BoardRig {
    QMainWindow frame;
    QMdiArea* area = new QMdiArea(&frame);  // owned by the frame
    WindowManager windows{*area};
    frmAutoGraph* window = nullptr;

    Rig() {
        gMeasureEnabled = false;
        gTemperature = {41.25f, 38.5f, 44.0f, 36.75f};
        gPWMDuty = {55, 40, 30, 20, 0};
        frame.setCentralWidget(area);
        window = &windows.Open<frmAutoGraph>();
        QComboBox* control = window->cmbControl[0];
        control->setCurrentIndex(control->findText("Max of 4 Channels"));
        emit control->activated(control->currentIndex());
    }
    ~Rig() { windows.UnloadAll(); }
    void Tick() {
        clock.now += 0.35;
        if (clock.now >= 86400.0) clock.now -= 86400.0;
        RunMasterTick();
    }
};

void BM_AutoControlRefresh(benchmark::State& state) {
    Rig rig;
    rig.Tick();  // the first refresh sizes the texts' and traces' storage
    rig.board.ClearRecording();
    rig.board.SetRecording(true);
    rig.Tick();
    rig.board.SetRecording(false);
    const auto transfers = static_cast<double>(rig.board.Transfers().size());
    state.counters["transfers_per_refresh"] = transfers;
    const int64_t before = AllocationCount();
    for (auto _ : state) rig.Tick();
    const double allocations =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations());
    state.counters["allocs_per_iter"] = allocations;
    if (transfers != 0.0) state.SkipWithError("the refresh reached the chip");
    if (allocations != 0.0) state.SkipWithError("the refresh allocated in steady state");
}
BENCHMARK(BM_AutoControlRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum
