// Pictures of the instruments as a window shows them, for a reviewer's eye: each is
// written to the test's folder and copied to /tmp.

#include <gtest/gtest.h>

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "support/Fixture.h"
#include "support/Pictures.h"
#include "widgets/instruments/Lamp.h"
#include "widgets/instruments/LinearGauge.h"
#include "widgets/instruments/Slider.h"

namespace kestrum {
namespace {

class InstrumentPictures : public test::KestrumTest {
protected:
    // Saves the picture in the test's folder and beside the others in /tmp.
    void Save(QWidget& widget, const QString& name) {
        widget.adjustSize();
        test::KeepPicture(widget.grab().toImage(), name);
    }
};

TEST_F(InstrumentPictures, LampsGaugeAndSliders) {
    QWidget lamps;
    auto* lampRows = new QVBoxLayout(&lamps);
    const struct {
        const char* label;
        bool value;
        bool enabled;
    } rows[] = {{"Alarm", true, true}, {"Good", false, true}, {"Disabled", true, false}};
    for (const auto& row : rows) {
        auto* line = new QHBoxLayout;
        line->addWidget(new QLabel(QString::fromLatin1(row.label)));
        auto* lamp = new Lamp;
        lamp->SetValue(row.value);
        lamp->setEnabled(row.enabled);
        line->addWidget(lamp);
        lampRows->addLayout(line);
    }
    Save(lamps, QStringLiteral("instrument-lamps.png"));

    LinearGauge gauge;
    gauge.SetScale(-64.0, 191.0);
    gauge.SetNeedleValue(0, 0.0);
    gauge.SetNeedleValue(1, 45.25);
    gauge.SetMarkerValue(2, 10.0);
    gauge.SetMarkerValue(3, 85.0);
    gauge.SetCaption(QStringLiteral("45.25°C"));
    gauge.resize(gauge.sizeHint());
    Save(gauge, QStringLiteral("instrument-gauge.png"));

    QWidget sliders;
    auto* sliderRow = new QHBoxLayout(&sliders);
    for (const double value : {0.0, 37.5, 100.0}) {
        auto* column = new QVBoxLayout;
        auto* slider = new Slider;
        slider->SetValue(value);
        column->addWidget(slider, 0, Qt::AlignHCenter);
        column->addWidget(new QLabel(QString::number(value)), 0, Qt::AlignHCenter);
        sliderRow->addLayout(column);
    }
    auto* horizontal = new Slider(Qt::Horizontal);
    horizontal->SetValue(62.5);
    sliderRow->addWidget(horizontal, 0, Qt::AlignVCenter);
    Save(sliders, QStringLiteral("instrument-sliders.png"));
}

}  // namespace
}  // namespace kestrum
