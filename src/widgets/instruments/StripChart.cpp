#include "widgets/instruments/StripChart.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/Seams.h"
#include "widgets/instruments/ChartScroll.h"
#include "widgets/instruments/FrameClock.h"
#include "widgets/instruments/LinearScale.h"

namespace kestrum {

namespace {

// Mid-tone colours that keep their contrast on a light and on a dark plot, neighbours
// well apart in hue.
constexpr std::array<QRgb, StripChart::kTraceCount> kTraceColours = {
    0xff1f77b4, 0xffd62728, 0xff2ca02c, 0xffff7f0e, 0xff9467bd, 0xff17becf, 0xffe377c2, 0xff8c564b,
    0xffbcbd22, 0xff7f7f7f, 0xff6b6ecf, 0xffad494a, 0xff00a087, 0xffc51b7d, 0xffb8860b, 0xff7b4173,
};

constexpr double kSwatchLength = 14.0;
constexpr double kTraceWidth = 1.5;
constexpr double kDotRadius = 3.5;
// Below this many samples per pixel column a trace is drawn point by point.
constexpr double kDenseSamplesPerPixel = 2.0;
// How far a sample's drawing reaches beside it: a lone point's dot, and the pixel column a
// dense trace gathers it into.
constexpr double kSampleReach = kDotRadius + kTraceWidth + 2.0;
constexpr double kNothingChanged = std::numeric_limits<double>::infinity();

QColor Mix(const QColor& from, const QColor& to, double share) {
    const auto blend = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(blend(from.red(), to.red()), blend(from.green(), to.green()),
                  blend(from.blue(), to.blue()));
}

// A scale's mapping as value * slope + offset, for the loops over thousands of samples.
struct PixelMap {
    explicit PixelMap(const LinearScale& scale)
        : offset(scale.ToPixel(0.0)), slope(scale.ToPixel(1.0) - offset) {}
    double operator()(double value) const { return value * slope + offset; }
    double offset;
    double slope;
};

// Fills the area but for the hole, each pixel once: the bands above, below, left and
// right of the hole share its edges, so they meet it exactly as a fill of the hole does.
void FillAround(QPainter& painter, const QRectF& area, const QRectF& hole, const QColor& colour) {
    const double top = std::clamp(hole.top(), area.top(), area.bottom());
    const double bottom = std::clamp(hole.bottom(), top, area.bottom());
    const double left = std::clamp(hole.left(), area.left(), area.right());
    const double right = std::clamp(hole.right(), left, area.right());
    painter.fillRect(QRectF(QPointF(area.left(), area.top()), QPointF(area.right(), top)), colour);
    painter.fillRect(QRectF(QPointF(area.left(), bottom), QPointF(area.right(), area.bottom())), colour);
    painter.fillRect(QRectF(QPointF(area.left(), top), QPointF(left, bottom)), colour);
    painter.fillRect(QRectF(QPointF(right, top), QPointF(area.right(), bottom)), colour);
}

bool ValidTrace(int trace) { return trace >= 0 && trace < StripChart::kTraceCount; }
bool ValidLabel(int label) { return label >= 0 && label < StripChart::kLabelCount; }
bool ValidAxis(int axis) { return axis >= 0 && axis < StripChart::kAxisCount; }

}  // namespace

StripChart::StripChart(QWidget* parent)
    : QWidget(parent),
      samples_(kTraceCount, TraceBuffer(kSampleCapacity)),
      points_(kTraceCount, TraceBuffer(kPointCapacity)),
      texts_(font()) {
    for (int label = 1; label < kLabelCount; ++label) labels_[label].trace = label - 1;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

StripChart::~StripChart() { FrameClock::Leave(*this); }

// ---- feeding ----

void StripChart::AddSample(int trace, double value) {
    AddSample(trace, value, SystemClock().SecondsSinceMidnight());
}

void StripChart::AddSample(int trace, double value, double secondsSinceMidnight) {
    if (!ValidTrace(trace)) return;
    const double now = time_.Advance(secondsSinceMidnight);
    // The trace's line changes from its newest sample on.
    const double changedFrom = samples_[trace].Empty() ? now : samples_[trace].Newest().key;
    samples_[trace].Push(now, value);
    if (mode_ != Mode::Time) return;
    // A value beyond the axis widens it at once, so that readers of the range see it;
    // a range that may shrink waits for the next repaint.
    Axis& axis = axes_[traceAxis_[trace]];
    if (!axis.fixed && std::isfinite(value)) {
        const AxisRange& shown = Current().value[traceAxis_[trace]];
        if (!axis.hasData || value < shown.minimum || value > shown.maximum) {
            axis.hasData = true;
            Refresh();
        }
    }
    TracesChanged(changedFrom);
}

void StripChart::PlotPoint(int trace, double x, double y) {
    if (!ValidTrace(trace)) return;
    if (mode_ != Mode::XY) SetMode(Mode::XY);
    points_[trace].Push(x, y);
    TracesChanged(-kNothingChanged);
}

void StripChart::Clear() {
    for (TraceBuffer& buffer : samples_) buffer.Clear();
    for (TraceBuffer& buffer : points_) buffer.Clear();
    for (Axis& axis : axes_) axis.hasData = false;
    // An x-y plot's scales do not follow its points: a fan curve redrawn from scratch
    // three times a second lays nothing out again.
    if (mode_ == Mode::Time) {
        Refresh();
    }
    TracesChanged(-kNothingChanged);
}

void StripChart::SetMode(Mode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    Refresh();
    update();
}

void StripChart::SetTimeSpan(double seconds) {
    if (!zoom_.time.Set(seconds)) return;
    Refresh();
    update();
}

// ---- axes ----

void StripChart::SetTraceAxis(int trace, int axis) {
    if (!ValidTrace(trace) || !ValidAxis(axis) || traceAxis_[trace] == axis) return;
    traceAxis_[trace] = axis;
    axes_[axis].hasData = false;
    Refresh();
    update();
}

int StripChart::TraceAxis(int trace) const { return ValidTrace(trace) ? traceAxis_[trace] : 0; }

double StripChart::AxisMinimum(int axis) const {
    return ValidAxis(axis) ? Current().value[axis].minimum : 0.0;
}
double StripChart::AxisMaximum(int axis) const {
    return ValidAxis(axis) ? Current().value[axis].maximum : 0.0;
}

void StripChart::SetAxisRange(int axis, double minimum, double maximum) {
    if (!ValidAxis(axis) || !std::isfinite(minimum) || !std::isfinite(maximum) || minimum == maximum) return;
    axes_[axis].fixed = true;
    axes_[axis].minimum = std::min(minimum, maximum);
    axes_[axis].maximum = std::max(minimum, maximum);
    Refresh();
    update();
}

void StripChart::SetAxisAutomatic(int axis) {
    if (!ValidAxis(axis) || !axes_[axis].fixed) return;
    axes_[axis].fixed = false;
    axes_[axis].hasData = false;
    Refresh();
    update();
}

void StripChart::SetAxisTitleLabel(int axis, int label) {
    if (!ValidAxis(axis) || axis == 0 || !(label == -1 || ValidLabel(label)) || label == 0) return;
    axisTitleLabel_[axis] = label;
    Refresh();
    update();
}

bool StripChart::AxisInUse(int axis) const {
    if (axis == 0) return true;
    return std::any_of(traceAxis_.begin(), traceAxis_.end(), [axis](int a) { return a == axis; });
}

// ---- labels ----

void StripChart::SetLabelCaption(int label, const QString& caption) {
    if (!ValidLabel(label) || labels_[label].caption == caption) return;
    labels_[label].caption = caption;
    labels_[label].captionWidth = -1.0;
    legendChanged_ = true;
    ScheduleRepaint();
}

void StripChart::SetLabelTrace(int label, int trace) {
    if (!ValidLabel(label) || labels_[label].trace == trace) return;
    labels_[label].trace = ValidTrace(trace) ? trace : -1;
    legendChanged_ = true;
    ScheduleRepaint();
}

void StripChart::SetLabelShown(int label, bool shown) {
    if (!ValidLabel(label) || labels_[label].shown == shown) return;
    labels_[label].shown = shown;
    legendChanged_ = true;
    ScheduleRepaint();
}

void StripChart::SetLabelPosition(int label, double fractionFromTop) {
    if (!ValidLabel(label) || !std::isfinite(fractionFromTop)) return;
    const double position = std::clamp(fractionFromTop, 0.0, 1.0);
    if (labels_[label].position == position) return;
    labels_[label].position = position;
    legendChanged_ = true;
    ScheduleRepaint();
}

void StripChart::ResetLabelPosition(int label) {
    if (!ValidLabel(label) || labels_[label].position < 0.0) return;
    labels_[label].position = -1.0;
    legendChanged_ = true;
    ScheduleRepaint();
}

int StripChart::LabelTrace(int label) const { return ValidLabel(label) ? labels_[label].trace : -1; }

int StripChart::TitleAxis(int label) const {
    for (int axis = 0; axis < kAxisCount; ++axis)
        if (axisTitleLabel_[axis] == label) return axis;
    return -1;
}

bool StripChart::IsLegendEntry(int label) const { return label > 0 && TitleAxis(label) < 0; }

// A placed entry sits at its fraction; the others stack in label order from the plot's
// top, skipping hidden and empty ones.
double StripChart::LegendCentre(int label) const {
    const ChartLayout& layout = Current().layout;
    if (labels_[label].position >= 0.0) return layout.LabelCentre(labels_[label].position);
    int slot = 0;
    for (int before = 1; before < label; ++before) {
        const Label& other = labels_[before];
        if (IsLegendEntry(before) && other.shown && !other.caption.isEmpty() && other.position < 0.0) ++slot;
    }
    return layout.LegendSlotCentre(slot);
}

QColor StripChart::TraceColour(int trace) {
    return ValidTrace(trace) ? QColor::fromRgba(kTraceColours[trace]) : QColor(Qt::gray);
}

void StripChart::SetTraceColour(int trace, const QColor& colour) {
    if (!ValidTrace(trace) || !colour.isValid() || colours_[trace] == colour) return;
    colours_[trace] = colour;
    legendChanged_ = true;
    wholeChanged_ = true;
    ScheduleRepaint();
}

QColor StripChart::ColourOf(int trace) const {
    return ValidTrace(trace) && colours_[trace].isValid() ? colours_[trace] : TraceColour(trace);
}

std::size_t StripChart::BytesHeld() const {
    std::size_t bytes = 0;
    for (const TraceBuffer& buffer : samples_) bytes += buffer.BytesHeld();
    for (const TraceBuffer& buffer : points_) bytes += buffer.BytesHeld();
    return bytes;
}

// ---- reading ----

int StripChart::sampleCount(int trace) const {
    return ValidTrace(trace) ? static_cast<int>(samples_[trace].Size()) : 0;
}

double StripChart::lastSample(int trace) const {
    if (!ValidTrace(trace) || samples_[trace].Empty()) return std::numeric_limits<double>::quiet_NaN();
    return samples_[trace].Newest().value;
}

QList<QPointF> StripChart::points(int trace) const {
    QList<QPointF> result;
    if (!ValidTrace(trace)) return result;
    const TraceBuffer& buffer = points_[trace];
    result.reserve(static_cast<qsizetype>(buffer.Size()));
    for (std::size_t i = 0; i < buffer.Size(); ++i) result.append(QPointF(buffer[i].key, buffer[i].value));
    return result;
}

QString StripChart::labelCaption(int label) const {
    return ValidLabel(label) ? labels_[label].caption : QString();
}
bool StripChart::labelShown(int label) const { return ValidLabel(label) && labels_[label].shown; }

double StripChart::labelPosition(int label) const {
    if (!ValidLabel(label)) return 0.0;
    const ChartLayout& layout = Current().layout;
    if (!IsLegendEntry(label)) return layout.ToFraction(layout.TitleBand().center().y());
    return layout.ToFraction(LegendCentre(label));
}

// ---- geometry ----

const StripChart::Geometry& StripChart::Current() const {
    if (geometryStale_ || geometrySize_ != size()) {
        geometry_ = Compute();
        geometrySize_ = size();
        geometryStale_ = false;
    }
    return geometry_;
}

StripChart::Geometry StripChart::Compute() const {
    ChartMetrics sizes;
    sizes.width = width();
    sizes.height = height();
    sizes.lineHeight = texts_.LineHeight();
    // The plot's height does not depend on the labels' widths: the ranges come first.
    const double plotHeight = ChartLayout(sizes).Plot().height();

    Geometry g;
    for (int axis = 0; axis < kAxisCount; ++axis) {
        g.value[axis] = ValueRange(axis, plotHeight);
        if (!AxisInUse(axis)) continue;
        sizes.valueLabelWidth[axis] = texts_.ValueLabels(axis, g.value[axis]).widest;
    }
    g.legendWidth = LegendWidth();
    sizes.legendWidth = g.legendWidth;
    g.layout = ChartLayout(sizes);

    const double plotWidth = g.layout.Plot().width();
    if (mode_ == Mode::Time) {
        const int count = std::max(1, static_cast<int>(plotWidth / texts_.TimeLabelRoom()));
        const double span = TimeSpan();
        const double end = WholePixelEnd(shownTime_, plotWidth / span);
        g.horizontal = {end - span, end, TimeStep(span, count)};
    } else {
        const int count = std::max(1, static_cast<int>(plotWidth / texts_.NumberLabelRoom()));
        g.horizontal = FixedRange(XMinimum(), XMaximum(), count);
    }
    return g;
}

double StripChart::HorizontalStart() const {
    if (mode_ == Mode::XY) return XMinimum();
    return time_.Now() - TimeSpan();
}

AxisRange StripChart::ValueRange(int axis, double plotHeight) const {
    const int intervals = std::max(1, static_cast<int>(plotHeight / (texts_.LineHeight() * 2.0)));
    const Axis& state = axes_[axis];
    const double factor = zoom_.valueFactor[axis].Value();
    if (state.fixed || mode_ == Mode::XY) {
        const ZoomedRange zoomed = ZoomFromMinimum(state.minimum, state.maximum, factor);
        return FixedRange(zoomed.minimum, zoomed.maximum, intervals);
    }
    double minimum = 0.0;
    double maximum = 0.0;
    if (!DataRange(axis, minimum, maximum)) {
        const ZoomedRange zoomed = ZoomFromMinimum(kDefaultYMinimum, kDefaultYMaximum, factor);
        return FixedRange(zoomed.minimum, zoomed.maximum, intervals);
    }
    const AxisRange data = NiceRange(minimum, maximum, intervals);
    if (factor == 1.0) return data;
    const ZoomedRange zoomed = ZoomAboutCentre(data.minimum, data.maximum, factor);
    return NiceRange(zoomed.minimum, zoomed.maximum, intervals);
}

// The smallest and largest finite value the axis's traces show in the time span.
bool StripChart::DataRange(int axis, double& minimum, double& maximum) const {
    const double start = HorizontalStart();
    bool any = false;
    for (int trace = 0; trace < kTraceCount; ++trace) {
        double low = 0.0;
        double high = 0.0;
        if (traceAxis_[trace] != axis || !extremes_[trace].From(samples_[trace], start, low, high)) continue;
        minimum = any ? std::min(minimum, low) : low;
        maximum = any ? std::max(maximum, high) : high;
        any = true;
    }
    return any;
}

double StripChart::LegendWidth() const {
    double widest = 0.0;
    for (int label = 1; label < kLabelCount; ++label)
        if (IsLegendEntry(label) && labels_[label].shown && !labels_[label].caption.isEmpty())
            widest = std::max(widest, CaptionWidth(labels_[label]));
    return widest > 0.0 ? std::ceil(widest + kSwatchLength + ChartLayout::kGap * 2) : 0.0;
}

// Measured once per caption and font: a hidden chart's legend, rewritten on every update,
// costs nothing until the chart lays itself out.
double StripChart::CaptionWidth(const Label& label) const {
    if (label.captionWidth < 0.0) label.captionWidth = texts_.Width(label.caption);
    return label.captionWidth;
}

void StripChart::Refresh() {
    geometryStale_ = true;
    const Geometry& g = Current();
    const double lower = g.layout.PlotLowerEdge();
    const double reference = g.layout.ReferenceHeight();
    bool changed = lower != signalledLower_ || reference != signalledReference_;
    for (int axis = 0; axis < kAxisCount; ++axis)
        changed = changed || !(g.value[axis] == signalledRange_[axis]);
    if (!changed) return;
    signalledLower_ = lower;
    signalledReference_ = reference;
    for (int axis = 0; axis < kAxisCount; ++axis) signalledRange_[axis] = g.value[axis];
    // Everything moved, but the repaint waits for the timer like any other.
    wholeChanged_ = true;
    ScheduleRepaint();
    emit layoutChanged();
}

// ---- repainting ----

void StripChart::ScheduleRepaint() {
    if (!isVisible()) return;
    repaintDue_ = true;
    idleFrames_ = 0;
    FrameClock::Join(*this);
}

void StripChart::TracesChanged(double from) {
    changedFrom_ = std::min(changedFrom_, from);
    ScheduleRepaint();
}

bool StripChart::RepaintDue() {
    if (!repaintDue_) return ++idleFrames_ < kIdleFrames;
    repaintDue_ = false;
    if (!isVisible()) return false;
    // Samples that left the time span may let the range shrink, captions may widen the legend.
    const Geometry before = Current();
    shownTime_ = time_.Now();
    Refresh();
    const Geometry& g = Current();
    if (wholeChanged_ || g.layout.Plot() != before.layout.Plot() || g.legendWidth != before.legendWidth) {
        update();
    } else {
        QRegion region;
        if (changedFrom_ != kNothingChanged) region = ScrollOrRepaint(before, g);
        if (legendChanged_) {
            region += g.layout.Legend().adjusted(-1, -1, 1, 1).toAlignedRect();
            region += g.layout.TitleBand().toAlignedRect();
        }
        update(region);
    }
    legendChanged_ = false;
    wholeChanged_ = false;
    changedFrom_ = kNothingChanged;
    return true;
}

QRegion StripChart::ScrollOrRepaint(const Geometry& before, const Geometry& now) {
    const QRect data = now.layout.DataRegion().toAlignedRect();
    // Only whole device pixels move as they would be drawn.
    const double ratio = devicePixelRatioF();
    const double span = now.horizontal.maximum - now.horizontal.minimum;
    if (mode_ != Mode::Time || ratio != std::floor(ratio) || before.horizontal.step != now.horizontal.step ||
        before.horizontal.maximum - before.horizontal.minimum != span)
        return data;
    const QRectF plot = now.layout.Plot();
    const QRectF traces = plot.adjusted(-kTraceWidth, -kTraceWidth, kTraceWidth, kTraceWidth);
    const std::optional<ChartScroll> move =
        PlanScroll(plot, traces, now.layout.DataRegion(), plot.width() / span, before.horizontal.maximum,
                   now.horizontal.maximum, changedFrom_, kSampleReach);
    if (!move) return data;
    if (move->shift > 0) scroll(-move->shift, 0, move->moved);
    return move->repaint;
}

void StripChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Refresh();
}

void StripChart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    shownTime_ = time_.Now();
    Refresh();
    // Being shown paints everything: what changed while hidden needs no repaint of its own.
    FrameClock::Leave(*this);
    repaintDue_ = wholeChanged_ = legendChanged_ = false;
    changedFrom_ = kNothingChanged;
}

