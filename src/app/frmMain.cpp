#include "app/frmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <exception>

#include "app/Pictures.h"
#include "app/QtSeams.h"
#include "app/frmAbout.h"
#include "app/frmSplash.h"
#include "core/Conversions.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "core/Settings.h"
#include "core/Twips.h"
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
#include "platform/LinkLibraries.h"
#include "platform/Seams.h"
#include "regmap/frmRegMap.h"
#include "regmap/frmSave.h"

namespace kestrum {

namespace {

using Opener = void (*)(WindowManager&);

template <typename W>
void OpenWindow(WindowManager& windows) {
    windows.Open<W>();
}

// The window each command opens. A command without a window yet has its menu item and
// toolbar button disabled.
Opener OpenerOf(Command command) {
    switch (command) {
        case Command::Save: return &OpenWindow<frmSave>;
        case Command::Log: return &OpenWindow<frmLogging>;
        case Command::RegMap: return &OpenWindow<frmRegMap>;
        case Command::Graph: return &OpenWindow<frmGraph>;
        case Command::Limits: return &OpenWindow<frmLimits>;
        case Command::EasySetup: return &OpenWindow<frmEasySetup>;
        case Command::FanConfig: return &OpenWindow<frmFanConfig>;
        case Command::GenConfig: return &OpenWindow<frmGenConfig>;
        case Command::PinConfig: return &OpenWindow<frmPinConfig>;
        case Command::Voltage: return &OpenWindow<frmVoltConfig>;
        case Command::THERM: return &OpenWindow<frmTherm>;
        case Command::GPIO: return &OpenWindow<frmGPIO>;
        case Command::EDO: return &OpenWindow<frmEDO>;
        case Command::AutoControl: return &OpenWindow<frmAutoGraph>;
        case Command::DynTmin: return &OpenWindow<frmDynamicTmin>;
        case Command::ManualControl: return &OpenWindow<frmManualControl>;
        case Command::Heaters: return &OpenWindow<frmHeaters>;
        case Command::Switches: return &OpenWindow<frmSwitches>;
        case Command::About: return &OpenWindow<frmAbout>;
    }
    return nullptr;
}

size_t Index(Command command) { return static_cast<size_t>(command); }

struct GeometryKey {
    const char* key;
    int defaultTwips;
};
constexpr std::array<GeometryKey, 4> kGeometryKeys{{
    {"MainLeft", 1000},
    {"MainTop", 1000},
    {"MainWidth", 6500},
    {"MainHeight", 6500},
}};

constexpr int kCompanyIdRegister = 0x3E;
constexpr int32_t kCompanyId = 0x41;
constexpr int kConnectTries = 20;
constexpr int32_t kConnectValue = 0x30;
constexpr int32_t kConnectIndex = 0x33;

// Sets the splash's status line and draws it at once: the search holds up the event loop.
void Report(frmSplash& splash, const std::string& text) {
    splash.lblProgInfo->setText(QString::fromStdString(text));
    splash.lblProgInfo->repaint();
}

// The frame (left, top, width, height, in pixels) moved and shrunk as little as needed to
// lie on the available screen area.
QRect FitOnScreen(const std::array<int, 4>& frame, const QRect& available, const QSize& minimum) {
    const int width = std::clamp(frame[2], std::min(minimum.width(), available.width()), available.width());
    const int height =
        std::clamp(frame[3], std::min(minimum.height(), available.height()), available.height());
    const int left = std::clamp(frame[0], available.left(), available.left() + available.width() - width);
    const int top = std::clamp(frame[1], available.top(), available.top() + available.height() - height);
    return {left, top, width, height};
}

// A label's size fixed to what it needs to show this text.
void KeepSizeFor(QLabel& label, const QString& text) {
    label.setText(text);
    label.setFixedSize(label.sizeHint());
}

bool IsKestrum(int32_t address) { return ReadRegister(address, kCompanyIdRegister) == kCompanyId; }

}  // namespace

void frmMain::TimerSwitch::SetEnabled(bool enabled) {
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), tmrMaster(new QTimer(this)), timerSwitch_(*tmrMaster) {
    setObjectName("frmMain");
    setWindowTitle(kAppTitle);

    mdiArea = new QMdiArea(this);
    // A child larger than the frame (Easy Setup over the first start's small main window)
    // stays within reach.
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);
    windows_ = new WindowManager(*mdiArea, this);

