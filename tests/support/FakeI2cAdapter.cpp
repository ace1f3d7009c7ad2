#include "support/FakeI2cAdapter.h"

#include <dlfcn.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace kestrum::test {

namespace {
FakeI2cAdapter* installed = nullptr;

int Fail(int error) {
    errno = error;
    return -1;
}
}  // namespace

FakeI2cAdapter::FakeI2cAdapter(sim::SimulatedBoard& board, std::string path)
    : board_(board), path_(std::move(path)) {
    std::ofstream{path_};
    struct stat file {};
    if (::stat(path_.c_str(), &file) != 0) throw std::runtime_error("cannot create " + path_);
    device_ = file.st_dev;
    inode_ = file.st_ino;
    installed = this;
}

FakeI2cAdapter::~FakeI2cAdapter() {
    installed = nullptr;
    std::remove(path_.c_str());
}

bool FakeI2cAdapter::IsDevice(int fd) const {
    struct stat file {};
    return ::fstat(fd, &file) == 0 && file.st_dev == device_ && file.st_ino == inode_;
}

// What i2c-dev answers, for an adapter that does SMBus byte-data transfers only.
int FakeI2cAdapter::Answer(unsigned long request, void* argument) {
    switch (request) {
        case I2C_FUNCS: *static_cast<unsigned long*>(argument) = I2C_FUNC_SMBUS_BYTE_DATA; return 0;
        case I2C_SLAVE:
        case I2C_SLAVE_FORCE: {
            const auto address = reinterpret_cast<unsigned long>(argument);
            if (address > 0x7F) return Fail(EINVAL);
            if (request == I2C_SLAVE_FORCE)
                forced_ = true;
            else if (held_.count(static_cast<uint8_t>(address)) != 0)
                return Fail(EBUSY);
            selected_ = address;
            return 0;
        }
        case I2C_SMBUS: return Transfer(argument);
        default: return Fail(ENOTTY);
    }
}

int FakeI2cAdapter::Transfer(void* argument) {
    const auto& request = *static_cast<i2c_smbus_ioctl_data*>(argument);
    if (request.size != I2C_SMBUS_BYTE_DATA) return Fail(EOPNOTSUPP);
    const auto address = static_cast<uint8_t>(selected_);
    const bool write = request.read_write == I2C_SMBUS_WRITE;
    i2c_smbus_data& data = *request.data;
    transfers_.push_back({write, address, request.command, write ? data.byte : uint8_t{0xFF}});

    if (failing_ > 0) {
        --failing_;
        return Fail(EIO);
    }
    if (board_.SmbusChip(address) == nullptr) return Fail(ENXIO);  // nobody acknowledged
    if (write) {
        board_.WriteSmbus(address, request.command, data.byte);
    } else {
        data.byte = board_.ReadSmbus(address, request.command);
        transfers_.back().data = data.byte;
    }
    return 0;
}

}  // namespace kestrum::test

// The test program's ioctl() takes the place of the C library's, for every caller.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    using kestrum::test::installed;
    if (installed != nullptr && installed->IsDevice(fd)) return installed->Answer(request, argument);
    using Ioctl = int (*)(int, unsigned long, ...);
    static const auto next = reinterpret_cast<Ioctl>(dlsym(RTLD_NEXT, "ioctl"));
    return next(fd, request, argument);
}
