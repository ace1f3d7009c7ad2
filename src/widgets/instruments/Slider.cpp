#include "widgets/instruments/Slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QStylePainter>
#include <QWheelEvent>

namespace kestrum {
namespace {

constexpr int kTickSpace = 5;     // as the toolkit's own slider leaves for its ticks
constexpr int kWheelNotch = 120;  // eighths of a degree per wheel notch
constexpr int kPreferredLength = 150;

}  // namespace

Slider::Slider(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), orientation_(orientation) {
    setFocusPolicy(Qt::FocusPolicy(style()->styleHint(QStyle::SH_Button_FocusPolicy) | Qt::WheelFocus));
    setAttribute(Qt::WA_Hover);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::Slider);
    if (orientation_ == Qt::Vertical) policy.transpose();
    setSizePolicy(policy);
}

void Slider::SetValue(double value) {
    const double clamped = SliderGeometry::Clamp(value);
    if (clamped == value_) return;
    value_ = clamped;
    update();
}

void Slider::moveAsUser(double value) {
    if (!isEnabled()) return;
    const double clamped = SliderGeometry::Clamp(value);
    if (clamped == value_) return;
    value_ = clamped;
    update();
    emit valueChanged(value_);
}

void Slider::InitStyleOption(QStyleOptionSlider& option) const {
    option.initFrom(this);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle | QStyle::SC_SliderTickmarks;
    option.orientation = orientation_;
    option.minimum = 0;
    option.maximum = SliderGeometry::kPositions;
    option.sliderPosition = SliderGeometry::ToPosition(value_);
    option.sliderValue = option.sliderPosition;
    option.singleStep = SliderGeometry::ToPosition(SliderGeometry::kKeyStep);
    option.pageStep = SliderGeometry::ToPosition(SliderGeometry::kPageStep);
    option.tickInterval = SliderGeometry::ToPosition(SliderGeometry::kPageStep);
    option.tickPosition = QSlider::TicksBothSides;
    // The toolkit's own convention: a vertical slider has its maximum at the top.
    option.upsideDown = orientation_ == Qt::Vertical;
    if (held_) {
        option.activeSubControls = QStyle::SC_SliderHandle;
        option.state |= QStyle::State_Sunken;
    } else if (underMouse() && HandleRect().contains(mapFromGlobal(QCursor::pos()))) {
        option.activeSubControls = QStyle::SC_SliderHandle;
    }
}

QRect Slider::HandleRect() const {
    QStyleOptionSlider option;
    option.initFrom(this);
    option.orientation = orientation_;
    option.maximum = SliderGeometry::kPositions;
    option.sliderPosition = SliderGeometry::ToPosition(value_);
    option.tickPosition = QSlider::TicksBothSides;
    option.upsideDown = orientation_ == Qt::Vertical;
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

SliderGeometry Slider::Geometry() const {
    QStyleOptionSlider option;
    InitStyleOption(option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    if (orientation_ == Qt::Vertical)
        return SliderGeometry(groove.top(), groove.bottom() - handle.height() + 1, true);
    return SliderGeometry(groove.left(), groove.right() - handle.width() + 1, false);
}

double Slider::AlongAxis(const QPointF& point) const {
    return orientation_ == Qt::Vertical ? point.y() : point.x();
}

QSize Slider::sizeHint() const {
    QStyleOptionSlider option;
    InitStyleOption(option);
    const int thickness = style()->pixelMetric(QStyle::PM_SliderThickness, &option, this) + 2 * kTickSpace;
    const QSize size = orientation_ == Qt::Vertical ? QSize(thickness, kPreferredLength)
                                                    : QSize(kPreferredLength, thickness);
    return style()->sizeFromContents(QStyle::CT_Slider, &option, size, this);
}

QSize Slider::minimumSizeHint() const {
    QStyleOptionSlider option;
    InitStyleOption(option);
    const int length = 4 * style()->pixelMetric(QStyle::PM_SliderLength, &option, this);
    const QSize hint = sizeHint();
    return orientation_ == Qt::Vertical ? QSize(hint.width(), length) : QSize(length, hint.height());
}

void Slider::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionSlider option;
    InitStyleOption(option);
    painter.drawComplexControl(QStyle::CC_Slider, option);
}

void Slider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || held_) return QWidget::mousePressEvent(event);
    event->accept();
    held_ = true;
    emit mouseDown();
    const QRect handle = HandleRect();
    const double along = AlongAxis(event->position());
    if (handle.contains(event->position().toPoint())) {
        grabOffset_ = along - AlongAxis(handle.topLeft());
    } else {
        // A click on the track brings the handle's middle under the pointer.
        grabOffset_ = (orientation_ == Qt::Vertical ? handle.height() : handle.width()) / 2.0;
        moveAsUser(Geometry().ValueAt(along - grabOffset_));
    }
    update();
}

void Slider::mouseMoveEvent(QMouseEvent* event) {
    if (!held_) {
        update();  // the handle's hover look
        return QWidget::mouseMoveEvent(event);
    }
    event->accept();
    moveAsUser(Geometry().ValueAt(AlongAxis(event->position()) - grabOffset_));
}

void Slider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !held_) return QWidget::mouseReleaseEvent(event);
    event->accept();
    EndPress();
}

void Slider::EndPress() {
    if (!held_) return;
    held_ = false;
    update();
    emit mouseUp();
}

void Slider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right: moveAsUser(SliderGeometry::Stepped(value_, 1)); break;
        case Qt::Key_Down:
        case Qt::Key_Left: moveAsUser(SliderGeometry::Stepped(value_, -1)); break;
        case Qt::Key_PageUp: moveAsUser(SliderGeometry::Stepped(value_, SliderGeometry::kPageStep)); break;
        case Qt::Key_PageDown: moveAsUser(SliderGeometry::Stepped(value_, -SliderGeometry::kPageStep)); break;
        case Qt::Key_Home: moveAsUser(SliderGeometry::kMinimum); break;
        case Qt::Key_End: moveAsUser(SliderGeometry::kMaximum); break;
        default: return QWidget::keyPressEvent(event);
    }
    event->accept();
}

void Slider::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    wheelRemainder_ += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    if (notches != 0) moveAsUser(SliderGeometry::Stepped(value_, notches));
    event->accept();
}

bool Slider::event(QEvent* event) {
    if (event->type() == QEvent::UngrabMouse) EndPress();
    return QWidget::event(event);
}

void Slider::focusOutEvent(QFocusEvent* event) {
    EndPress();
    QWidget::focusOutEvent(event);
}

void Slider::hideEvent(QHideEvent* event) {
    EndPress();
    QWidget::hideEvent(event);
}

void Slider::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) EndPress();
    QWidget::changeEvent(event);
}

}  // namespace kestrum
