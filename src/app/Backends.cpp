#include "app/Backends.h"

#include <ostream>
#include <string>

#include "platform/I2cDevSmbus.h"
#include "sim/SimulatedBoard.h"

namespace kestrum {

InstalledBackends::~InstalledBackends() {
    if (usb && InstalledUsbBackend() == usb.get()) InstallUsbBackend(nullptr);
    if (smbus && InstalledSmbusBackend() == smbus.get()) InstallSmbusBackend(nullptr);
}

std::unique_ptr<InstalledBackends> InstallBackendsFromEnvironment(
    const std::function<const char*(const char*)>& getenv, std::ostream& errors) {
    auto installed = std::make_unique<InstalledBackends>();

    const char* simulate = getenv("KESTRUM_SIMULATE");
    const bool simulated = simulate != nullptr && std::string(simulate) == "1";
    if (simulated) {
        installed->usb = std::make_unique<sim::SimulatedBoard>();
        InstallUsbBackend(installed->usb.get());
    }

    const char* device = getenv("KESTRUM_SMBUS_DEVICE");
    const bool deviceNamed = device != nullptr && *device != '\0';
    if (deviceNamed) {
        std::string why;
        installed->smbus = I2cDevSmbus::Open(device, why);
        if (installed->smbus)
            InstallSmbusBackend(installed->smbus.get());
        else
            errors << "kestrum-eval: PC SMBus link not available: " << why << '\n';
    }

    if (!simulated && !deviceNamed)
        errors << "kestrum-eval: no link chosen: KESTRUM_SIMULATE=1 starts the simulated evaluation board, "
                  "KESTRUM_SMBUS_DEVICE=/dev/i2c-N names a PC SMBus bus (i2cdetect -l lists them)\n";
    return installed;
}

}  // namespace kestrum
