#include "widgets/instruments/LinearGauge.h"

#include <qdrawutil.h>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

namespace kestrum {
namespace {

// Limit colours that read on light and dark palettes alike.
const QColor kLowColour(224, 140, 0);
const QColor kHighColour(204, 41, 41);

QString LabelText(double value, int decimals) {
    // Rounding to the shown decimals must not leave a "-0".
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;
    return QString::number(value, 'f', decimals);
}

// A 1-pixel line lands on one row of device pixels only when drawn through its centre.
double Crisp(double y) { return std::floor(y) + 0.5; }

}  // namespace

LinearGauge::LinearGauge(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // the cursor shows what a press would grab
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

void LinearGauge::SetScale(double minimum, double maximum) {
    if (minimum == minimum_ && maximum == maximum_) return;
    if (IsDragging()) FinishDrag(false);
    minimum_ = minimum;
    maximum_ = maximum;
    for (Marker& marker : markers_) marker.value = ClampToScale(marker.value);
    updateGeometry();  // the labels' width may change
    update();
}

void LinearGauge::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update(Geometry().Caption().toAlignedRect());
    if (fontMetrics().horizontalAdvance(caption_) > width()) updateGeometry();
}

void LinearGauge::SetNeedleValue(int needle, double value) {
    if (needle < 0 || needle > 1 || needles_[needle] == value) return;
    needles_[needle] = value;
    update();
}

double LinearGauge::needleValue(int needle) const {
    return needle == 0 || needle == 1 ? needles_[needle] : 0.0;
}

LinearGauge::Marker* LinearGauge::FindMarker(int marker) {
    return marker == kLowMarker || marker == kHighMarker ? &markers_[marker - kLowMarker] : nullptr;
}

const LinearGauge::Marker* LinearGauge::FindMarker(int marker) const {
    return marker == kLowMarker || marker == kHighMarker ? &markers_[marker - kLowMarker] : nullptr;
}

void LinearGauge::SetMarkerValue(int marker, double value) {
    Marker* m = FindMarker(marker);
    if (m == nullptr) return;
    // Code wins over a drag in progress, which then ends unreported.
    if (drag_.marker == marker) drag_ = Drag{};
    m->value = ClampToScale(value);
    update();
}

double LinearGauge::markerValue(int marker) const {
    const Marker* m = FindMarker(marker);
    return m == nullptr ? 0.0 : m->value;
}

void LinearGauge::SetMarkerVisible(int marker, bool visible) {
    Marker* m = FindMarker(marker);
    if (m == nullptr || m->visible == visible) return;
    if (!visible && drag_.marker == marker) drag_ = Drag{};
    m->visible = visible;
    SelectVisibleMarker();
    update();
}

bool LinearGauge::IsMarkerVisible(int marker) const {
    const Marker* m = FindMarker(marker);
    return m != nullptr && m->visible;
}

void LinearGauge::SelectVisibleMarker() {
    if (IsMarkerVisible(selected_)) return;
    const int other = selected_ == kLowMarker ? kHighMarker : kLowMarker;
    if (IsMarkerVisible(other)) selected_ = other;
}

void LinearGauge::moveMarkerAsUser(int marker, double value) {
    Marker* m = FindMarker(marker);
    if (m == nullptr || !m->visible) return;
    if (IsDragging()) FinishDrag(true);
    m->value = ClampToScale(value);
    selected_ = marker;
    update();
    emit markerMoved(marker);
}

double LinearGauge::ClampToScale(double value) const {
    return LinearScale(minimum_, maximum_, 0.0, 1.0).Clamp(value);
}

// Kept while the scale, the height and the font stay: a caption refreshed twice a second
// formats and measures no scale label.
GaugeTextMetrics LinearGauge::TextMetrics() const {
    TextCache& cache = textCache_;
    if (cache.valid && cache.minimum == minimum_ && cache.maximum == maximum_ && cache.height == height())
        return cache.metrics;
    const QFontMetricsF metrics(font());
    GaugeTextMetrics text;
    text.height = metrics.height();
    // The end values, with the decimals the labels have at this height, bound every label.
    const double height = std::max(static_cast<double>(this->height()), 4.0 * text.height);
    const int decimals = GaugeGeometry(minimum_, maximum_, QRectF(0, 0, 100, height), text).LabelDecimals();
    text.labelWidth = std::max({metrics.horizontalAdvance(LabelText(minimum_, decimals)),
                                metrics.horizontalAdvance(LabelText(maximum_, decimals)),
                                metrics.horizontalAdvance(QStringLiteral("0"))});
    text.labelWidth = std::ceil(text.labelWidth);
    cache = {true, minimum_, maximum_, this->height(), text};
    return text;
}

GaugeGeometry LinearGauge::Geometry() const {
    return GaugeGeometry(minimum_, maximum_, QRectF(rect()), TextMetrics());
}

std::vector<GaugeMarkerState> LinearGauge::MarkerStates() const {
    return {{kLowMarker, markers_[0].value, markers_[0].visible},
            {kHighMarker, markers_[1].value, markers_[1].visible}};
}

QSize LinearGauge::sizeHint() const {
    const GaugeTextMetrics text = TextMetrics();
    const double captionWidth = QFontMetricsF(font()).horizontalAdvance(caption_) + 8.0;
    const double width = std::max(GaugeGeometry::ContentWidth(text), captionWidth);
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(16.0 * text.height)));
}

