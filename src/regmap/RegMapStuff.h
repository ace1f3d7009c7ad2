#pragma once
// The register table: one record per named register, built once at start-up from the
// chip's register records and read-only afterwards.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/RegisterData.h"

namespace kestrum {

struct RegisterInfo {
    int32_t Address = 0;
    std::string Name;
    std::string Description;  // always equal to Name
    std::string BitNames;     // eight names, bit 7 first, separated by ':'
    int16_t Default = 0;
    bool ReadOnly = false;
    bool Saved = false;          // never set
    bool SharedAddress = false;  // the address has a second name
};

inline std::array<RegisterInfo, kRegisterCount> gRegisters{};

void ResetRegMapState();
void InitRegisterTable();

inline constexpr int kRegisterNotFound = -1;
// The first record with that address (primaries come first), or kRegisterNotFound.
int FindRegisterByAddress(int32_t address);
// The first record whose name matches exactly, case and blanks included.
int FindRegisterByName(std::string_view name);

// The eight bit names of a record: element 0 is bit 7's name, element 7 bit 0's.
std::array<std::string, 8> SplitBitNames(const RegisterInfo& record);

}  // namespace kestrum
