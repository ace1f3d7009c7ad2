#pragma once
// Stand-ins for the two chip-link libraries: the USB adapter library (firmware download
// and vendor requests) and the PC SMBus driver library. Each forwards to an installed
// backend; with none installed the library "cannot be loaded" and every call throws
// LibraryNotFound, as a missing shared library would fail when first called.

#include <cstdint>
#include <stdexcept>

namespace kestrum {

class LibraryNotFound : public std::runtime_error {
public:
    explicit LibraryNotFound(const char* library);
};

// USB adapter library.
class UsbAdapterBackend {
public:
    virtual ~UsbAdapterBackend() = default;
    // Reads the firmware file itself; 1 or more = adapter attached and loaded.
    virtual int16_t LoadFirmWare(const char* path) = 0;
    // 0 = success. Direction 1 reads length bytes into buffer; 0 reads nothing back.
    virtual int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                    int16_t length, uint8_t* buffer) = 0;
};

void InstallUsbBackend(UsbAdapterBackend* backend);  // nullptr: library absent
UsbAdapterBackend* InstalledUsbBackend();

int16_t LoadFirmWare(const char* path);
int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                        uint8_t* buffer);

// PC SMBus driver library. Byte arguments, no status: a failed read returns what the
// driver returns for an empty bus (0xFF), a failed write is lost.
class SmbusBackend {
public:
    virtual ~SmbusBackend() = default;
    virtual void DetectSmbus(int32_t reserved) = 0;
    virtual uint8_t ReadSmbus(uint8_t address, uint8_t reg) = 0;
    virtual void WriteSmbus(uint8_t address, uint8_t reg, uint8_t data) = 0;
};

void InstallSmbusBackend(SmbusBackend* backend);  // nullptr: library absent
SmbusBackend* InstalledSmbusBackend();

void DetectSmbus(int32_t reserved);
uint8_t ReadSmbus(uint8_t address, uint8_t reg);
void WriteSmbus(uint8_t address, uint8_t reg, uint8_t data);

}  // namespace kestrum
