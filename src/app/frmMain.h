#pragma once
// The main window: an MDI frame whose menus and toolbar open every other window, with the
// device list, the status bar and the master timer that drives all periodic work.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <array>

#include "core/General.h"
#include "core/MainCommands.h"
#include "widgets/WindowManager.h"

namespace kestrum {

class frmSplash;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    WindowManager& Windows() { return *windows_; }

    // The chip search, reporting its progress on the splash window. May end the program.
    void MDIForm_Load(frmSplash& splash);
    // Saves the window's geometry unless it is minimised.
    void MDIForm_Unload();

    // Status bar panel 1..3: the status text, the date, the time.
    QLabel* StatusPanel(int panel) const { return statusPanels_.at(static_cast<size_t>(panel - 1)); }
    // The menu item or toolbar button of a command.
    QAction* MenuItem(Command command) const;
    QAction* ToolbarItem(Command command) const;

    QMdiArea* mdiArea = nullptr;
    QToolBar* tbToolBar = nullptr;
    QComboBox* cmbDevices = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    QTimer* tmrMaster = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuView = nullptr;
    QMenu* mnuConfig = nullptr;
    QMenu* mnuFanControl = nullptr;
    QMenu* mnuBoard = nullptr;
    QMenu* mnuWindow = nullptr;
    QAction* mnuExit = nullptr;

public slots:
    void mnuSave_Click();
    void mnuLog_Click();
    void mnuExit_Click();
    void mnuRegMap_Click();
    void mnuGraph_Click();
    void mnuLimits_Click();
    void mnuEasySetup_Click();
    void mnuFanConfig_Click();
    void mnuGenConfig_Click();
    void mnuPinConfig_Click();
    void mnuVoltage_Click();
    void mnuTHERM_Click();
    void mnuGPIO_Click();
    void mnuEDO_Click();
    void mnuAutoControl_Click();
    void mnuDynTmin_Click();
    void mnuManualControl_Click();
    void mnuHeaters_Click();
    void mnuSwitches_Click();
    void mnuAbout_Click();

    void tbToolBar_ButtonClick(const QString& key);
    void cmbDevices_Click();
    void tmrMaster_Timer();
    // Lists the open child windows in the "Window" menu.
    void UpdateWindowMenu();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class TimerSwitch final : public MasterTimerSwitch {
    public:
        explicit TimerSwitch(QTimer& timer) : timer_(timer) {}
        void SetEnabled(bool enabled) override;
        bool IsEnabled() const override { return timer_.isActive(); }

    private:
        QTimer& timer_;
    };

    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    QAction* AddMenuItem(QMenu& menu, const char* caption, const char* name, Command command,
                         void (frmMain::*handler)());
    void RunCommand(Command command);
    void UpdateDateAndTime();
    // Unloads every child window, then the main window itself.
    void UnloadEverything();

    void RestoreGeometry();
    void ConnectAdapter(frmSplash& splash);
    void SearchAdapterBus(frmSplash& splash);
    void SearchPcSmbus(frmSplash& splash);
    // The first chip found becomes the selected one; without any the program ends.
    void SelectFirstChip();
    void ReadSelectedChipState();

    WindowManager* windows_ = nullptr;
    std::array<QLabel*, 3> statusPanels_{};
    std::array<QAction*, kCommandCount> menuItems_{};
    std::array<QAction*, kCommandCount> toolbarItems_{};
    TimerSwitch timerSwitch_;
    bool searchDone_ = false;
    bool unloaded_ = false;
};

}  // namespace kestrum
