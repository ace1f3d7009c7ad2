#pragma once
// The chip's named registers as constant data: the one description that both the
// simulated chip (power-on state, read-only set) and the register table are built from.

#include <array>
#include <cstdint>

namespace kestrum {

struct RegisterRecord {
    int32_t address;
    const char* name;
    const char* bitNames;  // eight names, bit 7 first, separated by ':'
    int16_t defaultValue;
    bool readOnly;
};

inline constexpr int kRegisterCount = 176;
inline constexpr int kPrimaryRegisterCount = 159;  // one record per address, ascending

extern const std::array<RegisterRecord, kRegisterCount> kRegisterRecords;

}  // namespace kestrum
