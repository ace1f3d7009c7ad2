#pragma once
// A widget benchmark's program after start-up with one window open in an MDI frame, the
// measurement task off so that only the window's own master-timer task runs.

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
        window = &windows.template Open<W>();
    }
    ~WindowRig() { windows.UnloadAll(); }
    WindowRig(const WindowRig&) = delete;
    WindowRig& operator=(const WindowRig&) = delete;
};

}  // namespace kestrum
