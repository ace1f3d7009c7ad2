#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <optional>

#include "app/Startup.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "core/Conversions.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Settings.h"
#include "core/USBStuff.h"
#include "features/config/frmEasySetup.h"
#include "regmap/RegMapStuff.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::KestrumTest;

// The main window that start-up left on the screen, or nullptr.
frmMain* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<frmMain*>(widget)) return main;
    return nullptr;
}

bool AnySplashLeft() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<frmSplash*>(widget) != nullptr) return true;
    return false;
}

class StartupSequenceTest : public KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        board.SetFirmwareLoaded(false);
        ProgramDirWithFirmware();
    }
    void TearDown() override {
        delete MainWindow();
        KestrumTest::TearDown();
    }
};

TEST_F(StartupSequenceTest, SearchesShowsTheMainWindowInitialisesAndStartsTheTimer) {
    board.AddAdapterChip(0x58).Poke(0x3F, 2);  // found first, so it is the selected chip
    Chip().Poke(0x3F, 5);

    ASSERT_TRUE(Main());

    ASSERT_NE(MainWindow(), nullptr);
    EXPECT_TRUE(MainWindow()->isVisible());
    EXPECT_TRUE(MainWindow()->isMaximized());
    EXPECT_TRUE(MainWindow()->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_FALSE(AnySplashLeft());
    EXPECT_EQ(MainWindow()->cmbDevices->currentText().toStdString(), "58h on USB");
    EXPECT_EQ(gChipRevision, 2);
    EXPECT_EQ(gTachClockHz, 90000);
    EXPECT_EQ(gRegisters[0].Name.empty(), false);
    EXPECT_TRUE(MainWindow()->tmrMaster->isActive());
    EXPECT_TRUE(gMasterTimer->IsEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartupSequenceTest, InitialisesTheSharedStateInItsOrder) {
    Chip().Poke(0x13, 0x90);  // pin 28 THERM (switch bit 2 of device 0x4A), pin 29 1.5 V
    board.SetRecording(true);
    ASSERT_TRUE(Main());

    // After the search: the revision, the start state of both switch devices, the pin
    // configuration, then both devices from the pin functions.
    std::vector<std::string> steps;
    for (const test::Access& a : Traffic()) {
        if (a == test::R(0x3F)) steps.push_back("revision");
        if (a == test::B(0x10, 4)) steps.push_back("pin config");
        if (a.kind == test::AccessKind::SwitchWrite) steps.push_back(Hex(a.address) + "=" + Hex(a.value));
    }
    EXPECT_EQ(steps, (std::vector<std::string>{"revision", "4A=3", "48=F0", "pin config", "4A=7", "48=FF"}));
    EXPECT_EQ(gVoltageName[22], "1.5V2");
    EXPECT_TRUE(gVoltageInUse[21]);
    EXPECT_FALSE(gVoltageInUse[22]);
}

TEST_F(StartupSequenceTest, AFailedSearchLeavesNoWindowBehind) {
    board.RemoveAdapterChip(0x5C);
    EXPECT_THROW(Main(), ProgramEnded);
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_FALSE(AnySplashLeft());
    EXPECT_EQ(gMasterTimer, nullptr);
}

TEST_F(StartupSequenceTest, EasySetupOpensUnlessTheSettingSaysNo) {
    EXPECT_TRUE(ShouldOpenEasySetup()) << "absent";
    const std::vector<std::pair<std::string, bool>> cases{
        {"True", true}, {"False", false}, {"false", false}, {"0", false},
        {"1", true},    {"-1", true},     {"maybe", true},  {"", true},
    };
    for (const auto& [text, expected] : cases) {
        SaveSetting("OpenEasySetup", text);
        EXPECT_EQ(ShouldOpenEasySetup(), expected) << '"' << text << '"';
    }
}

// Start-up with the stored "OpenEasySetup" text, or none: whether Easy Setup opens.
class StartupEasySetupTest : public StartupSequenceTest,
                             public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

// Notes whether the master timer was already running when Easy Setup was shown.
class EasySetupShowWatch final : public QObject {
public:
    std::optional<bool> timerRunning;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !timerRunning && qobject_cast<frmEasySetup*>(watched) != nullptr)
            timerRunning = MainWindow()->tmrMaster->isActive();
        return false;
    }
};

TEST_P(StartupEasySetupTest, OpensEasySetupUnlessTheSettingSaysNo) {
    const auto& [stored, opens] = GetParam();
    if (stored != nullptr) SaveSetting("OpenEasySetup", stored);
    EasySetupShowWatch watch;
    qApp->installEventFilter(&watch);
    ASSERT_TRUE(Main());
    qApp->removeEventFilter(&watch);
    EXPECT_EQ(watch.timerRunning, opens ? std::optional<bool>(true) : std::nullopt)
        << "shown once the master timer runs";
    ASSERT_NE(MainWindow(), nullptr);
    const frmEasySetup* setup = MainWindow()->Windows().Find<frmEasySetup>();
    EXPECT_EQ(setup != nullptr && setup->isVisible(), opens);
    EXPECT_EQ(MainWindow()->Windows().OpenWindows().size(), opens ? 1u : 0u);
    EXPECT_TRUE(MainWindow()->tmrMaster->isActive());
    EXPECT_TRUE(messages.shown.empty());
}

// How each text reads is EasySetupOpensUnlessTheSettingSaysNo's; these show that start-up asks.
INSTANTIATE_TEST_SUITE_P(StoredSetting, StartupEasySetupTest,
                         ::testing::Values(std::make_pair(nullptr, true), std::make_pair("maybe", true),
                                           std::make_pair("False", false)),
                         [](const auto& info) {
                             // Names that stay the same from build to build.
                             return std::string(info.param.first == nullptr ? "Absent" : info.param.first);
                         });

}  // namespace
}  // namespace kestrum
