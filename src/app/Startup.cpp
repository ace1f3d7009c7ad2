#include "app/Startup.h"

#include <QApplication>
#include <QIcon>
#include <memory>

#include "app/Pictures.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "features/config/frmEasySetup.h"
#include "regmap/RegMapStuff.h"

namespace kestrum {

namespace {

// The shared state, in this order: InitDefaults reads the chip that the search selected,
// and the board switches follow the pin functions that ReadPinConfig decodes.
void InitSharedState() {
    InitDefaults();
    InitRegisterTable();
    InitBoardIO();
    InitVoltageNames();
    ReadPinConfig();
    UpdateBoardSwitches();
}

}  // namespace

bool Main() {
    ProbeLinks();
    SetPartName();
    QApplication::setWindowIcon(QIcon(ProgramPicture()));

    auto splash = std::make_unique<frmSplash>();
    splash->Form_Load();
    splash->show();
    splash->repaint();

    auto mainForm = std::make_unique<frmMain>();
    mainForm->MDIForm_Load(*splash);
    splash.reset();
    mainForm->show();

    InitSharedState();
    mainForm->tmrMaster->start();
    if (ShouldOpenEasySetup()) mainForm->Windows().Open<frmEasySetup>();

    // From here the window owns itself: closing it deletes it.
    mainForm->setAttribute(Qt::WA_DeleteOnClose);
    mainForm.release();
    return true;
}

}  // namespace kestrum
