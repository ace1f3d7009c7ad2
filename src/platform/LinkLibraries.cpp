#include "platform/LinkLibraries.h"

#include <string>

namespace kestrum {

namespace {
UsbAdapterBackend* usbBackend = nullptr;
SmbusBackend* smbusBackend = nullptr;

UsbAdapterBackend& Usb() {
    if (usbBackend == nullptr) throw LibraryNotFound("USBFunctions");
    return *usbBackend;
}

SmbusBackend& Smbus() {
    if (smbusBackend == nullptr) throw LibraryNotFound("smbus");
    return *smbusBackend;
}
}  // namespace

LibraryNotFound::LibraryNotFound(const char* library)
    : std::runtime_error(std::string("File not found: ") + library) {}

void InstallUsbBackend(UsbAdapterBackend* backend) { usbBackend = backend; }
UsbAdapterBackend* InstalledUsbBackend() { return usbBackend; }

int16_t LoadFirmWare(const char* path) { return Usb().LoadFirmWare(path); }

int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                        uint8_t* buffer) {
    return Usb().VendorIORequest(request, value, index, direction, length, buffer);
}

void InstallSmbusBackend(SmbusBackend* backend) { smbusBackend = backend; }
SmbusBackend* InstalledSmbusBackend() { return smbusBackend; }

void DetectSmbus(int32_t reserved) { Smbus().DetectSmbus(reserved); }
uint8_t ReadSmbus(uint8_t address, uint8_t reg) { return Smbus().ReadSmbus(address, reg); }
void WriteSmbus(uint8_t address, uint8_t reg, uint8_t data) { Smbus().WriteSmbus(address, reg, data); }

}  // namespace kestrum