void StripChart::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    FrameClock::Leave(*this);
}

void StripChart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        texts_.SetFont(font());
        for (Label& label : labels_) label.captionWidth = -1.0;
        Refresh();
        update();
    } else if (event->type() == QEvent::PaletteChange) {
        update();
    }
}

// ---- painting ----

void StripChart::paintEvent(QPaintEvent* event) {
    const Geometry& g = Current();
    QPainter painter(this);
    // Where a window covers part of the chart, or only the plot's ends changed, the region
    // has several rectangles, and the painter clips a line to such a region pixel by pixel,
    // up to fifteen times slower than to one rectangle. Each rectangle is painted on its
    // own instead: the same pixels.
    if (event->region().rectCount() == 1) return PaintArea(painter, g, event->rect());
    for (const QRect& piece : event->region()) {
        painter.save();
        painter.setClipRect(piece);
        PaintArea(painter, g, piece);
        painter.restore();
    }
}

void StripChart::PaintArea(QPainter& painter, const Geometry& g, const QRect& area) {
    const QPalette& colours = palette();
    const QRectF plot = g.layout.Plot();
    FillAround(painter, area, plot, colours.color(QPalette::Window));
    painter.fillRect(plot, colours.color(QPalette::Base));

    PaintScales(painter, g, area);
    const double ratio = devicePixelRatioF();
    const QRectF frame(QPointF(PixelCentre(plot.left(), ratio), PixelCentre(plot.top(), ratio)),
                       QPointF(PixelCentre(plot.right(), ratio), PixelCentre(plot.bottom(), ratio)));
    painter.setPen(QPen(Mix(colours.color(QPalette::Base), colours.color(QPalette::Text), 0.45), 0));
    painter.drawRect(frame);

    // Traces over the frame, their full width kept where they run along an edge (a fan
    // curve at 100 %).
    const QRectF traceClip = plot.adjusted(-kTraceWidth, -kTraceWidth, kTraceWidth, kTraceWidth);
    if (area.intersects(traceClip.toAlignedRect())) {
        painter.save();
        painter.setClipRect(traceClip, Qt::IntersectClip);
        painter.setRenderHint(QPainter::Antialiasing);
        if (mode_ == Mode::Time)
            PaintTimeTraces(painter, g, area);
        else
            PaintPointTraces(painter, g);
        painter.restore();
    }

    if (area.intersects(g.layout.TitleBand().toAlignedRect())) PaintTitles(painter, g);
    if (area.intersects(g.layout.Legend().toAlignedRect())) PaintLegend(painter, g);
    PaintArrows(painter, g);
}

