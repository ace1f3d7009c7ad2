#pragma once
// The PC SMBus library over Linux i2c-dev (/dev/i2c-N).

#include <bitset>
#include <memory>
#include <string>

#include "platform/LinkLibraries.h"

namespace kestrum {

class I2cDevSmbus final : public SmbusBackend {
public:
    // Opens the device; nullptr with the reason in `why` when it cannot be opened or is not
    // an i2c adapter that can read and write single registers (SMBus byte data). `sysfs` is
    // where the kernel shows which driver holds a busy address.
    static std::unique_ptr<I2cDevSmbus> Open(const std::string& devicePath, std::string& why,
                                             const std::string& sysfs = "/sys");
    ~I2cDevSmbus() override;

    void DetectSmbus(int32_t reserved) override;
    uint8_t ReadSmbus(uint8_t address, uint8_t reg) override;
    void WriteSmbus(uint8_t address, uint8_t reg, uint8_t data) override;

private:
    I2cDevSmbus(int fd, std::string devicePath, std::string sysfs);
    bool Select(uint8_t address);
    // Says once per address, on standard error, that a kernel driver holds it.
    void ReportHeld(uint8_t address);

    int fd_;
    std::string devicePath_;
    std::string sysfs_;
    std::bitset<128> reported_;
};

}  // namespace kestrum
