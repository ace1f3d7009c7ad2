#pragma once
// A widget benchmark's program after start-up with one window open in an MDI frame, the
// measurement task off so that only the window's own master-timer task runs.

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
    W* window = nullptr;

    WindowRig() {
        gMeasureEnabled = false;
        frame.setCentralWidget(area);
        frame.resize(1200, 900);
        frame.show();  // shown, so that a tick pays for what a visible window repaints
        window = &windows.template Open<W>();
        QApplication::processEvents();
    }
    ~WindowRig() { windows.UnloadAll(); }
    WindowRig(const WindowRig&) = delete;
    WindowRig& operator=(const WindowRig&) = delete;
};

}  // namespace kestrum
