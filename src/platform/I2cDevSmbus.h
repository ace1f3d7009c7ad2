#pragma once
// The PC SMBus library over Linux i2c-dev (/dev/i2c-N).

#include <memory>
#include <string>

#include "platform/LinkLibraries.h"

namespace kestrum {

class I2cDevSmbus final : public SmbusBackend {
public:
    // Opens the device; nullptr with the reason in `why` when it cannot be opened or is not
    // an i2c adapter that can read and write single registers (SMBus byte data).
    static std::unique_ptr<I2cDevSmbus> Open(const std::string& devicePath, std::string& why);
    ~I2cDevSmbus() override;

    void DetectSmbus(int32_t reserved) override;
    uint8_t ReadSmbus(uint8_t address, uint8_t reg) override;
    void WriteSmbus(uint8_t address, uint8_t reg, uint8_t data) override;

private:
    explicit I2cDevSmbus(int fd) : fd_(fd) {}
    bool Select(uint8_t address);

    int fd_;
};

}  // namespace kestrum
