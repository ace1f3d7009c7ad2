#pragma once
// A main window on the simulated board, for the tests of the main window and the windows
// it opens. The chip search runs on the scripted clock, so its delays cost no test time.

#include <memory>

#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "support/Fixture.h"

namespace kestrum::test {

class MainWindowTest : public KestrumTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the chip search with the splash shown, as start-up does.
    void LoadMain();
    // The four geometry settings as stored, empty where absent.
    std::array<std::string, 4> StoredGeometry() const;

    std::unique_ptr<frmMain> main;
    std::unique_ptr<frmSplash> splash;
};

}  // namespace kestrum::test
