#pragma once
// The chip set-up of the dynamic Tmin demonstration on the Remote2 channel: every PWM
// driven by Remote2, dynamic Tmin for Remote2 on with its operating point loaded on a
// THERM2 event, and fixed Remote2 limits. The window's demonstration button runs it.

namespace kestrum {

// Clears bits 1:0 of switch device 0x4A (on the adapter link only; the status is not
// examined and the board-switch flags are left alone), then writes the chip's
// demonstration configuration, register by register in a fixed order.
void WriteDemoConfiguration();

}  // namespace kestrum
