#include "app/Backends.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/General.h"
#include "sim/SimulatedBoard.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

struct Environment {
    std::map<std::string, std::string> values;
    const char* operator()(const char* name) const {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : found->second.c_str();
    }
};

size_t LineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Backends, NothingChosenMeansBothLibrariesAreAbsentAndSaysHowToChoose) {
    const Environment nothingChosen[] = {
        Environment{},
        Environment{{{"KESTRUM_SIMULATE", "0"}, {"KESTRUM_SMBUS_DEVICE", ""}}},
    };
    for (const Environment& environment : nothingChosen) {
        std::ostringstream errors;
        auto installed = InstallBackendsFromEnvironment(environment, errors);
        EXPECT_EQ(InstalledUsbBackend(), nullptr);
        EXPECT_EQ(InstalledSmbusBackend(), nullptr);
        EXPECT_THROW(ReadSmbus(0, 0), LibraryNotFound);
        EXPECT_THROW(LoadFirmWare("x"), LibraryNotFound);

        const std::string text = errors.str();
        EXPECT_EQ(text.rfind("kestrum-eval: no link chosen", 0), 0u) << text;
        EXPECT_EQ(LineCount(text), 1u) << text;
        EXPECT_TRUE(text.ends_with('\n'));
        for (const char* hint : {"KESTRUM_SIMULATE=1", "simulated evaluation board",
                                 "KESTRUM_SMBUS_DEVICE=/dev/i2c-N", "i2cdetect -l"})
            EXPECT_NE(text.find(hint), std::string::npos) << hint;
    }
}

TEST(Backends, SimulateInstallsTheBoardBehindTheAdapterOnlyWithoutAWord) {
    std::ostringstream errors;
    {
        auto installed = InstallBackendsFromEnvironment(Environment{{{"KESTRUM_SIMULATE", "1"}}}, errors);
        EXPECT_NE(dynamic_cast<sim::SimulatedBoard*>(InstalledUsbBackend()), nullptr);
        EXPECT_EQ(InstalledSmbusBackend(), nullptr);
    }
    EXPECT_EQ(InstalledUsbBackend(), nullptr) << "uninstalled with its owner";
    EXPECT_EQ(errors.str(), "");

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
        EXPECT_EQ(LineCount(errors.str()), 1u) << "a bus was chosen: " << errors.str();
        EXPECT_NE(errors.str().find(device), std::string::npos) << errors.str();
    }
}

// Start-up as the program runs it, links chosen through the diagnostics it writes to
// standard error: when none can be had, the box that ends it repeats them.
class NoLinkTest : public test::KestrumTest {};

TEST_F(NoLinkTest, TheBoxKeepsItsTextAndItsDetailsSayWhatWasTriedAndWhatToDo) {
    const std::string firmware = "kestrum-eval: USB adapter not available: firmware file " +
                                 TempPath("KestrumFW.Hex") + " is missing\n";
    const std::pair<Environment, std::vector<std::string>> starts[] = {
        {Environment{}, {"kestrum-eval: no link chosen: "}},
        {Environment{{{"KESTRUM_SIMULATE", "1"}, {"KESTRUM_SMBUS_DEVICE", "/dev/i2c-does-not-exist"}}},
         {"kestrum-eval: PC SMBus link not available: ", firmware}},
    };
    for (const auto& [environment, reasons] : starts) {
        InstallSeams({&messages, &fileDialogs, &clock, &programEnd, &shell, &diagnostics});
        diagnostics.str("");
        messages.shown.clear();
        programEnd.exits.clear();
        InstallUsbBackend(nullptr);
        auto installed = InstallBackendsFromEnvironment(environment, Diagnostics());
        EXPECT_THROW(ProbeLinks(), ProgramEnded);
        ExpectFatalEnd("USB/SMBus Hardware not detected");
        ASSERT_FALSE(messages.shown.empty());
        const std::string& details = messages.shown[0].details;
        EXPECT_EQ(details, diagnostics.str()) << "the lines standard error shows";
        EXPECT_EQ(LineCount(details), reasons.size()) << details;
        for (const std::string& reason : reasons)
            EXPECT_NE(details.find(reason), std::string::npos) << reason;
    }
}

}  // namespace
}  // namespace kestrum
