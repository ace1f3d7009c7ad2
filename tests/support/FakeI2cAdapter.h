#pragma once
// The kernel's i2c adapter, faked for a test program that links FakeI2cAdapter.cpp: that
// program's own ioctl() answers the i2c-dev requests (I2C_FUNCS, I2C_SLAVE, I2C_SMBUS byte
// data) on one device file, with the PC SMBus chips of a simulated board behind it. Any
// other file goes on to the C library, so the driver under test runs unchanged.

#include <sys/types.h>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "sim/SimulatedBoard.h"

namespace kestrum::test {

class FakeI2cAdapter {
public:
    // Creates the device file at `path` and answers for it while the object lives.
    FakeI2cAdapter(sim::SimulatedBoard& board, std::string path);
    ~FakeI2cAdapter();
    FakeI2cAdapter(const FakeI2cAdapter&) = delete;
    FakeI2cAdapter& operator=(const FakeI2cAdapter&) = delete;

    const std::string& Path() const { return path_; }
    // A kernel driver is bound at the address: selecting it answers EBUSY.
    void HoldByKernelDriver(uint8_t address) { held_.insert(address); }
    // The next `count` transfers fail with EIO, as on a disturbed bus.
    void FailTransfers(int count) { failing_ = count; }

    // Every transfer tried, in order (a failed read as 0xFF), and whether an address was
    // ever forced past a driver that holds it.
    const std::vector<sim::SmbusAccess>& Transfers() const { return transfers_; }
    bool ForcedAny() const { return forced_; }

    // The ioctl() of a descriptor open on the device file; -1 with errno as the kernel sets it.
    int Answer(unsigned long request, void* argument);
    bool IsDevice(int fd) const;

private:
    int Transfer(void* argument);

    sim::SimulatedBoard& board_;
    std::string path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::set<uint8_t> held_;
    int failing_ = 0;
    unsigned long selected_ = 0;
    bool forced_ = false;
    std::vector<sim::SmbusAccess> transfers_;
};

}  // namespace kestrum::test
