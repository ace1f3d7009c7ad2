#include "core/ChipAccess.h"

#include <algorithm>

#include "core/Conversions.h"

namespace kestrum {

int32_t ChipRead(int32_t reg) { return ReadRegister(gDeviceAddress, reg); }

void ChipWrite(int32_t reg, int32_t value) { WriteRegister(gDeviceAddress, reg, value); }

RegisterBlock ChipReadBlock(int32_t first, int16_t count) {
    RegisterBlock block(first, std::clamp<int16_t>(count, 0, kRegBufferSize));
    BlockRead(gDeviceAddress, first, block.count_);
    std::copy_n(gRegBuffer.begin(), block.count_, block.bytes_.begin());
    return block;
}

void ChipWriteField(int32_t reg, int lowBit, int width, int32_t value) {
    ChipWrite(reg, WithField(ChipRead(reg), lowBit, width, value));
}

}  // namespace kestrum
