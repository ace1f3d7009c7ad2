#include "platform/I2cDevSmbus.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <utility>

#include "platform/Seams.h"

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

// The kernel's name of the device at `address` on bus /dev/i2c-N ("N-00xx"); empty when
// the path names no bus number.
std::string KernelDeviceName(const std::string& devicePath, uint8_t address) {
    std::error_code error;
    std::filesystem::path device = std::filesystem::canonical(devicePath, error);
    if (error) device = devicePath;
    const std::string name = device.filename().string();
    const std::string bus = name.starts_with("i2c-") ? name.substr(4) : std::string();
    if (bus.empty() || bus.find_first_not_of("0123456789") != std::string::npos) return {};
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "-%04x", address);
    return bus + suffix;
}

// The driver bound to that device, as sysfs shows it; empty when it shows none.
std::string BoundDriver(const std::string& sysfs, const std::string& device) {
    if (device.empty()) return {};
    std::error_code error;
    const auto link = std::filesystem::read_symlink(
        std::filesystem::path(sysfs) / "bus/i2c/devices" / device / "driver", error);
    return error ? std::string() : link.filename().string();
}

}  // namespace

std::unique_ptr<I2cDevSmbus> I2cDevSmbus::Open(const std::string& devicePath, std::string& why,
                                               const std::string& sysfs) {
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
    auto bus = std::unique_ptr<I2cDevSmbus>(new I2cDevSmbus(fd, devicePath, sysfs));
    why = WhyNotAnSmbusAdapter(fd, devicePath);
    if (!why.empty()) return nullptr;
    return bus;
}

I2cDevSmbus::I2cDevSmbus(int fd, std::string devicePath, std::string sysfs)
    : fd_(fd), devicePath_(std::move(devicePath)), sysfs_(std::move(sysfs)) {}

I2cDevSmbus::~I2cDevSmbus() { ::close(fd_); }

void I2cDevSmbus::DetectSmbus(int32_t) {}

// A kernel driver bound to the chip makes the address busy. It is skipped, never forced:
// the driver may be in the middle of its own transfers.
bool I2cDevSmbus::Select(uint8_t address) {
    if (::ioctl(fd_, I2C_SLAVE, static_cast<unsigned long>(address)) >= 0) return true;
    if (errno == EBUSY) ReportHeld(address);
    return false;
}

void I2cDevSmbus::ReportHeld(uint8_t address) {
    if (address >= reported_.size() || reported_.test(address)) return;
    reported_.set(address);
    const std::string device = KernelDeviceName(devicePath_, address);
    const std::string driver = BoundDriver(sysfs_, device);
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", address);

    std::ostream& out = Diagnostics();
    out << "kestrum-eval: " << devicePath_ << ": address " << hex << " is in use by "
        << (driver.empty() ? "a kernel driver" : "kernel driver " + driver) << " and is skipped; ";
    if (device.empty())
        out << "unbinding that driver releases it";
    else
        out << "to release it, unbind the driver (as root): echo " << device << " > " << sysfs_
            << "/bus/i2c/drivers/" << (driver.empty() ? "<driver>" : driver) << "/unbind";
    out << '\n';
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
