#pragma once
// The strip chart: live traces against clock time, or x-y points (a fan curve and its
// operating point), with a title, a legend and two value axes, zoomed by dragging the
// arrows at the ends of its scales.
//
// Feeding is cheap and never paints: a sample goes into its trace's ring buffer and, on
// a visible chart, asks the frame clock shared by all charts for a repaint, at most 25
// times a second. A time chart's frame moves the plot's pixels left by whole pixels and
// paints only what changed (see ChartScroll); where that cannot show the new span, the
// data region is painted again. A hidden chart keeps its samples and does no painting work at all.
//
// History: each trace keeps kSampleCapacity samples of 16 bytes, taken on its first
// sample: the widest time span a user can zoom out to (600 s) at the fastest feed
// (20 Hz) with slack. That is 192 KiB a trace, 2.6 MiB for a chart of 14 traces.

#include <QList>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <limits>
#include <vector>

#include "widgets/instruments/AxisTicks.h"
#include "widgets/instruments/ChartLayout.h"
#include "widgets/instruments/ChartTexts.h"
#include "widgets/instruments/ChartTime.h"
#include "widgets/instruments/ChartZoom.h"
#include "widgets/instruments/TraceBuffer.h"
#include "widgets/instruments/TraceExtremes.h"

namespace kestrum {

class StripChart final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double xSpan READ xSpan)
    Q_PROPERTY(double xMaximum READ xMaximum)
    Q_PROPERTY(double timeSpan READ TimeSpan WRITE SetTimeSpan)

public:
    enum class Mode { Time, XY };

    static constexpr int kTraceCount = 16;
    static constexpr int kLabelCount = 16;
    static constexpr int kAxisCount = 2;
    static constexpr double kFastestFeedHz = 20.0;
    static constexpr std::size_t kSampleCapacity = 12288;
    static_assert(kSampleCapacity >= ChartZoom::kMaximumTimeSpan * kFastestFeedHz + 2,
                  "the widest zoom must stay complete at the fastest feed");
    // Points a trace of an x-y plot keeps; a fan curve needs a dozen.
    static constexpr std::size_t kPointCapacity = 1024;
    static constexpr int kRefreshIntervalMs = 40;
    // The default view of an x-y plot.
    static constexpr double kDefaultXMinimum = 0.0;
    static constexpr double kDefaultYMinimum = 0.0;
    static constexpr double kDefaultYMaximum = 100.0;

    explicit StripChart(QWidget* parent = nullptr);
    ~StripChart() override;

    // Time mode: one sample of a trace at the clock's current time, or at this reading of
    // the seconds-since-midnight clock (a feed of many samples reads the clock once).
    void AddSample(int trace, double value);
    void AddSample(int trace, double value, double secondsSinceMidnight);
    // x-y mode (entered by the first point): one point of a trace, joined to the trace's
    // previous point; a trace of one point shows as a dot.
    void PlotPoint(int trace, double x, double y);
    // Empties every trace; the mode, labels, axes and zoom stay.
    void Clear();
    void SetMode(Mode mode);
    Mode ChartMode() const { return mode_; }

    // The visible time span (time mode) and x range (x-y mode).
    double TimeSpan() const { return zoom_.time.Value(); }
    void SetTimeSpan(double seconds);
    // The right end of the time axis: the newest sample's time on the chart's time line,
    // seconds from the midnight before its first sample (beyond 86400 after a midnight).
    double TimeMaximum() const { return time_.Now(); }
    double XSpan() const { return zoom_.xSpan.Value(); }
    double XMinimum() const { return kDefaultXMinimum; }
    double XMaximum() const { return XMinimum() + XSpan(); }

    // Value axes: each trace is drawn on axis 0 unless assigned to axis 1. An axis ranges
    // over what its traces show unless a range is set; in x-y mode it shows 0..100.
    void SetTraceAxis(int trace, int axis);
    int TraceAxis(int trace) const;
    double AxisMinimum(int axis) const;
    double AxisMaximum(int axis) const;
    void SetAxisRange(int axis, double minimum, double maximum);
    void SetAxisAutomatic(int axis);
    // The label whose caption names an axis: label 0 for axis 0; none (-1) for axis 1
    // until a window names one. That label shows above its axis, not in the legend.
    void SetAxisTitleLabel(int axis, int label);

    // Labels: label 0 is the title, the others legend entries drawn in their trace's
    // colour (label n goes with trace n - 1 until set otherwise). A legend entry sits in
    // the default legend order unless a position (fraction of the height) is set.
    void SetLabelCaption(int label, const QString& caption);
    void SetLabelTrace(int label, int trace);
    void SetLabelShown(int label, bool shown);
    void SetLabelPosition(int label, double fractionFromTop);
    void ResetLabelPosition(int label);
    int LabelTrace(int label) const;
    // The plot's lower and upper edges as fractions of the chart height from the top.
    double PlotLowerEdge() const { return Current().layout.PlotLowerEdge(); }
    double ReferenceHeight() const { return Current().layout.ReferenceHeight(); }
    const ChartLayout& Layout() const { return Current().layout; }

    static QColor TraceColour(int trace);
    // A trace drawn in another colour than its default (a live point in its curve's
    // colour); the legend swatch follows. An invalid trace or colour changes nothing.
    void SetTraceColour(int trace, const QColor& colour);
    QColor ColourOf(int trace) const;
    // Memory held by the traces' histories.
    std::size_t BytesHeld() const;
    // A frame of the frame clock: repaints what changed since the last; false once the
    // chart has had nothing new for a while (it then leaves the clock).
    bool RepaintDue();

    Q_INVOKABLE int sampleCount(int trace) const;
    Q_INVOKABLE double lastSample(int trace) const;
    Q_INVOKABLE QList<QPointF> points(int trace) const;
    Q_INVOKABLE QString labelCaption(int label) const;
    Q_INVOKABLE bool labelShown(int label) const;
    Q_INVOKABLE double labelPosition(int label) const;
    Q_INVOKABLE double xSpan() const { return XSpan(); }
    Q_INVOKABLE double xMaximum() const { return XMaximum(); }

    QSize sizeHint() const override { return {480, 300}; }
    QSize minimumSizeHint() const override { return {160, 100}; }

