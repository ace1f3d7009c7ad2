#include "app/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>

#include "widgets/Brand.h"

namespace kestrum {

namespace {

const QColor kInk(40, 48, 60);
const QColor& kBlue = kBrandBlue;
const QColor& kLightBlue = kBrandLightBlue;
const QColor kGreen(46, 140, 70);
const QColor kRed(200, 50, 40);
const QColor kOrange(240, 140, 30);
const QColor kYellow(250, 205, 40);
const QColor kGrey(150, 156, 165);
const QColor kPaper(250, 250, 250);

QPen Pen(const QColor& colour, double width = 1.0) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawSave(QPainter& p) {
    p.setPen(Pen(kInk));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(kGrey);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
    p.fillRect(QRectF(9, 2.5, 1.5, 3), kInk);
}

void DrawFan(QPainter& p) {
    p.setPen(Pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setBrush(kLightBlue);
    for (int blade = 0; blade < 3; ++blade) {
        p.save();
        p.translate(8, 8);
        p.rotate(120.0 * blade);
        p.drawEllipse(QRectF(-2, -6, 4, 6));
        p.restore();
    }
    p.setBrush(kInk);
    p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
}

void DrawAxes(QPainter& p) {
    p.fillRect(QRectF(1, 1, 14, 14), kPaper);
    p.setPen(Pen(kInk));
    p.drawPolyline(QPolygonF({QPointF(2.5, 1.5), QPointF(2.5, 13.5), QPointF(14.5, 13.5)}));
}

void DrawGraphs(QPainter& p) {
    DrawAxes(p);
    p.setPen(Pen(kRed, 1.3));
    p.drawPolyline(
        QPolygonF({QPointF(3.5, 10), QPointF(6, 6), QPointF(9, 8.5), QPointF(11.5, 4), QPointF(14, 5)}));
    p.setPen(Pen(kBlue, 1.3));
    p.drawPolyline(QPolygonF({QPointF(3.5, 12), QPointF(7, 10.5), QPointF(10, 11), QPointF(14, 8.5)}));
}

void DrawRegisterMap(QPainter& p) {
    p.setPen(Pen(kInk));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.fillRect(QRectF(2, 3, 12, 3), kLightBlue);
    p.drawLine(QPointF(1.5, 6), QPointF(14.5, 6));
    p.drawLine(QPointF(1.5, 9.75), QPointF(14.5, 9.75));
    p.drawLine(QPointF(5.5, 2.5), QPointF(5.5, 13.5));
    p.drawLine(QPointF(10, 2.5), QPointF(10, 13.5));
}

void DrawSwitches(QPainter& p) {
    p.setPen(Pen(kInk));
    p.setBrush(kGreen);
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 7), 3.5, 3.5);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(11, 8), 2.5, 2.5);
}

void DrawGear(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kGrey.darker(130));
    p.translate(8, 8);
    for (int tooth = 0; tooth < 8; ++tooth) {
        p.drawRect(QRectF(-1.5, -7.5, 3, 4));
        p.rotate(45);
    }
    p.setPen(Pen(kInk));
    p.drawEllipse(QPointF(0, 0), 5, 5);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(0, 0), 2, 2);
}

void DrawChip(QPainter& p) {
    p.setPen(Pen(kGrey, 1.2));
    for (double y : {4.0, 7.0, 10.0, 13.0}) {
        p.drawLine(QPointF(1, y - 0.5), QPointF(4, y - 0.5));
        p.drawLine(QPointF(12, y - 0.5), QPointF(15, y - 0.5));
    }
    p.setPen(Pen(kInk));
    p.setBrush(QColor(60, 64, 72));
    p.drawRoundedRect(QRectF(3.5, 1.5, 9, 13), 1, 1);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(6, 4), 0.8, 0.8);
}

