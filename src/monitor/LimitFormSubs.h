#pragma once
// The Limits/Interrupts window's procedures, one per tab step: filling a tab (Init…),
// showing the selected channel's limits (Show…Limits), writing the limits a marker drag
// left (Write…), the half-second readings (Show…Reading) and the lamps. Each reaches the
// window's controls through the one open instance it is given; the arithmetic is in
// LimitConversions.

#include <cstdint>

#include "monitor/LimitConversions.h"

namespace kestrum {
class frmLimits;
}

namespace kestrum::LimitFormSubs {

void InitTempTab(frmLimits& form);
void ShowTempLimits(frmLimits& form);
void WriteTempLimits(frmLimits& form);
void ShowTempReading(frmLimits& form);

void InitThermPinTab(frmLimits& form);
void ShowThermPinLimit(frmLimits& form);
void WriteThermPinLimit(frmLimits& form);
void ShowThermPinReading(frmLimits& form);

void InitThermTimerTab(frmLimits& form);
void ShowThermTimerLimit(frmLimits& form);
void WriteThermTimerLimit(frmLimits& form);
void ShowThermTimerReading(frmLimits& form);

void InitFanTab(frmLimits& form);
void ShowFanLimit(frmLimits& form);
void WriteFanLimit(frmLimits& form);
void ShowFanReading(frmLimits& form);
// Enables fan's label, lamp and mask box together when its tach is enabled and its pin is
// a tach input; otherwise disables all three (the lamp then draws itself absent).
void SetFanRowEnabled(frmLimits& form, int fan, int32_t tachEnable);

void InitVoltTab(frmLimits& form);
void ShowVoltLimits(frmLimits& form);
void WriteVoltLimits(frmLimits& form);
void ShowVoltReading(frmLimits& form);

void InitDigitalMasks(frmLimits& form);
// Reads the seven status copies in order and sets every lamp from them.
void UpdateAlertToggles(frmLimits& form);

}  // namespace kestrum::LimitFormSubs
