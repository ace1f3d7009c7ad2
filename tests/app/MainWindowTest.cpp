#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <string>
#include <vector>

#include "app/QtSeams.h"
#include "app/frmAbout.h"
#include "core/MainCommands.h"
#include "core/Settings.h"
#include "core/USBStuff.h"
#include "features/board/frmHeaters.h"
#include "features/board/frmSwitches.h"
#include "features/config/frmEDO.h"
#include "features/config/frmEasySetup.h"
#include "features/config/frmFanConfig.h"
#include "features/config/frmGPIO.h"
#include "features/config/frmGenConfig.h"
#include "features/config/frmPinConfig.h"
#include "features/config/frmTherm.h"
#include "features/config/frmVoltConfig.h"
#include "features/fancontrol/frmAutoGraph.h"
#include "features/fancontrol/frmDynamicTmin.h"
#include "features/fancontrol/frmManualControl.h"
#include "monitor/frmGraph.h"
#include "monitor/frmLimits.h"
#include "monitor/frmLogging.h"
#include "regmap/RegMapStuff.h"
#include "regmap/frmRegMap.h"
#include "regmap/frmSave.h"
#include "support/MainWindowFixture.h"

namespace kestrum {
namespace {

using test::MainWindowTest;

std::vector<std::string> Texts(const QList<QAction*>& actions) {
    std::vector<std::string> texts;
    for (const QAction* action : actions)
        if (!action->isSeparator()) texts.push_back(action->text().toStdString());
    return texts;
}

// A child window that counts its loads and unloads.
class CountingWindow : public ChildWindow {
public:
    static inline int loads = 0;
    static inline int unloads = 0;
    CountingWindow() { setWindowTitle("Counting"); }
    void Form_Load() override { ++loads; }
    void Form_Unload() override { ++unloads; }
};

class MainWindowCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CountingWindow::loads = 0;
        CountingWindow::unloads = 0;
    }
};

TEST_F(MainWindowCommandsTest, MenusInOrder) {
    const QList<QAction*> bar = main->menuBar()->actions();
    EXPECT_EQ(Texts(bar), (std::vector<std::string>{"File", "View", "Configuration", "Fan Control",
                                                    "Hardware", "Window", "About..."}));
    EXPECT_EQ(bar.back()->menu(), nullptr) << "About... is a command on the bar itself";

    EXPECT_EQ(Texts(main->mnuFile->actions()),
              (std::vector<std::string>{"Save/Recall Configuration", "Log Data to File", "Exit"}));
    EXPECT_EQ(Texts(main->mnuView->actions()),
              (std::vector<std::string>{"Register Map", "Graphs", "Limits/Interrupts"}));
    EXPECT_EQ(Texts(main->mnuConfig->actions()),
              (std::vector<std::string>{"Easy Setup", "Fan Configuration", "General Configuration",
                                        "Pin Configuration", "Voltage Configuration", "THERM Configuration",
                                        "GPIO Configuration", "EDO Configuration"}));
    EXPECT_EQ(Texts(main->mnuFanControl->actions()),
              (std::vector<std::string>{"Automatic Fan Control", "Dynamic Tmin Control", "Manual Control"}));
    EXPECT_EQ(Texts(main->mnuBoard->actions()), (std::vector<std::string>{"Heaters", "Switches"}));
    EXPECT_TRUE(main->mnuWindow->actions().isEmpty());
    EXPECT_FALSE(main->mnuWindow->menuAction()->isEnabled()) << "nothing to list yet";

    EXPECT_TRUE(main->mnuExit->isEnabled());
}

