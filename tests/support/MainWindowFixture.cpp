#include "support/MainWindowFixture.h"

#include "core/General.h"
#include "core/Settings.h"

namespace kestrum::test {

void MainWindowTest::SetUp() {
    KestrumTest::SetUp();
    gUSBPresent = true;
    SetPartName();
    main = std::make_unique<frmMain>();
    splash = std::make_unique<frmSplash>();
}

void MainWindowTest::TearDown() {
    splash.reset();
    main.reset();
    KestrumTest::TearDown();
}

void MainWindowTest::LoadMain() {
    splash->Form_Load();
    splash->show();
    main->MDIForm_Load(*splash);
}

std::array<std::string, 4> MainWindowTest::StoredGeometry() const {
    return {GetSetting("MainLeft", ""), GetSetting("MainTop", ""), GetSetting("MainWidth", ""),
            GetSetting("MainHeight", "")};
}

}  // namespace kestrum::test
