#pragma once
// The Limits/Interrupts window's procedures, one per tab step: filling a tab (Init…),
// showing the selected channel's limits (Show…Limits), writing the limits a marker drag
// left (Write…), the half-second readings (Show…Reading) and the lamps. The window hands
// each the controls and bindings it works on; the arithmetic is in LimitConversions.

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>

#include "monitor/LimitConversions.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kestrum {
class Lamp;
class LinearGauge;
class RegisterBinding;
}  // namespace kestrum

namespace kestrum::LimitFormSubs {

// A limit tab: the list of its channels, and the gauge that shows the selected channel's
// limits on its markers and its reading on needle 1 and the caption.
class LimitTab {
public:
    LimitTab() = default;
    LimitTab(QComboBox* list, LinearGauge* gauge) : list_(list), gauge_(gauge) {}
    QComboBox& List() const { return *list_; }
    LinearGauge& Gauge() const { return *gauge_; }

    // Needle 1 at the value, the caption the value followed by its unit. A reading already
    // shown is not formatted again.
    void ShowReading(double value, const char* unit);
    // Needle 1 at 0, the caption "Disabled" (the THERM Timer tab with no channel).
    void ShowNoReading();

private:
    QComboBox* list_ = nullptr;
    LinearGauge* gauge_ = nullptr;
    double shownValue_ = std::numeric_limits<double>::quiet_NaN();
    const char* shownUnit_ = nullptr;  // nullptr: "Disabled"
};

// A table's rows, by row: the channel's caption, mask box and lamp.
struct TableRows {
    std::span<QLabel* const> labels;
    std::span<QCheckBox* const> boxes;
    std::span<Lamp* const> lamps;
};

void InitTempTab(LimitTab& tab, const TableRows& rows, const RegisterBinding& mask);
void ShowTempLimits(LimitTab& tab);
void WriteTempLimits(LimitTab& tab);
void ShowTempReading(LimitTab& tab);

void InitThermPinTab(LimitTab& tab);
void ShowThermPinLimit(LimitTab& tab);
void WriteThermPinLimit(LimitTab& tab);
void ShowThermPinReading(LimitTab& tab);

void InitThermTimerTab(LimitTab& tab, const RegisterBinding& mask);
void ShowThermTimerLimit(LimitTab& tab);
void WriteThermTimerLimit(LimitTab& tab);
void ShowThermTimerReading(LimitTab& tab);

void InitFanTab(LimitTab& tab, const TableRows& rows, const RegisterBinding& mask);
void ShowFanLimit(LimitTab& tab);
void WriteFanLimit(LimitTab& tab);
void ShowFanReading(LimitTab& tab);
// Enables fan's label, lamp and mask box together when its tach is enabled and its pin is
// a tach input; otherwise disables all three (the lamp then draws itself absent).
void SetFanRowEnabled(const TableRows& rows, int fan, int32_t tachEnable);

// The row labels of pins with several ranges take the caption of the entry offered.
void InitVoltTab(LimitTab& tab, std::span<QLabel* const> labels, const RegisterBinding& mask1,
                 const RegisterBinding& mask2);
void ShowVoltLimits(LimitTab& tab);
void WriteVoltLimits(LimitTab& tab);
void ShowVoltReading(LimitTab& tab);

void InitDigitalMasks(const RegisterBinding& mask);
// Reads the status registers in the order given and sets every lamp bound to them.
void UpdateAlertToggles(std::initializer_list<const RegisterBinding*> statuses);

}  // namespace kestrum::LimitFormSubs