TEST_F(MainWindowCommandsTest, TheToolbarHasTenButtonsWithKeysTipsAndOwnIcons) {
    std::vector<QAction*> buttons;
    for (QAction* action : main->tbToolBar->actions())
        if (!action->icon().isNull()) buttons.push_back(action);
    ASSERT_EQ(buttons.size(), 10u);

    const std::vector<std::pair<std::string, std::string>> expected{
        {"Save", "Save/Recall Configuration"},
        {"FanConfig", "Fan Configuration"},
        {"Graphs", "Graphs"},
        {"RegMap", "Register Map"},
        {"Switches", "On-board Switches"},
        {"GeneralConfig", "General Configuration"},
        {"GPIO", "GPIO"},
        {"Heaters", "Heaters"},
        {"AutoControl", "Automatic Fan Control"},
        {"Alerts", "Limits/Interrupts"},
    };
    std::vector<QImage> images;
    for (size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->objectName().toStdString(), expected[i].first);
        EXPECT_EQ(buttons[i]->toolTip().toStdString(), expected[i].second);
        const QPixmap icon = buttons[i]->icon().pixmap(QSize(16, 16));
        EXPECT_EQ(icon.size(), QSize(16, 16));
        images.push_back(icon.toImage());
    }
    for (size_t i = 0; i < images.size(); ++i)
        for (size_t j = i + 1; j < images.size(); ++j) EXPECT_NE(images[i], images[j]) << i << " " << j;

    // Every button is the same command as its menu item.
    for (const ToolbarButton& button : kToolbarButtons)
        EXPECT_EQ(main->ToolbarItem(button.command)->objectName().toStdString(), button.key);
}

TEST_F(MainWindowCommandsTest, UnknownToolbarKeysDoNothing) {
    for (const char* key : {"alerts", "SAVE", "", "About", "Save ", "Limits"})
        EXPECT_EQ(ToolbarCommand(key), std::nullopt) << key;

    main->tbToolBar_ButtonClick("About");
    EXPECT_TRUE(main->Windows().OpenWindows().empty());
}

template <typename W>
ChildWindow* FindOpen(const WindowManager& windows) {
    return windows.Find<W>();
}

// Each menu item opens its own window and then only brings it forward; each toolbar key
// brings forward the window of its command.
TEST_F(MainWindowCommandsTest, AWindowLargerThanTheFrameCanBeScrolledIntoView) {
    main->resize(433, 433);  // the first start's 6500 twips square
    main->show();
    main->MenuItem(Command::EasySetup)->trigger();
    QApplication::processEvents();
    const QMdiSubWindow* setup = main->mdiArea->activeSubWindow();
    ASSERT_NE(setup, nullptr);
    ASSERT_GT(setup->geometry().bottom(), main->mdiArea->viewport()->height()) << "larger than the frame";
    QScrollBar* down = main->mdiArea->verticalScrollBar();
    EXPECT_TRUE(down->isVisible());
    down->setValue(down->maximum());
    QApplication::processEvents();
    EXPECT_LE(setup->geometry().bottom(), main->mdiArea->viewport()->height()) << "its buttons in view";
}

// A window opens wholly inside the visible part of the frame on each axis where it fits,
// otherwise from the start of it, the rest a scroll away.
void ExpectOpenedInView(const frmMain& main, int command) {
    QApplication::processEvents();
    const QMdiSubWindow* window = main.mdiArea->activeSubWindow();
    ASSERT_NE(window, nullptr) << command;
    const QRect frame = window->geometry();
    const QSize visible = main.mdiArea->viewport()->size();
    const auto inside = [](int start, int length, int room) {
        return length <= room ? start >= 0 && start + length <= room : start == 0;
    };
    EXPECT_TRUE(inside(frame.x(), frame.width(), visible.width()) &&
                inside(frame.y(), frame.height(), visible.height()))
        << "command " << command << " at " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
        << frame.height() << " in " << visible.width() << "x" << visible.height();
}

TEST_F(MainWindowCommandsTest, EachWindowOpensInViewHoweverManyAreOpen) {
    InitRegisterTable();
    main->resize(1280, 1000);
    main->show();
    for (size_t command = 0; command < kCommandCount; ++command) {
        main->MenuItem(static_cast<Command>(command))->trigger();
        ExpectOpenedInView(*main, static_cast<int>(command));
    }
}

