#pragma once
// The simulated board's recorded traffic, decoded into what the program meant: register
// reads, block reads and writes, and the board's switch and heater requests. A test
// states the traffic it expects in order: ExpectTraffic({R(0x01), W(0x01, 0x21)}).

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "sim/SimulatedBoard.h"

namespace kestrum::test {

enum class AccessKind {
    Read,
    Write,
    Block,
    SwitchRead,
    SwitchWrite,
    HeaterRead,
    HeaterWrite,
    Connect,
    Other
};

struct Access {
    AccessKind kind = AccessKind::Other;
    int32_t address = sim::SimulatedBoard::kDefaultChipAddress;  // chip, switch device or heater
    int32_t reg = 0;    // register, first register of a block, or the request code of Other
    int32_t value = 0;  // byte written, block length, or heater percent

    friend bool operator==(const Access&, const Access&) = default;
};
std::ostream& operator<<(std::ostream& out, const Access& access);

// Accesses of the chip at 0x5C unless another address is given.
Access R(int32_t reg, int32_t chip = sim::SimulatedBoard::kDefaultChipAddress);
Access W(int32_t reg, int32_t value, int32_t chip = sim::SimulatedBoard::kDefaultChipAddress);
Access B(int32_t first, int32_t count, int32_t chip = sim::SimulatedBoard::kDefaultChipAddress);
Access SwitchWrite(int32_t device, int32_t byte);
Access HeaterWrite(int32_t heater, int32_t percent);
Access SwitchRead(int32_t device);
Access HeaterRead();

std::vector<Access> Decode(const std::vector<sim::Transfer>& transfers);
std::vector<Access> Decode(const std::vector<sim::SmbusAccess>& accesses);

// Only the register writes, in order.
std::vector<Access> WritesOnly(const std::vector<Access>& traffic);

}  // namespace kestrum::test
