#include "widgets/instruments/Lamp.h"

#include <gtest/gtest.h>

#include <QImage>

namespace kestrum {
namespace {

QColor CentreColour(Lamp& lamp) {
    const QImage image = lamp.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2 + image.height() / 6);
}

TEST(Lamp, AnAlarmIsRedAllWellIsGreenAndADisabledLampIsAbsent) {
    Lamp lamp;
    lamp.resize(lamp.sizeHint());
    EXPECT_FALSE(lamp.property("value").toBool()) << "a new lamp shows all well";
    const QColor good = CentreColour(lamp);
    EXPECT_GT(good.green(), 2 * good.red());

    EXPECT_TRUE(lamp.setProperty("value", true));
    EXPECT_TRUE(lamp.Value());
    const QColor alarm = CentreColour(lamp);
    EXPECT_GT(alarm.red(), 2 * alarm.green());

    lamp.setEnabled(false);
    const QImage absent = lamp.grab().toImage();
    const QRgb background = absent.pixel(0, 0);
    for (int y = 0; y < absent.height(); ++y)
        for (int x = 0; x < absent.width(); ++x)
            ASSERT_EQ(absent.pixel(x, y), background) << "drawn at " << x << "," << y;
    EXPECT_TRUE(lamp.Value()) << "disabling keeps the value for when the row returns";
}

}  // namespace
}  // namespace kestrum