TEST_F(MainWindowCommandsTest, EasySetupOpensInViewInASmallOrOddlyStoredMainWindow) {
    main->resize(400, 490);
    main->show();
    main->MenuItem(Command::EasySetup)->trigger();
    ExpectOpenedInView(*main, static_cast<int>(Command::EasySetup));
    const QRect visible = main->mdiArea->viewport()->rect();
    EXPECT_TRUE(visible.contains(main->mdiArea->activeSubWindow()->geometry())) << "it fits, so all of it";
    // Placed once open, at the Easy Setup's own spot for it.
    main->Windows().Open<frmGraph>().SetPositionTwips(6000, 6000);
    ExpectOpenedInView(*main, static_cast<int>(Command::Graph));

    SaveSetting("MainWidth", "-5");
    SaveSetting("MainLeft", "-2147483648");
    main = std::make_unique<frmMain>();
    LoadMain();
    main->show();
    main->MenuItem(Command::EasySetup)->trigger();
    ExpectOpenedInView(*main, static_cast<int>(Command::EasySetup));
}

TEST_F(MainWindowCommandsTest, EachMenuItemAndToolbarKeyOpensItsOwnWindowOnce) {
    struct Opener {
        Command command;
        const char* toolbarKey;
        ChildWindow* (*find)(const WindowManager&);
    };
    const std::vector<Opener> openers{
        {Command::Save, "Save", &FindOpen<frmSave>},
        {Command::Log, nullptr, &FindOpen<frmLogging>},
        {Command::RegMap, "RegMap", &FindOpen<frmRegMap>},
        {Command::Graph, "Graphs", &FindOpen<frmGraph>},
        {Command::Limits, "Alerts", &FindOpen<frmLimits>},
        {Command::EasySetup, nullptr, &FindOpen<frmEasySetup>},
        {Command::FanConfig, "FanConfig", &FindOpen<frmFanConfig>},
        {Command::GenConfig, "GeneralConfig", &FindOpen<frmGenConfig>},
        {Command::PinConfig, nullptr, &FindOpen<frmPinConfig>},
        {Command::Voltage, nullptr, &FindOpen<frmVoltConfig>},
        {Command::THERM, nullptr, &FindOpen<frmTherm>},
        {Command::GPIO, "GPIO", &FindOpen<frmGPIO>},
        {Command::EDO, nullptr, &FindOpen<frmEDO>},
        {Command::AutoControl, "AutoControl", &FindOpen<frmAutoGraph>},
        {Command::DynTmin, nullptr, &FindOpen<frmDynamicTmin>},
        {Command::ManualControl, nullptr, &FindOpen<frmManualControl>},
        {Command::Heaters, "Heaters", &FindOpen<frmHeaters>},
        {Command::Switches, "Switches", &FindOpen<frmSwitches>},
        {Command::About, nullptr, &FindOpen<frmAbout>},
    };
    ASSERT_EQ(openers.size(), kCommandCount);
    const auto active = [&] { return main->mdiArea->activeSubWindow()->widget(); };
    InitRegisterTable();
    for (const Opener& opener : openers) {
        const int command = static_cast<int>(opener.command);
        const size_t before = main->Windows().OpenWindows().size();
        ASSERT_NE(main->MenuItem(opener.command), nullptr) << command;
        main->MenuItem(opener.command)->trigger();
        ChildWindow* opened = opener.find(main->Windows());
        ASSERT_NE(opened, nullptr) << command;
        EXPECT_EQ(active(), opened);
        main->MenuItem(opener.command)->trigger();
        EXPECT_EQ(opener.find(main->Windows()), opened) << "an open window is only brought forward";
        EXPECT_EQ(main->Windows().OpenWindows().size(), before + 1) << command;
    }
    int keys = 0;
    for (const Opener& opener : openers) {
        if (opener.toolbarKey == nullptr) continue;
        main->tbToolBar_ButtonClick(opener.toolbarKey);
        EXPECT_EQ(active(), opener.find(main->Windows())) << opener.toolbarKey;
        ++keys;
    }
    EXPECT_EQ(keys, 10);
    EXPECT_EQ(main->Windows().OpenWindows().size(), kCommandCount);
}

