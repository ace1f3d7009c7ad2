#pragma once
// Pictures that rendering tests make for a person to look at: written to the folder named
// by KESTRUM_TEST_PICTURES when it is set (for example /tmp), so a plain run leaves none.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>

namespace kestrum::test {

inline void KeepPicture(const QImage& image, const QString& name) {
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    const QString folder = qEnvironmentVariable("KESTRUM_TEST_PICTURES");
    if (folder.isEmpty()) return;
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(image.save(path)) << path.toStdString();
}

}  // namespace kestrum::test
