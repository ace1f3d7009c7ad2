// The instruments as a window shows them: each picture is checked for what it shows (a
// lamp's colour, a pointer at its value's row, a slider filled up to its handle) and kept
// for a reviewer's eye when KESTRUM_TEST_PICTURES names a folder.

#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <functional>
#include <vector>

#include "support/Fixture.h"
#include "support/Pictures.h"
#include "widgets/instruments/Lamp.h"
#include "widgets/instruments/LinearGauge.h"
#include "widgets/instruments/Slider.h"

namespace kestrum {
namespace {

using ColourTest = std::function<bool(const QColor&)>;

class InstrumentPictures : public test::KestrumTest {
protected:
    // The widget laid out at its own size, its picture kept.
    static void Keep(QWidget& widget, const QString& name) {
        widget.adjustSize();
        test::KeepPicture(widget.grab().toImage(), name);
    }
    // The middle of the rows of column x whose pixels pass the test; -1 when none does.
    static double MiddleOfColumn(const QImage& image, int x, const ColourTest& test) {
        int first = -1;
        int last = -1;
        for (int y = 0; y < image.height(); ++y)
            if (test(image.pixelColor(x, y))) {
                if (first < 0) first = y;
                last = y;
            }
        return first < 0 ? -1.0 : (first + last) / 2.0;
    }
    static bool Blue(const QColor& c) { return c.blue() > c.red() + 60; }
};

TEST_F(InstrumentPictures, LampsShowRedForAnAlarmGreenForAllWellAndNothingWhenDisabled) {
    QWidget lamps;
    auto* rows = new QVBoxLayout(&lamps);
    std::vector<Lamp*> lamp;
    for (const char* label : {"Alarm", "Good", "Disabled"}) {
        auto* line = new QHBoxLayout;
        line->addWidget(new QLabel(QString::fromLatin1(label)));
        lamp.push_back(new Lamp);
        line->addWidget(lamp.back());
        rows->addLayout(line);
    }
    lamp[0]->SetValue(true);
    lamp[2]->SetValue(true);
    lamp[2]->setEnabled(false);
    Keep(lamps, QStringLiteral("instrument-lamps.png"));

    const QImage image = lamps.grab().toImage();
    // Below the glint, in the middle of the lens.
    const auto lens = [&](int i) {
        const QRect r = lamp[i]->geometry();
        return image.pixelColor(r.center() + QPoint(0, r.height() / 6));
    };
    EXPECT_GT(lens(0).red(), 2 * lens(0).green());
    EXPECT_GT(lens(1).green(), 2 * lens(1).red());
    EXPECT_EQ(lens(2), lamps.palette().color(QPalette::Window)) << "a disabled lamp is absent";
}

TEST_F(InstrumentPictures, TheGaugesPointersSitAtTheirValuesAndTheReadingFillsTheTrack) {
    LinearGauge gauge;
    gauge.SetScale(-64.0, 191.0);
    gauge.SetNeedleValue(0, 0.0);
    gauge.SetNeedleValue(1, 45.25);
    gauge.SetMarkerValue(2, 10.0);
    gauge.SetMarkerValue(3, 85.0);
    gauge.SetCaption(QStringLiteral("45.25°C"));
    gauge.resize(gauge.sizeHint());
    Keep(gauge, QStringLiteral("instrument-gauge.png"));

    const QImage image = gauge.grab().toImage();
    const GaugeGeometry geometry = gauge.Geometry();
    const QPalette& palette = gauge.palette();
    const auto lane = [&](const QPolygonF& shape) { return qRound(shape.boundingRect().center().x()); };
    const auto rowOf = [&](double value) { return geometry.ToPixel(value); };

    // Needle 1, the reading, solid in the highlight; needle 0 hollow.
    const QColor highlight = palette.color(QPalette::Highlight);
    const QColor base = palette.color(QPalette::Base);
    EXPECT_NEAR(MiddleOfColumn(image, lane(geometry.NeedleShape(45.25)),
                               [&](const QColor& c) { return test::Near(c, highlight, 12); }),
                rowOf(45.25), 1.0);
    EXPECT_NEAR(
        MiddleOfColumn(image, lane(geometry.NeedleShape(0.0)), [&](const QColor& c) { return c == base; }),
        rowOf(0.0), 1.0);
    // The low limit's marker orange, the high limit's red.
    const int markers = lane(geometry.MarkerShape(10.0));
    const auto saturated = [](const QColor& c, int from, int to) {
        return c.hsvSaturation() > 200 && c.hsvHue() >= from && c.hsvHue() <= to;
    };
    EXPECT_NEAR(MiddleOfColumn(image, markers, [&](const QColor& c) { return saturated(c, 25, 50); }),
                rowOf(10.0), 1.0);
    EXPECT_NEAR(MiddleOfColumn(image, markers, [&](const QColor& c) { return saturated(c, 0, 10); }),
                rowOf(85.0), 1.0);

    // The track is filled from its minimum up to the reading, and empty above it.
    const int track = qRound(geometry.Track().center().x());
    const auto trackAt = [&](double value) { return image.pixelColor(track, qRound(rowOf(value))); };
    EXPECT_TRUE(Blue(trackAt(-30.0)));
    EXPECT_EQ(trackAt(28.0), trackAt(-30.0));
    EXPECT_EQ(trackAt(65.0), base);
    EXPECT_EQ(trackAt(150.0), base);
}

TEST_F(InstrumentPictures, SlidersAreFilledUpToTheirHandles) {
    QWidget sliders;
    auto* row = new QHBoxLayout(&sliders);
    std::vector<Slider*> vertical;
    for (const double value : {0.0, 37.5, 100.0}) {
        auto* column = new QVBoxLayout;
        vertical.push_back(new Slider);
        vertical.back()->SetValue(value);
        column->addWidget(vertical.back(), 0, Qt::AlignHCenter);
        column->addWidget(new QLabel(QString::number(value)), 0, Qt::AlignHCenter);
        row->addLayout(column);
    }
    auto* horizontal = new Slider(Qt::Horizontal);
    horizontal->SetValue(62.5);
    row->addWidget(horizontal, 0, Qt::AlignVCenter);
    Keep(sliders, QStringLiteral("instrument-sliders.png"));

    // The groove is filled from the minimum (the bottom, the left) to the handle's middle.
    const auto filledTo = [](Slider& slider) {
        const QImage image = slider.grab().toImage();
        const QPoint middle = slider.rect().center();
        double end = -1.0;
        if (slider.width() > slider.height()) {
            for (int x = 0; x < image.width(); ++x)
                if (Blue(image.pixelColor(x, middle.y()))) end = x;
        } else {
            for (int y = image.height() - 1; y >= 0; --y)
                if (Blue(image.pixelColor(middle.x(), y))) end = y;
        }
        return end;
    };
    for (Slider* slider : {vertical[1], vertical[2], horizontal}) {
        const QRect handle = slider->HandleRect();
        const bool across = slider == horizontal;
        const double end = filledTo(*slider);
        EXPECT_GE(end, across ? handle.left() : handle.top()) << slider->Value();
        EXPECT_LE(end, across ? handle.right() : handle.bottom()) << slider->Value();
    }
    const QRect empty = vertical[0]->HandleRect();
    const double end = filledTo(*vertical[0]);
    EXPECT_TRUE(end < 0 || end >= empty.top()) << "nothing above the handle at 0";

    // 37.5 % of the way between the handles at 0 and 100.
    const double top = vertical[2]->HandleRect().center().y();
    const double bottom = vertical[0]->HandleRect().center().y();
    EXPECT_NEAR((bottom - vertical[1]->HandleRect().center().y()) / (bottom - top), 0.375, 0.02);
}

}  // namespace
}  // namespace kestrum
