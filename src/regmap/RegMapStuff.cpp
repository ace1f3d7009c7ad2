#include "regmap/RegMapStuff.h"

namespace kestrum {

void ResetRegMapState() { gRegisters.fill(RegisterInfo{}); }

void InitRegisterTable() {
    for (int i = 0; i < kRegisterCount; ++i) {
        const RegisterRecord& source = kRegisterRecords[i];
        RegisterInfo& record = gRegisters[i];
        record.Address = source.address;
        record.Name = source.name;
        record.Description = record.Name;
        record.BitNames = source.bitNames;
        record.Default = source.defaultValue;
        record.ReadOnly = source.readOnly;
        record.Saved = false;
    }
    // An address has a second name exactly when one of the trailing alternates names it.
    for (RegisterInfo& record : gRegisters) record.SharedAddress = false;
    for (int i = kPrimaryRegisterCount; i < kRegisterCount; ++i) {
        gRegisters[i].SharedAddress = true;
        gRegisters[FindRegisterByAddress(gRegisters[i].Address)].SharedAddress = true;
    }
}

int FindRegisterByAddress(int32_t address) {
    for (int i = 0; i < kRegisterCount; ++i)
        if (gRegisters[i].Address == address && !gRegisters[i].Name.empty()) return i;
    return kRegisterNotFound;
}

int FindRegisterByName(std::string_view name) {
    for (int i = 0; i < kRegisterCount; ++i)
        if (gRegisters[i].Name == name && !name.empty()) return i;
    return kRegisterNotFound;
}

std::array<std::string, 8> SplitBitNames(const RegisterInfo& record) {
    std::array<std::string, 8> names;
    std::string_view rest = record.BitNames;
    for (std::string& name : names) {
        const size_t colon = rest.find(':');
        name = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    return names;
}

}  // namespace kestrum