QSize LinearGauge::minimumSizeHint() const {
    const GaugeTextMetrics text = TextMetrics();
    const double height = GaugeGeometry::MinimumTrackLength(text) + 3.0 * text.height;
    return QSize(static_cast<int>(std::ceil(GaugeGeometry::ContentWidth(text))),
                 static_cast<int>(std::ceil(height)));
}

void LinearGauge::PaintScale(QPainter& painter, const GaugeGeometry& geometry,
                             const QPalette& palette) const {
    const QRectF track = geometry.Track();
    qDrawShadePanel(&painter, track.toAlignedRect(), palette, true, 1, &palette.brush(QPalette::Base));
    if (geometry.IsEmpty()) return;

    painter.setPen(QPen(palette.color(QPalette::WindowText), 1.0));
    const int decimals = geometry.LabelDecimals();
    const double textHeight = QFontMetricsF(font()).height();
    const double right = geometry.TickRight();
    for (const GaugeTick& tick : geometry.Ticks()) {
        const double y = Crisp(geometry.ToPixel(tick.value));
        const double length = tick.major ? geometry.MajorTickLength() : geometry.MajorTickLength() / 2.0;
        painter.drawLine(QPointF(right - length, y), QPointF(right, y));
        if (!tick.major) continue;
        const QRectF box(0.0, y - textHeight / 2.0, geometry.LabelRight(), textHeight);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, LabelText(tick.value, decimals));
    }
    // The scale's spine joins the ticks.
    const double spineX = right + 0.5;
    painter.drawLine(QPointF(spineX, Crisp(geometry.ToPixel(maximum_))),
                     QPointF(spineX, Crisp(geometry.ToPixel(minimum_))));
}

void LinearGauge::PaintPointers(QPainter& painter, const GaugeGeometry& geometry,
                                const QPalette& palette) const {
    const QRectF inner = geometry.Track().adjusted(1.0, 1.0, -1.0, -1.0);
    const QColor highlight = palette.color(QPalette::Highlight);
    const QColor text = palette.color(QPalette::WindowText);

    // Needle 1, the live reading, also fills the track from the scale's minimum.
    const double readingY = geometry.ToPixel(geometry.Clamp(needles_[1]));
    const double baseY = geometry.ToPixel(minimum_);
    QColor fill = highlight;
    fill.setAlpha(110);
    painter.fillRect(QRectF(QPointF(inner.left(), std::min(readingY, baseY)),
                            QPointF(inner.right(), std::max(readingY, baseY))),
                     fill);

    // Each limit's line across the track, then its handle.
    for (int marker : {kLowMarker, kHighMarker}) {
        const Marker& m = markers_[marker - kLowMarker];
        if (!m.visible) continue;
        const QColor colour = marker == kLowMarker ? kLowColour : kHighColour;
        painter.setPen(QPen(colour, 1.0));
        const double y = Crisp(geometry.ToPixel(m.value));
        painter.drawLine(QPointF(inner.left(), y), QPointF(inner.right(), y));
    }
    const QPen readingPen(highlight.darker(130), 2.0);
    painter.setPen(readingPen);
    painter.drawLine(QPointF(inner.left(), readingY), QPointF(inner.right(), readingY));

    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int marker : {kLowMarker, kHighMarker}) {
        const Marker& m = markers_[marker - kLowMarker];
        if (!m.visible) continue;
        QColor colour = marker == kLowMarker ? kLowColour : kHighColour;
        const bool active = hasFocus() && marker == selected_;
        if (drag_.marker == marker) colour = colour.lighter(125);
        painter.setPen(QPen(active ? text : colour.darker(160), active ? 1.5 : 1.0));
        painter.setBrush(colour);
        painter.drawPolygon(geometry.MarkerShape(m.value));
    }
    // Needle 0 hollow, needle 1 solid: the reading stands out.
    painter.setPen(QPen(text, 1.0));
    painter.setBrush(palette.brush(QPalette::Base));
    painter.drawPolygon(geometry.NeedleShape(needles_[0]));
    painter.setPen(QPen(highlight.darker(150), 1.0));
    painter.setBrush(highlight);
    painter.drawPolygon(geometry.NeedleShape(needles_[1]));
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void LinearGauge::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    const QPalette& palette = option.palette;
    const GaugeGeometry geometry = Geometry();

    PaintScale(painter, geometry, palette);
    if (!geometry.IsEmpty()) PaintPointers(painter, geometry, palette);

    painter.setPen(palette.color(QPalette::WindowText));
    const QRectF caption = geometry.Caption();
    painter.drawText(caption, Qt::AlignHCenter | Qt::AlignVCenter,
                     QFontMetrics(font()).elidedText(caption_, Qt::ElideRight, caption.toRect().width()));

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.backgroundColor = palette.color(QPalette::Window);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void LinearGauge::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const GaugeGeometry geometry = Geometry();
    const int marker = geometry.MarkerAt(event->position(), MarkerStates());
    if (marker == GaugeGeometry::kNoMarker) return QWidget::mousePressEvent(event);
    const Marker& m = markers_[marker - kLowMarker];
    drag_ = Drag{marker, geometry.ToPixel(m.value) - event->position().y(), m.value};
    selected_ = marker;
    event->accept();
    update();
}

