#include "app/Backends.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "sim/SimulatedBoard.h"

namespace kestrum {
namespace {

struct Environment {
    std::map<std::string, std::string> values;
    const char* operator()(const char* name) const {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : found->second.c_str();
    }
};

TEST(Backends, NothingChosenMeansBothLibrariesAreAbsent) {
    std::ostringstream errors;
    auto installed = InstallBackendsFromEnvironment(Environment{}, errors);
    EXPECT_EQ(InstalledUsbBackend(), nullptr);
    EXPECT_EQ(InstalledSmbusBackend(), nullptr);
    EXPECT_THROW(ReadSmbus(0, 0), LibraryNotFound);
    EXPECT_THROW(LoadFirmWare("x"), LibraryNotFound);
    EXPECT_TRUE(errors.str().empty());
}

TEST(Backends, SimulateInstallsTheBoardBehindTheAdapterOnly) {
    std::ostringstream errors;
    {
        auto installed = InstallBackendsFromEnvironment(Environment{{{"KESTRUM_SIMULATE", "1"}}}, errors);
        EXPECT_NE(dynamic_cast<sim::SimulatedBoard*>(InstalledUsbBackend()), nullptr);
        EXPECT_EQ(InstalledSmbusBackend(), nullptr);
    }
    EXPECT_EQ(InstalledUsbBackend(), nullptr) << "uninstalled with its owner";

    auto other = InstallBackendsFromEnvironment(Environment{{{"KESTRUM_SIMULATE", "0"}}}, errors);
    EXPECT_EQ(InstalledUsbBackend(), nullptr);
}

TEST(Backends, AnI2cDeviceThatCannotBeOpenedOrIsNoAdapterIsReported) {
    for (const char* device : {"/dev/i2c-does-not-exist", "/dev/null"}) {
        std::ostringstream errors;
        auto installed =
            InstallBackendsFromEnvironment(Environment{{{"KESTRUM_SMBUS_DEVICE", device}}}, errors);
        EXPECT_EQ(InstalledSmbusBackend(), nullptr) << device;
        EXPECT_EQ(errors.str().rfind("kestrum-eval: PC SMBus link not available: ", 0), 0u) << errors.str();
        EXPECT_NE(errors.str().find(device), std::string::npos) << errors.str();
    }
}

}  // namespace
}  // namespace kestrum