    BuildMenus();
    BuildToolbar();
    BuildStatusBar();

    tmrMaster->setObjectName("tmrMaster");
    tmrMaster->setInterval(50);
    connect(tmrMaster, &QTimer::timeout, this, &frmMain::tmrMaster_Timer);
    gMasterTimer = &timerSwitch_;

    SetWindowUnloader([this] { UnloadEverything(); });
    UpdateWindowMenu();
}

frmMain::~frmMain() {
    // Child windows still being destroyed must not reach a main window half gone.
    disconnect(windows_, nullptr, this, nullptr);
    disconnect(mdiArea, nullptr, this, nullptr);
    if (gMasterTimer == &timerSwitch_) gMasterTimer = nullptr;
    SetWindowUnloader(nullptr);
    SetStatusTextSink(nullptr);
}

void frmMain::BuildMenus() {
    QMenuBar& bar = *menuBar();
    mnuFile = bar.addMenu("File");
    AddMenuItem(*mnuFile, "Save/Recall Configuration", "mnuSave", Command::Save, &frmMain::mnuSave_Click);
    AddMenuItem(*mnuFile, "Log Data to File", "mnuLog", Command::Log, &frmMain::mnuLog_Click);
    mnuExit = mnuFile->addAction("Exit", this, &frmMain::mnuExit_Click);
    mnuExit->setObjectName("mnuExit");

    mnuView = bar.addMenu("View");
    AddMenuItem(*mnuView, "Register Map", "mnuRegMap", Command::RegMap, &frmMain::mnuRegMap_Click);
    AddMenuItem(*mnuView, "Graphs", "mnuGraph", Command::Graph, &frmMain::mnuGraph_Click);
    AddMenuItem(*mnuView, "Limits/Interrupts", "mnuLimits", Command::Limits, &frmMain::mnuLimits_Click);

    mnuConfig = bar.addMenu("Configuration");
    AddMenuItem(*mnuConfig, "Easy Setup", "mnuEasySetup", Command::EasySetup, &frmMain::mnuEasySetup_Click);
    AddMenuItem(*mnuConfig, "Fan Configuration", "mnuFanConfig", Command::FanConfig,
                &frmMain::mnuFanConfig_Click);
    AddMenuItem(*mnuConfig, "General Configuration", "mnuGenConfig", Command::GenConfig,
                &frmMain::mnuGenConfig_Click);
    AddMenuItem(*mnuConfig, "Pin Configuration", "mnuPinConfig", Command::PinConfig,
                &frmMain::mnuPinConfig_Click);
    AddMenuItem(*mnuConfig, "Voltage Configuration", "mnuVoltage", Command::Voltage,
                &frmMain::mnuVoltage_Click);
    AddMenuItem(*mnuConfig, "THERM Configuration", "mnuTHERM", Command::THERM, &frmMain::mnuTHERM_Click);
    AddMenuItem(*mnuConfig, "GPIO Configuration", "mnuGPIO", Command::GPIO, &frmMain::mnuGPIO_Click);
    AddMenuItem(*mnuConfig, "EDO Configuration", "mnuEDO", Command::EDO, &frmMain::mnuEDO_Click);

    mnuFanControl = bar.addMenu("Fan Control");
    AddMenuItem(*mnuFanControl, "Automatic Fan Control", "mnuAutoControl", Command::AutoControl,
                &frmMain::mnuAutoControl_Click);
    AddMenuItem(*mnuFanControl, "Dynamic Tmin Control", "mnuDynTmin", Command::DynTmin,
                &frmMain::mnuDynTmin_Click);
    AddMenuItem(*mnuFanControl, "Manual Control", "mnuManualControl", Command::ManualControl,
                &frmMain::mnuManualControl_Click);

    mnuBoard = bar.addMenu("Hardware");
    AddMenuItem(*mnuBoard, "Heaters", "mnuHeaters", Command::Heaters, &frmMain::mnuHeaters_Click);
    AddMenuItem(*mnuBoard, "Switches", "mnuSwitches", Command::Switches, &frmMain::mnuSwitches_Click);

    mnuWindow = bar.addMenu("Window");
    // Kept current as windows come and go: a menu that pops up empty would stop the menu
    // bar from opening it again.
    connect(windows_, &WindowManager::WindowsChanged, this, &frmMain::UpdateWindowMenu);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::UpdateWindowMenu);

    // A command on the menu bar itself, not a menu.
    QAction* about = bar.addAction("About...", this, &frmMain::mnuAbout_Click);
    about->setObjectName("mnuAbout");
    about->setEnabled(OpenerOf(Command::About) != nullptr);
    menuItems_[Index(Command::About)] = about;

    const std::array<std::pair<QMenu*, const char*>, 6> menus{{{mnuFile, "mnuFile"},
                                                               {mnuView, "mnuView"},
                                                               {mnuConfig, "mnuConfig"},
                                                               {mnuFanControl, "mnuFanControl"},
                                                               {mnuBoard, "mnuBoard"},
                                                               {mnuWindow, "mnuWindow"}}};
    for (const auto& [menu, name] : menus) menu->setObjectName(name);
}