signals:
    // The plot's edges or an axis's range changed: labels placed by fraction need moving.
    void layoutChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Handle { None, Horizontal, Value0, Value1 };

    struct Label {
        QString caption;
        mutable double captionWidth = -1.0;  // measured when first needed; below 0: not yet
        int trace = -1;
        bool shown = true;
        double position = -1.0;  // below 0: in the default legend order
    };
    struct Axis {
        bool fixed = false;
        double minimum = kDefaultYMinimum;
        double maximum = kDefaultYMaximum;
        bool hasData = false;  // an automatic axis has ranged over a sample
    };
    // What the painting and the readers use, computed when something it depends on changes.
    struct Geometry {
        ChartLayout layout;
        AxisRange value[kAxisCount];
        AxisRange horizontal;
        double legendWidth = 0.0;
    };

    const Geometry& Current() const;
    Geometry Compute() const;
    AxisRange ValueRange(int axis, double plotHeight) const;
    bool DataRange(int axis, double& minimum, double& maximum) const;
    double HorizontalStart() const;
    double LegendWidth() const;
    double CaptionWidth(const Label& label) const;
    bool AxisInUse(int axis) const;
    bool IsLegendEntry(int label) const;
    int TitleAxis(int label) const;
    double LegendCentre(int label) const;

    // Recomputes the geometry; signals and repaints all when the layout or a range moved.
    void Refresh();
    void ScheduleRepaint();
    // Traces changed from this time on (minus infinity: anywhere).
    void TracesChanged(double from);
    // The data region to repaint for what changed since the last frame, after moving the
    // plot's pixels where that shows the new time span.
    QRegion ScrollOrRepaint(const Geometry& before, const Geometry& now);

    // Everything of the chart that lies in `area`, within the painter's clip.
    void PaintArea(QPainter& painter, const Geometry& g, const QRect& area);
    void PaintScales(QPainter& painter, const Geometry& g, const QRect& dirty);
    void PaintTimeTraces(QPainter& painter, const Geometry& g, const QRect& area);
    void PaintPointTraces(QPainter& painter, const Geometry& g);
    void PaintPolyline(QPainter& painter, int trace);
    void PaintTitles(QPainter& painter, const Geometry& g);
    void PaintLegend(QPainter& painter, const Geometry& g);
    void PaintArrows(QPainter& painter, const Geometry& g);

    Handle HandleAt(QPointF position) const;
    ZoomExtent* ExtentOf(Handle handle);

    Mode mode_ = Mode::Time;
    ContinuousTime time_;
    std::vector<TraceBuffer> samples_;
    std::vector<TraceBuffer> points_;
    mutable std::array<TraceExtremes, kTraceCount> extremes_;
    std::array<int, kTraceCount> traceAxis_{};
    std::array<QColor, kTraceCount> colours_;
    std::array<Label, kLabelCount> labels_;
    std::array<int, kAxisCount> axisTitleLabel_ = {0, -1};
    std::array<Axis, kAxisCount> axes_;
    ChartZoom zoom_;
    mutable ChartTexts texts_;

    mutable Geometry geometry_;
    mutable bool geometryStale_ = true;
    mutable QSize geometrySize_;
    double signalledLower_ = -1.0;
    double signalledReference_ = -1.0;
    AxisRange signalledRange_[kAxisCount];

    // The chart stays on the frame clock while samples keep coming, and leaves it after
    // kIdleFrames frames with nothing new.
    static constexpr int kIdleFrames = 10;
    int idleFrames_ = 0;
    bool repaintDue_ = false;
    // The newest sample's time the plot shows: the frame clock moves it on, and everything
    // painted in between shows the same span, so that it matches what is already there.
    double shownTime_ = 0.0;
    // The earliest time from which a trace changed since the last frame; +infinity: none.
    double changedFrom_ = std::numeric_limits<double>::infinity();
    bool legendChanged_ = false;
    bool wholeChanged_ = false;  // the next repaint covers the whole chart

    Handle dragging_ = Handle::None;
    Handle hovered_ = Handle::None;
    QPointF dragStart_;
    double dragStartValue_ = 0.0;

    std::vector<QPointF> polyline_;  // reused by every paint
};

}  // namespace kestrum