TEST_F(MainWindowCommandsTest, StatusBarShowsStatusDateAndTimeKeptCurrent) {
    EXPECT_EQ(main->StatusPanel(1)->text().toStdString(), "Status");
    EXPECT_EQ(main->StatusPanel(2)->text().toStdString(), clock.dateText);
    EXPECT_EQ(main->StatusPanel(3)->text().toStdString(), clock.timeText);

    SetStatusText("Logging Enabled");
    EXPECT_EQ(main->StatusPanel(1)->text().toStdString(), "Logging Enabled");

    clock.dateText = "10/12/2026";
    clock.timeText = "00:00:01";
    QTimer* tick = main->sbStatusBar->findChild<QTimer*>();
    ASSERT_NE(tick, nullptr);
    EXPECT_EQ(tick->interval(), 1000);
    EXPECT_TRUE(tick->isActive());
    QMetaObject::invokeMethod(tick, "timeout");
    EXPECT_EQ(main->StatusPanel(2)->text().toStdString(), "10/12/2026");
    EXPECT_EQ(main->StatusPanel(3)->text().toStdString(), "00:00:01");

    main.reset();
    SetStatusText("Ready");  // no main window: nowhere to show it, and no crash
}

// Counts the layout requests a widget receives.
class LayoutRequestCounter final : public QObject {
public:
    int requests = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::LayoutRequest) ++requests;
        return QObject::eventFilter(watched, event);
    }
};

TEST_F(MainWindowCommandsTest, ANewDateOrTimeLaysNothingOutAgain) {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    QApplication::processEvents();
    const QSize dateSize = main->StatusPanel(2)->size();
    const QSize timeSize = main->StatusPanel(3)->size();
    LayoutRequestCounter counter;
    main->sbStatusBar->installEventFilter(&counter);

    clock.dateText = "1/1/2027";
    clock.timeText = "1:00:00 AM";
    QMetaObject::invokeMethod(main->sbStatusBar->findChild<QTimer*>(), "timeout");
    QApplication::processEvents();
    EXPECT_EQ(counter.requests, 0);
    EXPECT_EQ(main->StatusPanel(2)->size(), dateSize);
    EXPECT_EQ(main->StatusPanel(3)->size(), timeSize);

    // Wide enough for the program's own clock's texts.
    QtClock real;
    for (const auto& [panel, text] :
         {std::pair{main->StatusPanel(2), real.DateText()}, std::pair{main->StatusPanel(3), real.TimeText()}})
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(QString::fromStdString(text)),
                  panel->contentsRect().width())
            << text;
}

TEST_F(MainWindowCommandsTest, TheMasterTimerWaitsUntilStartUpEnablesIt) {
    EXPECT_EQ(main->tmrMaster->interval(), 50);
    EXPECT_FALSE(main->tmrMaster->isActive());
    ASSERT_NE(gMasterTimer, nullptr);
    EXPECT_FALSE(gMasterTimer->IsEnabled());
    gMasterTimer->SetEnabled(true);
    EXPECT_TRUE(main->tmrMaster->isActive());
    gMasterTimer->SetEnabled(false);
    EXPECT_FALSE(main->tmrMaster->isActive());
    main.reset();
    EXPECT_EQ(gMasterTimer, nullptr);
}