void LinearGauge::mouseMoveEvent(QMouseEvent* event) {
    if (!IsDragging()) {
        const bool over = Geometry().MarkerAt(event->position(), MarkerStates()) != GaugeGeometry::kNoMarker;
        if (over)
            setCursor(Qt::SizeVerCursor);
        else
            unsetCursor();
        return QWidget::mouseMoveEvent(event);
    }
    const double value = Geometry().ValueAt(event->position().y() + drag_.grabOffset);
    Marker& m = markers_[drag_.marker - kLowMarker];
    if (value != m.value) {
        m.value = value;
        update();
    }
    event->accept();
}

void LinearGauge::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !IsDragging()) return QWidget::mouseReleaseEvent(event);
    event->accept();
    FinishDrag(true);
}

void LinearGauge::FinishDrag(bool keep) {
    const Drag drag = drag_;
    drag_ = Drag{};
    if (drag.marker == GaugeGeometry::kNoMarker) return;
    Marker& m = markers_[drag.marker - kLowMarker];
    update();
    if (!keep) {
        m.value = ClampToScale(drag.startValue);
        return;
    }
    if (m.value != drag.startValue) emit markerMoved(drag.marker);
}

void LinearGauge::keyPressEvent(QKeyEvent* event) {
    int steps = 0;
    switch (event->key()) {
        case Qt::Key_Up: steps = 1; break;
        case Qt::Key_Down: steps = -1; break;
        case Qt::Key_PageUp: steps = 10; break;
        case Qt::Key_PageDown: steps = -10; break;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const int wanted = event->key() == Qt::Key_Left ? kLowMarker : kHighMarker;
            if (IsMarkerVisible(wanted) && !IsDragging()) selected_ = wanted;
            update();
            return event->accept();
        }
        case Qt::Key_Escape:
            if (!IsDragging()) return QWidget::keyPressEvent(event);
            FinishDrag(false);
            return event->accept();
        default: return QWidget::keyPressEvent(event);
    }
    event->accept();
    Marker* m = FindMarker(selected_);
    const GaugeGeometry geometry = Geometry();
    if (IsDragging() || m == nullptr || !m->visible || geometry.IsEmpty()) return;
    const double value = geometry.Stepped(m->value, steps);
    if (value == m->value) return;  // already at the end of the scale
    m->value = value;
    update();
    emit markerMoved(selected_);
}

bool LinearGauge::event(QEvent* event) {
    // A drag cut short by a lost grab still counts: the marker stays where the user left it.
    if (event->type() == QEvent::UngrabMouse && IsDragging()) FinishDrag(true);
    return QWidget::event(event);
}

void LinearGauge::focusOutEvent(QFocusEvent* event) {
    if (IsDragging() && event->reason() != Qt::MouseFocusReason) FinishDrag(true);
    QWidget::focusOutEvent(event);
}

void LinearGauge::hideEvent(QHideEvent* event) {
    if (IsDragging()) FinishDrag(true);
    QWidget::hideEvent(event);
}

void LinearGauge::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled() && IsDragging()) FinishDrag(true);
    if (event->type() == QEvent::FontChange) {
        textCache_.valid = false;
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

}  // namespace kestrum
