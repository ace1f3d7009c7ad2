#include "widgets/instruments/Lamp.h"

#include <QPainter>
#include <QRadialGradient>
#include <QStyleOption>
#include <algorithm>
#include <cmath>

namespace kestrum {
namespace {

const QColor kAlarm(214, 36, 36);
const QColor kGood(36, 168, 64);

}  // namespace

Lamp::Lamp(QWidget* parent) : QWidget(parent) { setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); }

void Lamp::SetValue(bool value) {
    if (value == value_) return;
    value_ = value;
    update();
}

// As tall as a line of text, so a lamp sits level with its row's label and check box.
QSize Lamp::sizeHint() const {
    const int side = std::max(12, fontMetrics().height());
    return QSize(side, side);
}

QSize Lamp::minimumSizeHint() const { return QSize(8, 8); }

void Lamp::paintEvent(QPaintEvent*) {
    if (!isEnabled()) return;
    QStyleOption option;
    option.initFrom(this);

    const double side = std::floor(std::min(width(), height())) - 2.0;
    if (side < 4.0) return;
    const QRectF socket(QPointF((width() - side) / 2.0, (height() - side) / 2.0), QSizeF(side, side));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    // A sunken rim: shade above left, light below right, from the widget's palette.
    QLinearGradient rim(socket.topLeft(), socket.bottomRight());
    rim.setColorAt(0.0, option.palette.color(QPalette::Dark));
    rim.setColorAt(1.0, option.palette.color(QPalette::Light));
    painter.setPen(Qt::NoPen);
    painter.setBrush(rim);
    painter.drawEllipse(socket);

    // The lens, lit from above left.
    const QColor colour = value_ ? kAlarm : kGood;
    const double rimWidth = std::max(1.0, side / 12.0);
    const QRectF lens = socket.adjusted(rimWidth, rimWidth, -rimWidth, -rimWidth);
    QRadialGradient light(lens.center(), lens.width() / 2.0,
                          lens.center() - QPointF(lens.width() / 5.0, lens.height() / 5.0));
    light.setColorAt(0.0, colour.lighter(165));
    light.setColorAt(0.55, colour);
    light.setColorAt(1.0, colour.darker(150));
    painter.setPen(QPen(colour.darker(200), 0.8));
    painter.setBrush(light);
    painter.drawEllipse(lens);

    // A small glint.
    const QRectF glint(lens.left() + lens.width() * 0.22, lens.top() + lens.height() * 0.14,
                       lens.width() * 0.36, lens.height() * 0.26);
    QRadialGradient shine(glint.center(), glint.width() / 2.0);
    shine.setColorAt(0.0, QColor(255, 255, 255, 170));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawEllipse(glint);
}

}  // namespace kestrum