TEST_F(MainWindowCommandsTest, OneInstancePerWindowLoadedOnFirstUseAndAfreshAfterClosing) {
    CountingWindow& first = main->Windows().Open<CountingWindow>();
    frmAbout& about = main->Windows().Open<frmAbout>();
    EXPECT_EQ(main->mdiArea->activeSubWindow()->widget(), &about);

    CountingWindow& again = main->Windows().Open<CountingWindow>();
    EXPECT_EQ(&again, &first);
    EXPECT_EQ(CountingWindow::loads, 1) << "brought to the front, not reloaded";
    EXPECT_EQ(main->mdiArea->activeSubWindow()->widget(), &first);

    first.Unload();
    EXPECT_EQ(CountingWindow::unloads, 1);
    EXPECT_EQ(main->Windows().Find<CountingWindow>(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    main->Windows().Open<CountingWindow>();
    EXPECT_EQ(CountingWindow::loads, 2);
}

TEST_F(MainWindowCommandsTest, TheWindowMenuListsOpenWindowsAndActivatesTheChosenOne) {
    main->Windows().Open<CountingWindow>();
    main->mnuAbout_Click();
    QList<QAction*> items = main->mnuWindow->actions();
    ASSERT_EQ(Texts(items), (std::vector<std::string>{"Counting", "About the  Kestrum Software"}));
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isChecked()) << "the active window is ticked";

    items[0]->trigger();
    EXPECT_EQ(main->mdiArea->activeSubWindow()->widget(), main->Windows().Find<CountingWindow>());
    EXPECT_TRUE(main->mnuWindow->actions()[0]->isChecked());

    main->Windows().Find<frmAbout>()->cmdOK->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Texts(main->mnuWindow->actions()), std::vector<std::string>{"Counting"});
}

// A menu that once popped up empty never opened again; with nothing to list, the menu
// cannot be opened at all, and it drops down again as soon as a window is open.
TEST_F(MainWindowCommandsTest, TheWindowMenuDropsDownWheneverAWindowIsOpen) {
    main->resize(900, 600);
    main->show();
    QApplication::processEvents();
    QMenuBar& bar = *main->menuBar();
    const auto clickWindowMenu = [&] {
        QTest::mouseClick(&bar, Qt::LeftButton, {},
                          bar.actionGeometry(main->mnuWindow->menuAction()).center());
        QApplication::processEvents();
        const bool shown = main->mnuWindow->isVisible();
        main->mnuWindow->hide();
        return shown;
    };

    EXPECT_FALSE(main->mnuWindow->menuAction()->isEnabled());
    EXPECT_FALSE(clickWindowMenu());
    main->mnuAbout_Click();
    EXPECT_TRUE(main->mnuWindow->menuAction()->isEnabled());
    EXPECT_TRUE(clickWindowMenu());
    main->Windows().Find<frmAbout>()->cmdOK->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(main->mnuWindow->menuAction()->isEnabled());
    main->mnuAbout_Click();
    EXPECT_TRUE(clickWindowMenu());
}

TEST_F(MainWindowCommandsTest, GeometryDefaultsApplyKeyByKeyAndRoundTrip) {
    SaveSetting("MainLeft", "3000");
    SaveSetting("MainHeight", "7500");
    LoadMain();
    EXPECT_EQ(main->pos(), QPoint(200, 67));
    EXPECT_EQ(main->size(), QSize(433, 500));

    SaveSetting("MainTop", "1500");
    main->MDIForm_Unload();
    // Stored in twips, as whole pixels make them.
    EXPECT_EQ(StoredGeometry(), (std::array<std::string, 4>{"3000", "1005", "6495", "7500"}));
}

