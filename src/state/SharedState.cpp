#include "state/SharedState.h"

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "core/USBStuff.h"
#include "regmap/RegMapStuff.h"

namespace kestrum {

void ResetAllSharedState() {
    ResetGeneralState();
    ResetDeclarationsState();
    ResetUSBStuffState();
    ResetRegMapState();
    ResetMeasurementState();
    ResetPinDefinitionsState();
    ResetSchedulerState();
}

}  // namespace kestrum