QAction* frmMain::AddMenuItem(QMenu& menu, const char* caption, const char* name, Command command,
                              void (frmMain::*handler)()) {
    QAction* item = menu.addAction(caption, this, handler);
    item->setObjectName(name);
    item->setEnabled(OpenerOf(command) != nullptr);
    menuItems_[Index(command)] = item;
    return item;
}

void frmMain::BuildToolbar() {
    tbToolBar = addToolBar("Toolbar");
    tbToolBar->setObjectName("tbToolBar");
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    for (size_t i = 0; i < kToolbarButtons.size(); ++i) {
        const ToolbarButton& button = kToolbarButtons[i];
        QAction* item = tbToolBar->addAction(QIcon(ToolbarIcon(static_cast<int>(i))), button.toolTip);
        item->setObjectName(button.key);
        item->setToolTip(button.toolTip);
        item->setEnabled(OpenerOf(button.command) != nullptr);
        const QString key = button.key;
        connect(item, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        toolbarItems_[Index(button.command)] = item;
    }

    tbToolBar->addSeparator();
    auto* label = new QLabel(" Device: ", tbToolBar);
    cmbDevices = new QComboBox(tbToolBar);
    cmbDevices->setObjectName("cmbDevices");
    cmbDevices->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(cmbDevices);
    tbToolBar->addWidget(label);
    tbToolBar->addWidget(cmbDevices);
    connect(cmbDevices, &QComboBox::activated, this, &frmMain::cmbDevices_Click);
}

void frmMain::BuildStatusBar() {
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName("sbStatusBar");
    for (size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* panel = new QLabel(sbStatusBar);
        panel->setContentsMargins(4, 0, 4, 0);
        statusPanels_[i] = panel;
    }
    sbStatusBar->addWidget(statusPanels_[0], 1);
    sbStatusBar->addPermanentWidget(statusPanels_[1]);
    sbStatusBar->addPermanentWidget(statusPanels_[2]);

    // The date and time change every second: panels of one size, wide enough for any of
    // their texts, take a new text without laying out the main window again.
    const QFontMetrics metrics(statusPanels_[1]->font());
    KeepSizeFor(*statusPanels_[1], WidestDateText(metrics));
    KeepSizeFor(*statusPanels_[2], WidestTimeText(metrics));

    statusPanels_[0]->setText("Status");
    SetStatusTextSink(
        [this](const std::string& text) { statusPanels_[0]->setText(QString::fromStdString(text)); });

    auto* clock = new QTimer(sbStatusBar);
    clock->setInterval(1000);
    connect(clock, &QTimer::timeout, this, &frmMain::UpdateDateAndTime);
    clock->start();
    UpdateDateAndTime();
}

void frmMain::UpdateDateAndTime() {
    Clock& clock = SystemClock();
    statusPanels_[1]->setText(QString::fromStdString(clock.DateText()));
    statusPanels_[2]->setText(QString::fromStdString(clock.TimeText()));
}

QAction* frmMain::MenuItem(Command command) const { return menuItems_[Index(command)]; }
QAction* frmMain::ToolbarItem(Command command) const { return toolbarItems_[Index(command)]; }

void frmMain::RunCommand(Command command) {
    if (Opener open = OpenerOf(command)) open(*windows_);
}

void frmMain::mnuSave_Click() { RunCommand(Command::Save); }
void frmMain::mnuLog_Click() { RunCommand(Command::Log); }
void frmMain::mnuRegMap_Click() { RunCommand(Command::RegMap); }
void frmMain::mnuGraph_Click() { RunCommand(Command::Graph); }
void frmMain::mnuLimits_Click() { RunCommand(Command::Limits); }
void frmMain::mnuEasySetup_Click() { RunCommand(Command::EasySetup); }
void frmMain::mnuFanConfig_Click() { RunCommand(Command::FanConfig); }
void frmMain::mnuGenConfig_Click() { RunCommand(Command::GenConfig); }
void frmMain::mnuPinConfig_Click() { RunCommand(Command::PinConfig); }
void frmMain::mnuVoltage_Click() { RunCommand(Command::Voltage); }
void frmMain::mnuTHERM_Click() { RunCommand(Command::THERM); }
void frmMain::mnuGPIO_Click() { RunCommand(Command::GPIO); }
void frmMain::mnuEDO_Click() { RunCommand(Command::EDO); }
void frmMain::mnuAutoControl_Click() { RunCommand(Command::AutoControl); }
void frmMain::mnuDynTmin_Click() { RunCommand(Command::DynTmin); }
void frmMain::mnuManualControl_Click() { RunCommand(Command::ManualControl); }
void frmMain::mnuHeaters_Click() { RunCommand(Command::Heaters); }
void frmMain::mnuSwitches_Click() { RunCommand(Command::Switches); }
void frmMain::mnuAbout_Click() { RunCommand(Command::About); }

// Ends at once: no window unloads, the position is not saved.
void frmMain::mnuExit_Click() { EndProgramAtOnce(0); }

void frmMain::tbToolBar_ButtonClick(const QString& key) {
    const std::optional<Command> command = ToolbarCommand(key.toStdString());
    if (!command) return;
    // A toolbar button never ends the program by a run-time error.
    try {
        RunCommand(*command);
    } catch (const std::exception&) {
    }
}

void frmMain::tmrMaster_Timer() { RunMasterTick(); }

void frmMain::UpdateWindowMenu() {
    mnuWindow->clear();
    const QMdiSubWindow* active = mdiArea->activeSubWindow();
    const std::vector<ChildWindow*> open = windows_->OpenWindows();
    mnuWindow->menuAction()->setEnabled(!open.empty());
    for (ChildWindow* window : open) {
        QAction* item = mnuWindow->addAction(window->windowTitle());
        item->setCheckable(true);
        item->setChecked(active != nullptr && active->widget() == window);
        const QPointer<ChildWindow> target(window);
        connect(item, &QAction::triggered, this, [this, target] {
            if (!target.isNull() && !target->IsUnloaded()) windows_->Activate(*target);
        });
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    UnloadEverything();
    event->accept();
}

void frmMain::UnloadEverything() {
    if (unloaded_) return;
    unloaded_ = true;
    windows_->UnloadAll();
    MDIForm_Unload();
}

void frmMain::MDIForm_Unload() {
    if (isMinimized()) return;
    // The frame's position, as move() takes it back, and the inner size, as resize() does.
    const std::array<int, 4> twips{PixelsToTwips(pos().x()), PixelsToTwips(pos().y()), PixelsToTwips(width()),
                                   PixelsToTwips(height())};
    for (size_t i = 0; i < kGeometryKeys.size(); ++i)
        SaveSetting(kGeometryKeys[i].key, SingleText(static_cast<float>(twips[i])));
}

// The stored values may be anything; the window still opens whole on the screen. The
// settings themselves change only when the window next closes.
void frmMain::RestoreGeometry() {
    std::array<int, 4> pixels{};
    for (size_t i = 0; i < kGeometryKeys.size(); ++i) {
        const GeometryKey& key = kGeometryKeys[i];
        pixels[i] = TwipsToPixels(LeadingNumber(GetSetting(key.key, std::to_string(key.defaultTwips))));
    }
    const QRect fitted = FitOnScreen(pixels, screen()->availableGeometry(), minimumSizeHint());
    move(fitted.topLeft());
    resize(fitted.size());
}

void frmMain::MDIForm_Load(frmSplash& splash) {
    RestoreGeometry();
    setWindowState(Qt::WindowMaximized);
    setWindowTitle(kAppTitle);

    splash.SetProgress(0);
    splash.lblProgInfo->setText("Downloading Firmware...");
    splash.lblProgress->setVisible(true);
    splash.lblProgInfo->setVisible(true);
    splash.lblProgInfo->repaint();
    Report(splash, "Enumerating...");

    // Half the bar in steps of half a percent: exactly 100 passes, since halves add up
    // exactly in binary.
    do {
        splash.SetProgress(splash.Progress() + 0.5);
        Delay(50);
        QCoreApplication::processEvents();
    } while (splash.Progress() < 50);

    if (gUSBPresent) {
        ConnectAdapter(splash);
        SearchAdapterBus(splash);
    }
    if (gSMBusPresent) SearchPcSmbus(splash);
    splash.SetProgress(100);

    SelectFirstChip();
    splash.lblProgInfo->repaint();
    Delay(1000);
    searchDone_ = true;
}

void frmMain::ConnectAdapter(frmSplash& splash) {
    Report(splash, "Connecting...");
    int16_t status = 1;
    for (int tries = 0; tries < kConnectTries && status != 0; ++tries) {
        uint8_t zero = 0;
        status = VendorIORequest(kRequestConnect, kConnectValue, kConnectIndex, kDirectionWrite, 0, &zero);
        Delay(200);
        QCoreApplication::processEvents();
    }
    if (status != 0) ShowCommError(kCommInitialConnection);
    splash.SetProgress(76);
}

void frmMain::SearchAdapterBus(frmSplash& splash) {
    gInterfaceType = kInterfaceUsb;
    Report(splash, "Searching for " + gPartName + " on USB...");
    Delay(1000);
    for (int32_t address = 0x58; address <= 0x5C; address += 2) {
        splash.SetProgress(splash.Progress() + 4);
        if (IsKestrum(address))
            cmbDevices->addItem(QString::fromStdString(DeviceEntry(address, kInterfaceUsb)));
    }
}

void frmMain::SearchPcSmbus(frmSplash& splash) {
    gInterfaceType = kInterfaceSmbus;
    Report(splash, "Searching for " + gPartName + " on SMBus...");
    Delay(1000);
    for (int32_t address = 0x10; address <= 0x7F; ++address)
        if (IsKestrum(address))
            cmbDevices->addItem(QString::fromStdString(DeviceEntry(address, kInterfaceSmbus)));
}

void frmMain::SelectFirstChip() {
    if (cmbDevices->count() == 0) {
        Messages().Show("Failed to find the " + gPartName, MsgButtons::OK, MsgIcon::Critical, kAppTitle);
        EndProgramAtOnce(kFatalExitStatus);
    }
    cmbDevices->setCurrentIndex(0);
    cmbDevices_Click();
}

void frmMain::cmbDevices_Click() {
    const int32_t previousAddress = gDeviceAddress;
    const int16_t previousInterface = gInterfaceType;
    SelectDevice(cmbDevices->currentText().toStdString());
    // What is cached of a chip belongs to that chip; start-up reads it for the first one.
    if (searchDone_ && (gDeviceAddress != previousAddress || gInterfaceType != previousInterface))
        ReadSelectedChipState();
}

void frmMain::ReadSelectedChipState() {
    ReadChipState();
    FollowPinConfig();
}

}  // namespace kestrum
