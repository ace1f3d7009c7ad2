// The Automatic Control window's 0.3 s refresh on the simulated adapter: the master
// timer's automatic-control task with the window open and the readings standing still
// (steady state). The refresh rebuilds the fan-curve model from the window's controls and
// redraws the chart from it, so it should make no chip transfer and, once the chart's
// traces hold their storage, no heap allocation.

#include <benchmark/benchmark.h>

#include <QComboBox>

#include "core/Measurement.h"
#include "features/fancontrol/frmAutoGraph.h"
#include "support/BenchSupport.h"
#include "support/WindowRig.h"

namespace kestrum {
namespace {

// The program after start-up with the Automatic Control window open on a PWM output
// driven by all four channels: four curves, four segments, four live points.
struct Rig : WindowRig<frmAutoGraph> {
    Rig() {
        gTemperature = {41.25f, 38.5f, 44.0f, 36.75f};
        gPWMDuty = {55, 40, 30, 20, 0};
        QComboBox* control = window->cmbControl[0];
        control->setCurrentIndex(control->findText("Max of 4 Channels"));
        emit control->activated(control->currentIndex());
    }
};

void BM_AutoControlRefresh(benchmark::State& state) {
    Rig rig;
    const SteadyState measured = MeasureSteadyState(state, rig, [&] { rig.TickAfter(0.35); });
    if (measured.transfers != 0.0) state.SkipWithError("the refresh reached the chip");
    if (measured.allocations != 0.0) state.SkipWithError("the refresh allocated in steady state");
}
BENCHMARK(BM_AutoControlRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum
