#include "support/Traffic.h"

#include <ostream>

namespace kestrum::test {

namespace {

constexpr int16_t kConnect = 0xDD;
constexpr int16_t kRegister = 0xDE;
constexpr int16_t kBlock = 0xDC;
constexpr int16_t kHeater = 0xDA;
constexpr int16_t kSwitch = 0xDF;

Access Make(AccessKind kind, int32_t address, int32_t reg, int32_t value) {
    return {kind, address, reg, value};
}

Access DecodeOne(const sim::Transfer& t) {
    const bool reading = t.direction == 1;
    switch (t.request) {
        case kRegister:
            return reading ? Make(AccessKind::Read, t.value, t.index, 0)
                           : Make(AccessKind::Write, t.value, t.index & 0xFF, t.index >> 8);
        case kBlock: return Make(AccessKind::Block, t.value, t.index, t.length);
        case kSwitch:
            return reading ? Make(AccessKind::SwitchRead, t.value, 0, 0)
                           : Make(AccessKind::SwitchWrite, t.value, 0, t.index);
        case kHeater:
            return reading ? Make(AccessKind::HeaterRead, 0, 0, 0)
                           : Make(AccessKind::HeaterWrite, t.value, 0, t.index);
        case kConnect: return Make(AccessKind::Connect, t.value, 0, t.index);
        default: return Make(AccessKind::Other, t.value, t.request, t.index);
    }
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Access& a) {
    out << std::hex << std::uppercase;
    const auto chip = [&] {
        if (a.address != sim::SimulatedBoard::kDefaultChipAddress) out << ", chip 0x" << a.address;
    };
    switch (a.kind) {
        case AccessKind::Read:
            out << "R(0x" << a.reg;
            chip();
            out << ")";
            break;
        case AccessKind::Write:
            out << "W(0x" << a.reg << ", 0x" << a.value;
            chip();
            out << ")";
            break;
        case AccessKind::Block:
            out << "B(0x" << a.reg << ", " << std::dec << a.value << std::hex;
            chip();
            out << ")";
            break;
        case AccessKind::SwitchRead: out << "SwitchRead(0x" << a.address << ")"; break;
        case AccessKind::SwitchWrite: out << "SwitchWrite(0x" << a.address << ", 0x" << a.value << ")"; break;
        case AccessKind::HeaterRead: out << "HeaterRead()"; break;
        case AccessKind::HeaterWrite:
            out << "HeaterWrite(" << std::dec << a.address << ", " << a.value << ")";
            break;
        case AccessKind::Connect: out << "Connect()"; break;
        case AccessKind::Other: out << "Request(0x" << a.reg << ")"; break;
    }
    return out << std::dec;
}

Access R(int32_t reg, int32_t chip) { return Make(AccessKind::Read, chip, reg, 0); }
Access W(int32_t reg, int32_t value, int32_t chip) { return Make(AccessKind::Write, chip, reg, value); }
Access B(int32_t first, int32_t count, int32_t chip) { return Make(AccessKind::Block, chip, first, count); }
Access SwitchWrite(int32_t device, int32_t byte) { return Make(AccessKind::SwitchWrite, device, 0, byte); }
Access HeaterWrite(int32_t heater, int32_t percent) {
    return Make(AccessKind::HeaterWrite, heater, 0, percent);
}

Access SwitchRead(int32_t device) { return Make(AccessKind::SwitchRead, device, 0, 0); }
Access HeaterRead() { return Make(AccessKind::HeaterRead, 0, 0, 0); }

std::vector<Access> Decode(const std::vector<sim::Transfer>& transfers) {
    std::vector<Access> traffic;
    traffic.reserve(transfers.size());
    for (const sim::Transfer& t : transfers) traffic.push_back(DecodeOne(t));
    return traffic;
}

std::vector<Access> Decode(const std::vector<sim::SmbusAccess>& accesses) {
    std::vector<Access> traffic;
    traffic.reserve(accesses.size());
    for (const sim::SmbusAccess& a : accesses)
        traffic.push_back(a.write ? W(a.reg, a.data, a.address) : R(a.reg, a.address));
    return traffic;
}

std::vector<Access> WritesOnly(const std::vector<Access>& traffic) {
    std::vector<Access> writes;
    for (const Access& a : traffic)
        if (a.kind == AccessKind::Write) writes.push_back(a);
    return writes;
}

}  // namespace kestrum::test
