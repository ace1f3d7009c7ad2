#include "core/Declarations.h"

namespace kestrum {

void ResetDeclarationsState() {
    gGraphFormOpen = false;
    gRegMapFormOpen = false;
    gHeatersFormOpen = false;
    gLimitsFormOpen = false;
    gManualControlFormOpen = false;
    gManualSliderHeld = false;
    gAutoGraphFormOpen = false;
    gDynTminFormOpen = false;
    gGPIOFormOpen = false;
    gDemoRunning = false;
    gLogChannel.fill(LogChannel{});
    gLoggingOn = false;
    gLogFileName.clear();
    gLogLineCount = 0;
}

}  // namespace kestrum
