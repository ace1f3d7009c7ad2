#pragma once
// Chooses the link backends from the environment: KESTRUM_SIMULATE=1 puts the simulated
// evaluation board behind the USB adapter library; KESTRUM_SMBUS_DEVICE=/dev/i2c-N puts
// that i2c-dev bus behind the PC SMBus library. Without them the libraries are absent.

#include <functional>
#include <iosfwd>
#include <memory>

#include "platform/LinkLibraries.h"

namespace kestrum {

struct InstalledBackends {
    std::unique_ptr<UsbAdapterBackend> usb;
    std::unique_ptr<SmbusBackend> smbus;
    ~InstalledBackends();  // uninstalls what it installed
};

// `getenv` is the environment lookup; reasons a backend could not be used, or how to choose
// one when none was, go to `errors`.
std::unique_ptr<InstalledBackends> InstallBackendsFromEnvironment(
    const std::function<const char*(const char*)>& getenv, std::ostream& errors);

}  // namespace kestrum
