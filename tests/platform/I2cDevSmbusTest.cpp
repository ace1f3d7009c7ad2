#include "platform/I2cDevSmbus.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <string>

namespace kestrum {
namespace {

TEST(I2cDevSmbus, AnAbsentDeviceCannotBeOpenedAndSaysWhy) {
    std::string why;
    EXPECT_EQ(I2cDevSmbus::Open("/dev/i2c-does-not-exist", why), nullptr);
    EXPECT_NE(why.find("/dev/i2c-does-not-exist"), std::string::npos);
    EXPECT_NE(why.find("i2c-dev"), std::string::npos);
}

TEST(I2cDevSmbus, ADeviceWithoutPermissionNamesTheGroup) {
    if (geteuid() == 0) GTEST_SKIP() << "root may open any file";
    QTemporaryDir dir;
    const std::string path = dir.filePath("i2c-9").toStdString();
    std::ofstream(path) << "";
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    std::string why;
    EXPECT_EQ(I2cDevSmbus::Open(path, why), nullptr);
    EXPECT_NE(why.find("group i2c"), std::string::npos) << why;
}

TEST(I2cDevSmbus, FailedTransfersReadAsAnEmptyBus) {
    // A plain file opens but refuses the bus ioctls, as a bus with nothing on it would.
    QTemporaryDir dir;
    const std::string path = dir.filePath("not-a-bus").toStdString();
    std::ofstream(path) << "x";
    std::string why;
    auto bus = I2cDevSmbus::Open(path, why);
    ASSERT_NE(bus, nullptr) << why;
    bus->DetectSmbus(0);
    EXPECT_EQ(bus->ReadSmbus(0x2E, 0x3E), 0xFF);
    bus->WriteSmbus(0x2E, 0x01, 0x05);  // lost without a word
    EXPECT_EQ(bus->ReadSmbus(0x2E, 0x01), 0xFF);
}

}  // namespace
}  // namespace kestrum
