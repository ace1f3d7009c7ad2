#include "platform/I2cDevSmbus.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
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

size_t OpenDescriptorCount() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

TEST(I2cDevSmbus, ARegularFileOrDevNullIsRefusedAsNoI2cAdapterAndClosed) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("not-a-bus").toStdString();
    std::ofstream(file) << "x";

    const size_t descriptorsBefore = OpenDescriptorCount();
    for (const std::string& path : {file, std::string("/dev/null")}) {
        std::string why;
        EXPECT_EQ(I2cDevSmbus::Open(path, why), nullptr) << path;
        EXPECT_EQ(why, path + " is not an i2c adapter");
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore) << "a refused device is closed again";
}

}  // namespace
}  // namespace kestrum