void DrawFlame(QPainter& p) {
    QPainterPath outer;
    outer.moveTo(8, 1);
    outer.cubicTo(11, 5, 14, 7, 13, 11);
    outer.cubicTo(12.5, 14, 10, 15, 8, 15);
    outer.cubicTo(6, 15, 3.5, 14, 3, 11);
    outer.cubicTo(2.5, 8, 5, 7, 6, 4);
    outer.cubicTo(7, 6, 7.5, 6, 8, 1);
    p.setPen(Pen(kRed.darker(120)));
    p.setBrush(kOrange);
    p.drawPath(outer);
    QPainterPath inner;
    inner.moveTo(8, 7);
    inner.cubicTo(10, 9.5, 11, 11, 10.5, 12.5);
    inner.cubicTo(10, 14, 6, 14, 5.5, 12.5);
    inner.cubicTo(5, 11, 7, 10, 8, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawPath(inner);
}

void DrawFanCurve(QPainter& p) {
    DrawAxes(p);
    p.setPen(Pen(kGreen, 1.5));
    p.drawPolyline(QPolygonF({QPointF(3.5, 11), QPointF(6.5, 11), QPointF(11, 4), QPointF(14, 4)}));
    p.setPen(Pen(kBlue));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(6.5, 11), 1, 1);
    p.drawEllipse(QPointF(11, 4), 1, 1);
}

void DrawAlert(QPainter& p) {
    p.setPen(Pen(kInk));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygonF({QPointF(8, 1.5), QPointF(15, 14.5), QPointF(1, 14.5)}));
    p.setPen(Pen(kInk, 1.8));
    p.drawLine(QPointF(8, 6), QPointF(8, 10));
    p.drawPoint(QPointF(8, 12.5));
}

using Painter = void (*)(QPainter&);

// In button order: Save, FanConfig, Graphs, RegMap, Switches, GeneralConfig, GPIO,
// Heaters, AutoControl, Alerts.
constexpr std::array<Painter, kToolbarIconCount> kPainters{
    DrawSave, DrawFan,  DrawGraphs, DrawRegisterMap, DrawSwitches,
    DrawGear, DrawChip, DrawFlame,  DrawFanCurve,    DrawAlert,
};

}  // namespace

QPixmap ToolbarIcon(int index) {
    QPixmap icon(kToolbarIconSize, kToolbarIconSize);
    icon.fill(Qt::transparent);
    if (index < 0 || index >= kToolbarIconCount) return icon;
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    kPainters[index](painter);
    return icon;
}

QPixmap ProgramPicture() {
    QPixmap picture(kProgramPictureSize, kProgramPictureSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 80, 50), 2));
    p.setBrush(QColor(40, 120, 70));
    p.drawRoundedRect(QRectF(4, 4, 88, 88), 8, 8);
    p.setPen(QPen(QColor(200, 200, 205), 2.5));
    for (int i = 0; i < 5; ++i) {
        const double at = 30 + 9 * i;
        p.drawLine(QPointF(at, 18), QPointF(at, 26));
        p.drawLine(QPointF(at, 70), QPointF(at, 78));
        p.drawLine(QPointF(18, at), QPointF(26, at));
        p.drawLine(QPointF(70, at), QPointF(78, at));
    }
    p.setPen(QPen(QColor(20, 20, 24), 1));
    p.setBrush(QColor(45, 48, 56));
    p.drawRoundedRect(QRectF(25, 25, 46, 46), 3, 3);
    p.setPen(QPen(QColor(200, 200, 205), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(48, 48), 15, 15);
    p.setBrush(kLightBlue);
    for (int blade = 0; blade < 4; ++blade) {
        p.save();
        p.translate(48, 48);
        p.rotate(90.0 * blade + 20);
        QPainterPath path;
        path.moveTo(0, 0);
        path.cubicTo(6, -4, 6, -12, 0, -13);
        path.cubicTo(-3, -10, -3, -4, 0, 0);
        p.drawPath(path);
        p.restore();
    }
    p.setBrush(QColor(200, 200, 205));
    p.drawEllipse(QPointF(48, 48), 3, 3);
    return picture;
}

}  // namespace kestrum
