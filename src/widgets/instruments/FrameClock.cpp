#include "widgets/instruments/FrameClock.h"

#include <QTimer>
#include <algorithm>
#include <cstddef>
#include <vector>

#include "widgets/instruments/StripChart.h"

namespace kestrum::FrameClock {
namespace {

struct Frames {
    QTimer timer;
    std::vector<StripChart*> charts;  // keeps its capacity: a steady feed allocates nothing

    Frames() {
        timer.setInterval(StripChart::kRefreshIntervalMs);
        QObject::connect(&timer, &QTimer::timeout, [this] { Tick(); });
    }

    void Tick() {
        // A chart that has had nothing new for a while leaves; the timer stops with the last.
        for (std::size_t i = 0; i < charts.size();) {
            if (charts[i]->RepaintDue())
                ++i;
            else
                charts.erase(charts.begin() + static_cast<std::ptrdiff_t>(i));
        }
        if (charts.empty()) timer.stop();
    }
};

// Made on first use, on the GUI thread, and kept to the end: charts come and go with their
// windows, the frame clock does not.
Frames& Shared() {
    static Frames& frames = *new Frames;
    return frames;
}

}  // namespace

void Join(StripChart& chart) {
    Frames& frames = Shared();
    if (std::find(frames.charts.begin(), frames.charts.end(), &chart) == frames.charts.end())
        frames.charts.push_back(&chart);
    if (!frames.timer.isActive()) frames.timer.start();
}

void Leave(StripChart& chart) {
    Frames& frames = Shared();
    std::erase(frames.charts, &chart);
    if (frames.charts.empty()) frames.timer.stop();
}

bool Joined(const StripChart& chart) {
    const Frames& frames = Shared();
    return std::find(frames.charts.begin(), frames.charts.end(), &chart) != frames.charts.end();
}

}  // namespace kestrum::FrameClock
