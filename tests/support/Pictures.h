#pragma once
// Pictures that rendering tests make: checked by their pixels' colours, and written for a
// person to look at to the folder named by KESTRUM_TEST_PICTURES when it is set (for
// example /tmp), so a plain run leaves none.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>
#include <cmath>
#include <cstdlib>

namespace kestrum::test {

inline void KeepPicture(const QImage& image, const QString& name) {
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    const QString folder = qEnvironmentVariable("KESTRUM_TEST_PICTURES");
    if (folder.isEmpty()) return;
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(image.save(path)) << path.toStdString();
}

// The colours differ by at most `tolerance`, summed over red, green and blue.
inline bool Near(const QColor& pixel, const QColor& colour, int tolerance) {
    return std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
               std::abs(pixel.blue() - colour.blue()) <=
           tolerance;
}

// Pixels of the picture within `tolerance` of the colour.
inline int PixelsOf(const QImage& image, const QColor& colour, int tolerance = 24) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Near(image.pixelColor(x, y), colour, tolerance)) ++count;
    return count;
}

// How much of the pixel an antialiased line of the colour covers, drawn over the
// background: from 0 to 1, or -1 when the pixel is no mix of the two.
inline double Coverage(const QColor& pixel, const QColor& colour, const QColor& background) {
    const int p[] = {pixel.red(), pixel.green(), pixel.blue()};
    const int c[] = {colour.red(), colour.green(), colour.blue()};
    const int b[] = {background.red(), background.green(), background.blue()};
    double along = 0.0;
    double length = 0.0;
    for (int i = 0; i < 3; ++i) {
        along += (p[i] - b[i]) * (c[i] - b[i]);
        length += (c[i] - b[i]) * (c[i] - b[i]);
    }
    const double share = length > 0.0 ? along / length : 0.0;
    for (int i = 0; i < 3; ++i)
        if (std::abs(b[i] + share * (c[i] - b[i]) - p[i]) > 8.0) return -1.0;
    return share;
}

}  // namespace kestrum::test
