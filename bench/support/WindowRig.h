#pragma once
// The program after start-up on the simulated adapter with one window open in an MDI
// frame, as the main window opens it; the measurement task is off, so a tick runs only
// the window's own task.

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include "core/General.h"
#include "support/BenchSupport.h"
#include "widgets/WindowManager.h"

namespace kestrum {

template <typename W>
struct WindowRig : BoardRig {
    QMainWindow frame;
    QMdiArea* area = new QMdiArea(&frame);  // owned by the frame
    WindowManager windows{*area};

    WindowRig() {
        gMeasureEnabled = false;
        frame.setCentralWidget(area);
        frame.resize(1200, 900);
        frame.show();
        windows.Open<W>();
        QApplication::processEvents();
    }
    ~WindowRig() { windows.UnloadAll(); }
    W& Window() { return *windows.Find<W>(); }
};

}  // namespace kestrum