TEST_F(MainWindowCommandsTest, StoredGeometryOfAnyKindKeepsTheWindowOnTheScreen) {
    const QRect screen = main->screen()->availableGeometry();
    const std::vector<std::array<const char*, 4>> stored = {
        {"1e300", "-1e300", "99999999999", "-5"},
        {"-400000", "abc", "1e400", "nan"},
        {"2147483647", "2147483647", "2147483647", "2147483647"},
    };
    for (const auto& [left, top, width, height] : stored) {
        SaveSetting("MainLeft", left);
        SaveSetting("MainTop", top);
        SaveSetting("MainWidth", width);
        SaveSetting("MainHeight", height);
        main = std::make_unique<frmMain>();
        LoadMain();
        const QRect placed(main->pos(), main->size());
        EXPECT_TRUE(screen.contains(placed)) << left << " " << top << " " << width << " " << height;
        EXPECT_GT(placed.width(), 0);
        EXPECT_GT(placed.height(), 0);
        EXPECT_EQ(GetSetting("MainWidth", ""), width) << "rewritten only when the window closes";
    }
}

TEST_F(MainWindowCommandsTest, ClosingUnloadsEveryWindowThenSavesThePosition) {
    main->Windows().Open<CountingWindow>();
    main->move(300, 150);
    main->resize(600, 450);
    EXPECT_TRUE(main->close());
    EXPECT_EQ(CountingWindow::unloads, 1);
    EXPECT_EQ(StoredGeometry(), (std::array<std::string, 4>{"4500", "2250", "9000", "6750"}));
}

TEST_F(MainWindowCommandsTest, NothingIsSavedWhenMinimisedOrOnExit) {
    main->Windows().Open<CountingWindow>();
    main->setWindowState(Qt::WindowMinimized);
    main->close();
    EXPECT_EQ(CountingWindow::unloads, 1);
    EXPECT_EQ(StoredGeometry(), (std::array<std::string, 4>{}));

    auto other = std::make_unique<frmMain>();
    other->Windows().Open<CountingWindow>();
    try {
        other->mnuExit_Click();
        ADD_FAILURE() << "Exit returned";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, 0);
    }
    EXPECT_EQ(CountingWindow::unloads, 1) << "Exit unloads no window";
    EXPECT_EQ(StoredGeometry(), (std::array<std::string, 4>{}));
}

TEST_F(MainWindowCommandsTest, AFatalLinkErrorUnloadsEveryWindowAndSavesThePosition) {
    main->Windows().Open<CountingWindow>();
    main->move(150, 75);
    main->resize(300, 300);
    gMasterTimer->SetEnabled(true);
    board.FailTransfer(1);
    EXPECT_THROW(ReadRegister(gDeviceAddress, 0x40), ProgramEnded);
    EXPECT_EQ(CountingWindow::unloads, 1);
    EXPECT_FALSE(main->tmrMaster->isActive());
    EXPECT_EQ(StoredGeometry(), (std::array<std::string, 4>{"2250", "1125", "4500", "4500"}));
}

}  // namespace
}  // namespace kestrum

namespace kestrum {
namespace {

TEST_F(MainWindowCommandsTest, TheMasterTimerRereadsTheRegisterMapOnlyWhileContinuousReadIsTicked) {
    InitRegisterTable();
    frmRegMap& regMap = main->Windows().Open<frmRegMap>();
    regMap.txtReadAddr->setText("3E");
    board.SetRecording(true);
    const auto reads = [this] {
        const std::vector<test::Access> traffic = Traffic();
        return std::count(traffic.begin(), traffic.end(), test::R(0x3E));
    };

    clock.Advance(2.0);
    main->tmrMaster_Timer();
    EXPECT_EQ(reads(), 0) << "box clear";

    regMap.chkContRead->click();
    main->tmrMaster_Timer();
    EXPECT_EQ(reads(), 1);
    EXPECT_EQ(regMap.lblRegDescription->text().toStdString(), "Company ID Register");
    main->tmrMaster_Timer();
    EXPECT_EQ(reads(), 1) << "not a second later";
    clock.Advance(1.1);
    main->tmrMaster_Timer();
    EXPECT_EQ(reads(), 2);

    regMap.Unload();
    clock.Advance(2.0);
    main->tmrMaster_Timer();
    EXPECT_EQ(reads(), 2) << "closed";
}

}  // namespace
}  // namespace kestrum
