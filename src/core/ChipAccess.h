#pragma once
// How windows reach the selected chip: the three register primitives with gDeviceAddress,
// the write status ignored (a failed adapter transfer ends the program inside the
// primitive). A block read copies its bytes out of gRegBuffer at once, so that no later
// transfer (a read, or the post-write hook) can overwrite them before they are used.

#include <array>
#include <cstdint>

#include "core/USBStuff.h"

namespace kestrum {

class RegisterBlock {
public:
    RegisterBlock(int32_t first, int16_t count) : first_(first), count_(count) {}
    // Byte i of the block (its first register + i).
    int32_t operator[](int i) const { return bytes_.at(i); }
    // The byte of register `reg`, which must lie in the block.
    int32_t Of(int32_t reg) const { return (*this)[reg - first_]; }

private:
    friend RegisterBlock ChipReadBlock(int32_t first, int16_t count);
    int32_t first_;
    int16_t count_;
    std::array<uint8_t, kRegBufferSize> bytes_{};
};

int32_t ChipRead(int32_t reg);
void ChipWrite(int32_t reg, int32_t value);
RegisterBlock ChipReadBlock(int32_t first, int16_t count);
// Read afresh, change the field (`width` bits from `lowBit`), write back.
void ChipWriteField(int32_t reg, int lowBit, int width, int32_t value);
inline void ChipWriteBit(int32_t reg, int bit, bool set) { ChipWriteField(reg, bit, 1, set ? 1 : 0); }

}  // namespace kestrum
