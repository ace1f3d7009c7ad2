#include "monitor/LimitFormSubs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QString>
#include <array>
#include <string>

#include "core/ChipAccess.h"
#include "core/Conversions.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "widgets/RegisterBinding.h"
#include "widgets/instruments/Lamp.h"
#include "widgets/instruments/LinearGauge.h"

namespace kestrum::LimitFormSubs {

namespace {

constexpr int kLow = LinearGauge::kLowMarker;
constexpr int kHigh = LinearGauge::kHighMarker;
constexpr int kNothing = -1;

// The first entry whose text equals the combo's text, trimmed; kNothing when none does.
template <typename Entries>
int Selected(const QComboBox& combo, const Entries& entries) {
    const QString text = combo.currentText().trimmed();
    for (size_t i = 0; i < entries.size(); ++i)
        if (text == QLatin1String(entries[i].item)) return static_cast<int>(i);
    return kNothing;
}

// The THERM Limits list is matched against the combo's own entries (as findText does, but
// without the model search's allocations: the readings ask twice a second).
int SelectedListEntry(const QComboBox& combo) {
    const QString text = combo.currentText().trimmed();
    for (int i = 0; i < combo.count(); ++i)
        if (combo.itemText(i) == text) return i;
    return kNothing;
}

void SelectFirstEntry(QComboBox& combo) {
    if (combo.count() > 0) combo.setCurrentIndex(0);
}

void SetRowEnabled(const TableRows& rows, size_t row, bool enabled) {
    rows.labels[row]->setEnabled(enabled);
    rows.lamps[row]->setEnabled(enabled);
    rows.boxes[row]->setEnabled(enabled);
}

}  // namespace

void LimitTab::ShowReading(double value, const char* unit) {
    gauge_->SetNeedleValue(1, value);
    if (shownUnit_ == unit && shownValue_ == value) return;
    shownValue_ = value;
    shownUnit_ = unit;
    // Built as one text: a new reading costs the caption's own storage and no more.
    std::string caption = SingleText(static_cast<float>(value));
    caption += unit;
    gauge_->SetCaption(QString::fromStdString(caption));
}

void LimitTab::ShowNoReading() {
    gauge_->SetNeedleValue(1, 0.0);
    if (shownUnit_ == nullptr && shownValue_ == 0.0) return;
    shownValue_ = 0.0;
    shownUnit_ = nullptr;
    gauge_->SetCaption("Disabled");
}

// Temperature tab.

void InitTempTab(LimitTab& tab, const TableRows& rows, const RegisterBinding& mask) {
    QComboBox& combo = tab.List();
    combo.clear();
    for (size_t n = 0; n < kTempLimitChannels.size(); ++n) {
        if (n == 1 && !gRemote1Enabled) continue;
        if (n == 3 && !gRemote3Enabled) continue;
        combo.addItem(kTempLimitChannels[n].item);
    }
    SelectFirstEntry(combo);
    ShowTempLimits(tab);
    mask.LoadFromChip();
    // A remote's temperature row and its diode-error row live only with its diode.
    for (size_t row : {1, 4}) SetRowEnabled(rows, row, gRemote1Enabled);
    for (size_t row : {3, 6}) SetRowEnabled(rows, row, gRemote3Enabled);
}

void ShowTempLimits(LimitTab& tab) {
    const int n = Selected(tab.List(), kTempLimitChannels);
    double low = 0.0;
    double high = 0.0;
    if (n != kNothing) {
        const TempLimitChannel& channel = kTempLimitChannels[n];
        low = CelsiusOfRegister(ChipRead(channel.lowRegister));
        high = CelsiusOfRegister(ChipRead(channel.highRegister));
    }
    tab.Gauge().SetMarkerValue(kLow, low);
    tab.Gauge().SetMarkerValue(kHigh, high);
}

void WriteTempLimits(LimitTab& tab) {
    const int n = Selected(tab.List(), kTempLimitChannels);
    if (n == kNothing) return;
    const TempLimitChannel& channel = kTempLimitChannels[n];
    ChipWrite(channel.lowRegister, RegisterOfCelsius(tab.Gauge().markerValue(kLow)));
    ChipWrite(channel.highRegister, RegisterOfCelsius(tab.Gauge().markerValue(kHigh)));
    ShowTempLimits(tab);
}

void ShowTempReading(LimitTab& tab) {
    const int n = Selected(tab.List(), kTempLimitChannels);
    tab.ShowReading(gTemperature[n == kNothing ? 0 : n], "°C");
}

// THERM Limits tab.

void InitThermPinTab(LimitTab& tab) {
    SelectFirstEntry(tab.List());
    ShowThermPinLimit(tab);
}

void ShowThermPinLimit(LimitTab& tab) {
    const int k = SelectedListEntry(tab.List());
    const double limit = k == kNothing ? 0.0 : CelsiusOfRegister(ChipRead(kThermPinFirstLimit + k));
    tab.Gauge().SetMarkerValue(kHigh, limit);
}

void WriteThermPinLimit(LimitTab& tab) {
    const int k = SelectedListEntry(tab.List());
    if (k == kNothing) return;
    ChipWrite(kThermPinFirstLimit + k, RegisterOfCelsius(tab.Gauge().markerValue(kHigh)));
    ShowThermPinLimit(tab);
}

void ShowThermPinReading(LimitTab& tab) {
    const int k = SelectedListEntry(tab.List());
    const size_t channel = k == kNothing ? 0 : k % gTemperature.size();
    tab.ShowReading(gTemperature[channel], "°C");
}

// THERM Timer tab.

void InitThermTimerTab(LimitTab& tab, const RegisterBinding& mask) {
    QComboBox& combo = tab.List();
    combo.clear();
    for (const PinLimitChannel& channel : kThermTimerChannels)
        if (gPinFunction[channel.pin] == kThermPinFunction) combo.addItem(channel.item);
    // Enabled again whenever a reload finds a THERM input, so a pin change can bring it back.
    combo.setEnabled(combo.count() > 0);
    SelectFirstEntry(combo);
    ShowThermTimerLimit(tab);
    mask.LoadFromChip();
}

void ShowThermTimerLimit(LimitTab& tab) {
    const int n = Selected(tab.List(), kThermTimerChannels);
    const int32_t raw = n == kNothing ? 0 : ChipRead(kThermTimerChannels[n].limitRegister);
    tab.Gauge().SetMarkerValue(kHigh, PercentOfRegister(raw));
}

void WriteThermTimerLimit(LimitTab& tab) {
    const int n = Selected(tab.List(), kThermTimerChannels);
    if (n == kNothing) return;
    ChipWrite(kThermTimerChannels[n].limitRegister,
              ThermTimerRegisterOfPercent(tab.Gauge().markerValue(kHigh)));
    ShowThermTimerLimit(tab);
}

void ShowThermTimerReading(LimitTab& tab) {
    const int n = Selected(tab.List(), kThermTimerChannels);
    if (n == kNothing)
        tab.ShowNoReading();
    else
        tab.ShowReading(gThermPercent[n + 1], "%");
}

// Fans tab.

void InitFanTab(LimitTab& tab, const TableRows& rows, const RegisterBinding& mask) {
    QComboBox& combo = tab.List();
    combo.clear();
    for (size_t fan = 0; fan < kFanLimitChannels.size(); ++fan)
        if (FanOffered(static_cast<int>(fan))) combo.addItem(kFanLimitChannels[fan].item);
    SelectFirstEntry(combo);
    ShowFanLimit(tab);
    mask.LoadFromChip();
    const int32_t tachEnable = ChipRead(kTachEnableRegister);
    for (int fan = 0; fan < static_cast<int>(kFanLimitChannels.size()); ++fan)
        SetFanRowEnabled(rows, fan, tachEnable);
}

void SetFanRowEnabled(const TableRows& rows, int fan, int32_t tachEnable) {
    SetRowEnabled(rows, fan, FanRowEnabled(fan, tachEnable));
}

void ShowFanLimit(LimitTab& tab) {
    const int n = Selected(tab.List(), kFanLimitChannels);
    const double rpm =
        n == kNothing ? 0.0
                      : TachLimitToRpm(static_cast<int16_t>(ChipRead(kFanLimitChannels[n].limitRegister)));
    tab.Gauge().SetMarkerValue(kHigh, rpm);
}

void WriteFanLimit(LimitTab& tab) {
    const int n = Selected(tab.List(), kFanLimitChannels);
    if (n == kNothing) return;
    const auto rpm = static_cast<float>(tab.Gauge().markerValue(kHigh));
    ChipWrite(kFanLimitChannels[n].limitRegister, RoundToInt32(RpmToTachLimit(rpm)));
    ShowFanLimit(tab);
}

void ShowFanReading(LimitTab& tab) {
    const int n = Selected(tab.List(), kFanLimitChannels);
    tab.ShowReading(gFanRPM[n == kNothing ? 0 : n], "rpm");
}

// Voltage tab.

void InitVoltTab(LimitTab& tab, std::span<QLabel* const> labels, const RegisterBinding& mask1,
                 const RegisterBinding& mask2) {
    QComboBox& combo = tab.List();
    combo.clear();
    for (const VoltLimitEntry& entry : kVoltLimitEntries) {
        if (!VoltEntryOffered(entry)) continue;
        combo.addItem(entry.item);
        QLabel* label = labels[entry.row];
        label->setEnabled(true);
        if (VoltRowTakesItemCaption(entry.row)) label->setText(entry.item);
    }
    SelectFirstEntry(combo);
    ShowVoltLimits(tab);
    mask1.LoadFromChip();
    mask2.LoadFromChip();
}

void ShowVoltLimits(LimitTab& tab) {
    const int n = Selected(tab.List(), kVoltLimitEntries);
    float nominal = 0.0f;
    float low = 0.0f;
    float high = 0.0f;
    if (n != kNothing) {
        const VoltLimitEntry& entry = kVoltLimitEntries[n];
        nominal = entry.nominal;
        low = VoltRegToVolts(static_cast<int16_t>(ChipRead(entry.lowRegister)), nominal);
        high = VoltRegToVolts(static_cast<int16_t>(ChipRead(entry.highRegister)), nominal);
    }
    LinearGauge& gauge = tab.Gauge();
    const double maximum = VoltScaleMaximum(nominal);
    gauge.SetScale(0.0, maximum);
    gauge.SetNeedleValue(0, maximum);
    gauge.SetNeedleValue(1, maximum / 2.0);
    gauge.SetMarkerValue(kLow, low);
    gauge.SetMarkerValue(kHigh, high);
}

void WriteVoltLimits(LimitTab& tab) {
    const int n = Selected(tab.List(), kVoltLimitEntries);
    if (n == kNothing) return;
    const VoltLimitEntry& entry = kVoltLimitEntries[n];
    ChipWrite(entry.lowRegister, VoltLimitCode(tab.Gauge().markerValue(kLow), entry.nominal));
    ChipWrite(entry.highRegister, VoltLimitCode(tab.Gauge().markerValue(kHigh), entry.nominal));
    ShowVoltLimits(tab);
}

void ShowVoltReading(LimitTab& tab) {
    const int n = Selected(tab.List(), kVoltLimitEntries);
    const int channel = n == kNothing ? 0 : kVoltLimitEntries[n].reading;
    tab.ShowReading(gVoltage[channel], "V");
}

// Masks and lamps.

void InitDigitalMasks(const RegisterBinding& mask) { mask.LoadFromChip(); }

void UpdateAlertToggles(std::initializer_list<const RegisterBinding*> statuses) {
    for (const RegisterBinding* status : statuses) status->LoadFromChip();
}

}  // namespace kestrum::LimitFormSubs
