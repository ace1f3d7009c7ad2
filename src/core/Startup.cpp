#include "core/Startup.h"

#include "core/General.h"

namespace kestrum {

bool Main() {
    ProbeLinks();
    SetPartName();
    return false;
}

}  // namespace kestrum