// Grid lines, tick marks and tick labels, each line on a device pixel's centre.
void StripChart::PaintScales(QPainter& painter, const Geometry& g, const QRect& dirty) {
    const QPalette& colours = palette();
    const double ratio = devicePixelRatioF();
    const QRectF plot = g.layout.Plot();
    const QColor grid = Mix(colours.color(QPalette::Base), colours.color(QPalette::Text), 0.12);
    const QColor tick = Mix(colours.color(QPalette::Window), colours.color(QPalette::WindowText), 0.45);
    const QColor text = colours.color(QPalette::WindowText);
    const double line = g.layout.LineHeight();
    const double tickLength = ChartLayout::kTickLength;

    // Value axes: the grid follows axis 0; axis 1 has its own ticks on the right.
    for (int axis = 0; axis < kAxisCount; ++axis) {
        if (!AxisInUse(axis)) continue;
        const AxisRange& range = g.value[axis];
        const LinearScale scale(range.minimum, range.maximum, plot.bottom(), plot.top());
        const bool labels =
            dirty.intersects(g.layout.ValueScale(axis).adjusted(0, -line, 0, line).toAlignedRect());
        const std::vector<QString>& texts = texts_.ValueLabels(axis, range).texts;
        for (int i = 0; i < range.TickCount(); ++i) {
            const double value = range.Tick(i);
            const double y = PixelCentre(scale.ToPixel(value), ratio);
            if (axis == 0 && y > plot.top() + 1 && y < plot.bottom() - 1) {
                painter.setPen(QPen(grid, 0));
                painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            }
            const double edge =
                axis == 0 ? PixelCentre(plot.left(), ratio) : PixelCentre(plot.right(), ratio);
            const double outwards = axis == 0 ? -tickLength : tickLength;
            painter.setPen(QPen(tick, 0));
            painter.drawLine(QPointF(edge, y), QPointF(edge + outwards, y));
            if (!labels) continue;
            painter.setPen(text);
            const QString& label = texts[static_cast<std::size_t>(i)];
            const double gap = tickLength + ChartLayout::kGap / 2;
            const QRectF box = axis == 0 ? QRectF(0, y - line / 2, plot.left() - gap, line)
                                         : QRectF(plot.right() + gap, y - line / 2, width(), line);
            if (!dirty.intersects(box.toAlignedRect().adjusted(-1, -1, 1, 1))) continue;
            painter.drawText(box, (axis == 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, label);
        }
    }

    // The horizontal scale: clock times or x values, labels kept clear of the arrow.
    const AxisRange& range = g.horizontal;
    const LinearScale scale(range.minimum, range.maximum, plot.left(), plot.right());
    const double span = range.maximum - range.minimum;
    const TimeToPixel time(plot.right(), range.maximum, span > 0.0 ? plot.width() / span : 0.0);
    const double labelTop = plot.bottom() + tickLength + 2;
    const double rightmost = g.layout.HorizontalArrow().left() - ChartLayout::kGap;
    for (int i = 0; i < range.TickCount(); ++i) {
        const double value = range.Tick(i);
        const double x = PixelCentre(mode_ == Mode::Time ? time(value) : scale.ToPixel(value), ratio);
        if (x > plot.left() + 1 && x < plot.right() - 1) {
            painter.setPen(QPen(grid, 0));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
        painter.setPen(QPen(tick, 0));
        const double bottom = PixelCentre(plot.bottom(), ratio);
        painter.drawLine(QPointF(x, bottom), QPointF(x, bottom + tickLength));
        const ChartTexts::Label& label = texts_.HorizontalLabel(value, range.step, mode_ == Mode::Time);
        const double half = label.width / 2;
        const QRectF box(x - half - 1, labelTop, 2 * half + 2, line);
        if (x - half < 0 || x + half > rightmost ||
            !dirty.intersects(box.toAlignedRect().adjusted(-1, -1, 1, 1)))
            continue;
        painter.setPen(text);
        painter.drawText(box, Qt::AlignCenter, label.text);
    }
}

// The traces' lines over `area`, drawn from the samples that reach into it.
void StripChart::PaintTimeTraces(QPainter& painter, const Geometry& g, const QRect& area) {
    const QRectF plot = g.layout.Plot();
    const double start = g.horizontal.minimum;
    const double span = g.horizontal.maximum - start;
    const TimeToPixel xScale(plot.right(), g.horizontal.maximum, span > 0.0 ? plot.width() / span : 0.0);
    const double perPixel = plot.width() > 0.0 ? span / plot.width() : 0.0;
    const double fromTime = start + (area.left() - kSampleReach - plot.left()) * perPixel;
    const double toTime = start + (area.right() + 1 + kSampleReach - plot.left()) * perPixel;
    for (int trace = 0; trace < kTraceCount; ++trace) {
        const TraceBuffer& buffer = samples_[trace];
        if (buffer.Empty()) continue;
        const AxisRange& range = g.value[traceAxis_[trace]];
        const PixelMap yScale(LinearScale(range.minimum, range.maximum, plot.bottom(), plot.top()));
        std::size_t shown = buffer.FirstAtOrAfter(g.horizontal.minimum);
        if (shown > 0) --shown;  // the line comes in from the left edge
        // Whether a trace is dense depends on all it shows, not on the area painted.
        const std::size_t count = buffer.Size() - shown;
        const bool dense = static_cast<double>(count) > kDenseSamplesPerPixel * plot.width() && span > 0.0;
        std::size_t first = std::max(shown, buffer.FirstAtOrAfter(fromTime));
        if (first > shown) --first;
        const std::size_t end = std::min(buffer.Size(), buffer.FirstAtOrAfter(toTime) + 1);

        polyline_.clear();
        QPen pen(ColourOf(trace), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
        pen.setCosmetic(true);
        painter.setPen(pen);
        // A dense trace keeps, per pixel column, its first, lowest, highest and last value.
        long column = std::numeric_limits<long>::min();
        double firstY = 0, lowY = 0, highY = 0, lastY = 0, columnX = 0;
        const auto flushColumn = [&] {
            if (column == std::numeric_limits<long>::min()) return;
            polyline_.emplace_back(columnX, firstY);
            if (lowY != firstY) polyline_.emplace_back(columnX, lowY);
            if (highY != lowY) polyline_.emplace_back(columnX, highY);
            if (lastY != highY) polyline_.emplace_back(columnX, lastY);
        };
        for (std::size_t i = first; i < end; ++i) {
            const ChartSample& sample = buffer[i];
            if (!std::isfinite(sample.value)) {  // a gap in the trace
                flushColumn();
                column = std::numeric_limits<long>::min();
                PaintPolyline(painter, trace);
                continue;
            }
            const double x = xScale(sample.key);
            const double y = yScale(sample.value);
            if (!dense) {
                polyline_.emplace_back(x, y);
                continue;
            }
            const long here = std::lround(x);
            if (here != column) {
                flushColumn();
                column = here;
                columnX = static_cast<double>(here);
                firstY = lowY = highY = lastY = y;
            } else {
                lowY = std::max(lowY, y);  // pixels grow downwards
                highY = std::min(highY, y);
                lastY = y;
            }
        }
        flushColumn();
        PaintPolyline(painter, trace);
    }
}

void StripChart::PaintPointTraces(QPainter& painter, const Geometry& g) {
    const QRectF plot = g.layout.Plot();
    const LinearScale xScale(g.horizontal.minimum, g.horizontal.maximum, plot.left(), plot.right());
    for (int trace = 0; trace < kTraceCount; ++trace) {
        const TraceBuffer& buffer = points_[trace];
        if (buffer.Empty()) continue;
        const AxisRange& range = g.value[traceAxis_[trace]];
        const LinearScale yScale(range.minimum, range.maximum, plot.bottom(), plot.top());
        polyline_.clear();
        for (std::size_t i = 0; i < buffer.Size(); ++i)
            polyline_.emplace_back(xScale.ToPixel(buffer[i].key), yScale.ToPixel(buffer[i].value));
        painter.setPen(QPen(ColourOf(trace), kTraceWidth + 0.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        PaintPolyline(painter, trace);
    }
}

// Draws and empties the collected points; a lone point is a dot, ringed in the plot's
// colour so that it stands out on a line of another trace.
void StripChart::PaintPolyline(QPainter& painter, int trace) {
    if (polyline_.size() == 1) {
        painter.save();
        painter.setPen(QPen(palette().color(QPalette::Base), 1.0));
        painter.setBrush(ColourOf(trace));
        painter.drawEllipse(polyline_.front(), kDotRadius + 0.5, kDotRadius + 0.5);
        painter.restore();
    } else if (polyline_.size() > 1) {
        painter.drawPolyline(polyline_.data(), static_cast<int>(polyline_.size()));
    }
    polyline_.clear();
}

void StripChart::PaintTitles(QPainter& painter, const Geometry& g) {
    const QRectF band = g.layout.TitleBand();
    const QRectF plot = g.layout.Plot();
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(palette().color(QPalette::WindowText));
    const Label& title = labels_[0];
    const double left = g.layout.ValueArrow(0).right() + ChartLayout::kGap;
    if (title.shown)
        painter.drawText(QRectF(left, band.top(), plot.right() - left, band.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, title.caption);
    const int second = axisTitleLabel_[1];
    if (second >= 0 && labels_[second].shown && AxisInUse(1)) {
        const double right = g.layout.ValueArrow(1).left() - ChartLayout::kGap;
        painter.drawText(QRectF(plot.left(), band.top(), right - plot.left(), band.height()),
                         Qt::AlignRight | Qt::AlignVCenter, labels_[second].caption);
    }
    painter.setFont(font());
}

void StripChart::PaintLegend(QPainter& painter, const Geometry& g) {
    const QRectF legend = g.layout.Legend();
    if (legend.width() <= 0) return;
    const double line = g.layout.LineHeight();
    const double textLeft = legend.left() + kSwatchLength + ChartLayout::kGap;
    const double textWidth = std::max(0.0, legend.right() - textLeft);
    const QColor text = palette().color(QPalette::WindowText);
    for (int label = 1; label < kLabelCount; ++label) {
        const Label& entry = labels_[label];
        if (!IsLegendEntry(label) || !entry.shown || entry.caption.isEmpty()) continue;
        const double y = LegendCentre(label);
        if (ValidTrace(entry.trace)) {
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.fillRect(QRectF(legend.left(), std::round(y) - 1, kSwatchLength, 3),
                             ColourOf(entry.trace));
        }
        painter.setPen(text);
        // A caption that fits is drawn as it is, without measuring it again to elide it.
        const QRectF box(textLeft, y - line / 2, textWidth, line);
        if (CaptionWidth(entry) <= textWidth)
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, entry.caption);
        else
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, texts_.Elided(entry.caption, textWidth));
    }
}

// Double-headed arrows at the scales' ends: the user drags them to zoom.
void StripChart::PaintArrows(QPainter& painter, const Geometry& g) {
    const QPalette& colours = palette();
    const QColor normal = Mix(colours.color(QPalette::Window), colours.color(QPalette::WindowText), 0.55);
    const QColor active = colours.color(QPalette::Highlight);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const auto colourOf = [&](Handle handle) {
        return (dragging_ == handle || (dragging_ == Handle::None && hovered_ == handle)) ? active : normal;
    };
    const auto paintPair = [&](const QRectF& box, bool horizontal, Handle handle) {
        const QPointF c = box.center();
        const double a = g.layout.ArrowSize();
        QPainterPath path;
        if (horizontal) {
            path.addPolygon(QPolygonF(
                {QPointF(box.left(), c.y()), QPointF(c.x() - 1, c.y() - a), QPointF(c.x() - 1, c.y() + a)}));
            path.addPolygon(QPolygonF(
                {QPointF(box.right(), c.y()), QPointF(c.x() + 1, c.y() - a), QPointF(c.x() + 1, c.y() + a)}));
        } else {
            path.addPolygon(QPolygonF(
                {QPointF(c.x(), box.top()), QPointF(c.x() - a, c.y() - 1), QPointF(c.x() + a, c.y() - 1)}));
            path.addPolygon(QPolygonF({QPointF(c.x(), box.bottom()), QPointF(c.x() - a, c.y() + 1),
                                       QPointF(c.x() + a, c.y() + 1)}));
        }
        painter.fillPath(path, colourOf(handle));
    };
    paintPair(g.layout.HorizontalArrow(), true, Handle::Horizontal);
    paintPair(g.layout.ValueArrow(0), false, Handle::Value0);
    if (AxisInUse(1)) paintPair(g.layout.ValueArrow(1), false, Handle::Value1);
}

// ---- zooming by the arrows ----

StripChart::Handle StripChart::HandleAt(QPointF position) const {
    const ChartLayout& layout = Current().layout;
    const auto near = [position](const QRectF& box) { return box.adjusted(-3, -3, 3, 3).contains(position); };
    if (near(layout.HorizontalArrow())) return Handle::Horizontal;
    if (near(layout.ValueArrow(0))) return Handle::Value0;
    if (AxisInUse(1) && near(layout.ValueArrow(1))) return Handle::Value1;
    return Handle::None;
}

ZoomExtent* StripChart::ExtentOf(Handle handle) {
    switch (handle) {
        case Handle::Horizontal: return mode_ == Mode::Time ? &zoom_.time : &zoom_.xSpan;
        case Handle::Value0: return &zoom_.valueFactor[0];
        case Handle::Value1: return &zoom_.valueFactor[1];
        case Handle::None: break;
    }
    return nullptr;
}

void StripChart::mousePressEvent(QMouseEvent* event) {
    const Handle handle = event->button() == Qt::LeftButton ? HandleAt(event->position()) : Handle::None;
    if (handle == Handle::None) return QWidget::mousePressEvent(event);
    dragging_ = handle;
    dragStart_ = event->position();
    dragStartValue_ = ExtentOf(handle)->Value();
    event->accept();
    update(Current().layout.TitleBand().united(Current().layout.HorizontalArrow()).toAlignedRect());
}

void StripChart::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ == Handle::None) {
        const Handle handle = HandleAt(event->position());
        if (handle != hovered_) {
            hovered_ = handle;
            if (handle == Handle::Horizontal)
                setCursor(Qt::SizeHorCursor);
            else if (handle != Handle::None)
                setCursor(Qt::SizeVerCursor);
            else
                unsetCursor();
            update();
        }
        return QWidget::mouseMoveEvent(event);
    }
    event->accept();
    const QRectF plot = Current().layout.Plot();
    const QPointF moved = event->position() - dragStart_;
    const bool horizontal = dragging_ == Handle::Horizontal;
    ZoomExtent* extent = ExtentOf(dragging_);
    const double value = horizontal ? extent->Dragged(dragStartValue_, moved.x(), plot.width())
                                    : extent->Dragged(dragStartValue_, -moved.y(), plot.height());
    if (!extent->Set(value)) return;
    Refresh();
    update();
}

void StripChart::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ == Handle::None || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    dragging_ = Handle::None;
    event->accept();
    update();
}

void StripChart::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (hovered_ == Handle::None || dragging_ != Handle::None) return;
    hovered_ = Handle::None;
    unsetCursor();
    update();
}

}  // namespace kestrum
