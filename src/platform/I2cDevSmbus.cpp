#include "platform/I2cDevSmbus.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern "C" {
#include <i2c/smbus.h>
}

namespace kestrum {

namespace {

// Empty when the open device is an i2c adapter that can read and write single registers.
std::string WhyNotAnSmbusAdapter(int fd, const std::string& devicePath) {
    unsigned long functions = 0;
    if (::ioctl(fd, I2C_FUNCS, &functions) < 0) {
        const int error = errno;
        if (error == ENOTTY) return devicePath + " is not an i2c adapter";
        return "cannot ask " + devicePath + " what it supports: " + std::strerror(error);
    }
    constexpr unsigned long kByteData = I2C_FUNC_SMBUS_READ_BYTE_DATA | I2C_FUNC_SMBUS_WRITE_BYTE_DATA;
    if ((functions & kByteData) != kByteData)
        return devicePath + " does not support SMBus byte-data transfers";
    return {};
}

}  // namespace

std::unique_ptr<I2cDevSmbus> I2cDevSmbus::Open(const std::string& devicePath, std::string& why) {
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        why = "cannot open " + devicePath + ": " + std::strerror(error);
        if (error == EACCES || error == EPERM)
            why += " (the user must be a member of group i2c, or the device must be made accessible)";
        else if (error == ENOENT)
            why += " (is the i2c-dev kernel module loaded? try: modprobe i2c-dev)";
        return nullptr;
    }
    // Opened first, so that the owner closes the device on every path.
    auto bus = std::unique_ptr<I2cDevSmbus>(new I2cDevSmbus(fd));
    why = WhyNotAnSmbusAdapter(fd, devicePath);
    if (!why.empty()) return nullptr;
    return bus;
}

I2cDevSmbus::~I2cDevSmbus() { ::close(fd_); }

void I2cDevSmbus::DetectSmbus(int32_t) {}

bool I2cDevSmbus::Select(uint8_t address) {
    return ::ioctl(fd_, I2C_SLAVE, static_cast<unsigned long>(address)) >= 0;
}

// The library reports no status: an empty address reads as a floating bus.
uint8_t I2cDevSmbus::ReadSmbus(uint8_t address, uint8_t reg) {
    if (!Select(address)) return 0xFF;
    const int32_t result = i2c_smbus_read_byte_data(fd_, reg);
    return result < 0 ? 0xFF : static_cast<uint8_t>(result);
}

void I2cDevSmbus::WriteSmbus(uint8_t address, uint8_t reg, uint8_t data) {
    if (Select(address)) i2c_smbus_write_byte_data(fd_, reg, data);
}

}  // namespace kestrum
