#include "monitor/LimitFormSubs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QString>
#include <array>

#include "core/ChipAccess.h"
#include "core/Conversions.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "monitor/frmLimits.h"
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

// The THERM Limits list is matched against the combo's own entries.
int SelectedListEntry(const QComboBox& combo) { return combo.findText(combo.currentText().trimmed()); }

void SelectFirstEntry(QComboBox& combo) {
    if (combo.count() > 0) combo.setCurrentIndex(0);
}

void SetRowEnabled(QLabel* label, QCheckBox* box, Lamp* lamp, bool enabled) {
    label->setEnabled(enabled);
    lamp->setEnabled(enabled);
    box->setEnabled(enabled);
}

}  // namespace

// Temperature tab.

void InitTempTab(frmLimits& form) {
    QComboBox& combo = *form.cmbTemp;
    combo.clear();
    for (size_t n = 0; n < kTempLimitChannels.size(); ++n) {
        if (n == 1 && !gRemote1Enabled) continue;
        if (n == 3 && !gRemote3Enabled) continue;
        combo.addItem(kTempLimitChannels[n].item);
    }
    SelectFirstEntry(combo);
    ShowTempLimits(form);
    form.thermalMask1.LoadFromChip();
    // A remote's temperature row and its diode-error row live only with its diode.
    for (int row : {1, 4})
        SetRowEnabled(form.lblTemp[row], form.chkTempMask[row], form.tglTempAlert[row], gRemote1Enabled);
    for (int row : {3, 6})
        SetRowEnabled(form.lblTemp[row], form.chkTempMask[row], form.tglTempAlert[row], gRemote3Enabled);
}

void ShowTempLimits(frmLimits& form) {
    const int n = Selected(*form.cmbTemp, kTempLimitChannels);
    double low = 0.0;
    double high = 0.0;
    if (n != kNothing) {
        const TempLimitChannel& channel = kTempLimitChannels[static_cast<size_t>(n)];
        low = CelsiusOfRegister(ChipRead(channel.lowRegister));
        high = CelsiusOfRegister(ChipRead(channel.highRegister));
    }
    form.ggeTemp->SetMarkerValue(kLow, low);
    form.ggeTemp->SetMarkerValue(kHigh, high);
}

void WriteTempLimits(frmLimits& form) {
    const int n = Selected(*form.cmbTemp, kTempLimitChannels);
    if (n == kNothing) return;
    const TempLimitChannel& channel = kTempLimitChannels[static_cast<size_t>(n)];
    ChipWrite(channel.lowRegister, RegisterOfCelsius(form.ggeTemp->markerValue(kLow)));
    ChipWrite(channel.highRegister, RegisterOfCelsius(form.ggeTemp->markerValue(kHigh)));
    ShowTempLimits(form);
}

void ShowTempReading(frmLimits& form) {
    const int n = Selected(*form.cmbTemp, kTempLimitChannels);
    form.ShowReading(frmLimits::kTempTab, gTemperature[n == kNothing ? 0 : static_cast<size_t>(n)], "°C");
}

// THERM Limits tab.

void InitThermPinTab(frmLimits& form) {
    SelectFirstEntry(*form.cmbTHERMPin);
    ShowThermPinLimit(form);
}

void ShowThermPinLimit(frmLimits& form) {
    const int k = SelectedListEntry(*form.cmbTHERMPin);
    const double limit = k == kNothing ? 0.0 : CelsiusOfRegister(ChipRead(kThermPinFirstLimit + k));
    form.ggeTHERMPin->SetMarkerValue(kHigh, limit);
}

void WriteThermPinLimit(frmLimits& form) {
    const int k = SelectedListEntry(*form.cmbTHERMPin);
    if (k == kNothing) return;
    ChipWrite(kThermPinFirstLimit + k, RegisterOfCelsius(form.ggeTHERMPin->markerValue(kHigh)));
    ShowThermPinLimit(form);
}

void ShowThermPinReading(frmLimits& form) {
    const int k = SelectedListEntry(*form.cmbTHERMPin);
    const size_t channel = k == kNothing ? 0 : static_cast<size_t>(k) % gTemperature.size();
    form.ShowReading(frmLimits::kThermPinTab, gTemperature[channel], "°C");
}

// THERM Timer tab.

void InitThermTimerTab(frmLimits& form) {
    QComboBox& combo = *form.cmbThermTimer;
    combo.clear();
    for (const PinLimitChannel& channel : kThermTimerChannels)
        if (gPinFunction[static_cast<size_t>(channel.pin)] == kThermPinFunction) combo.addItem(channel.item);
    // Enabled again whenever a reload finds a THERM input, so a pin change can bring it back.
    combo.setEnabled(combo.count() > 0);
    SelectFirstEntry(combo);
    ShowThermTimerLimit(form);
    form.thermalMask2.LoadFromChip();
}

void ShowThermTimerLimit(frmLimits& form) {
    const int n = Selected(*form.cmbThermTimer, kThermTimerChannels);
    const int32_t raw =
        n == kNothing ? 0 : ChipRead(kThermTimerChannels[static_cast<size_t>(n)].limitRegister);
    form.ggeThermTimer->SetMarkerValue(kHigh, PercentOfRegister(raw));
}

void WriteThermTimerLimit(frmLimits& form) {
    const int n = Selected(*form.cmbThermTimer, kThermTimerChannels);
    if (n == kNothing) return;
    ChipWrite(kThermTimerChannels[static_cast<size_t>(n)].limitRegister,
              ThermTimerRegisterOfPercent(form.ggeThermTimer->markerValue(kHigh)));
    ShowThermTimerLimit(form);
}

void ShowThermTimerReading(frmLimits& form) {
    const int n = Selected(*form.cmbThermTimer, kThermTimerChannels);
    if (n == kNothing)
        form.ShowNoReading(frmLimits::kThermTimerTab);
    else
        form.ShowReading(frmLimits::kThermTimerTab, gThermPercent[static_cast<size_t>(n) + 1], "%");
}

// Fans tab.

void InitFanTab(frmLimits& form) {
    QComboBox& combo = *form.cmbFan;
    combo.clear();
    for (size_t fan = 0; fan < kFanLimitChannels.size(); ++fan)
        if (FanOffered(static_cast<int>(fan))) combo.addItem(kFanLimitChannels[fan].item);
    SelectFirstEntry(combo);
    ShowFanLimit(form);
    form.fanMask.LoadFromChip();
    const int32_t tachEnable = ChipRead(kTachEnableRegister);
    for (int fan = 0; fan < static_cast<int>(kFanLimitChannels.size()); ++fan)
        SetFanRowEnabled(form, fan, tachEnable);
}

void SetFanRowEnabled(frmLimits& form, int fan, int32_t tachEnable) {
    const auto i = static_cast<size_t>(fan);
    SetRowEnabled(form.lblFan.at(i), form.chkFanMask.at(i), form.tglFanAlert.at(i),
                  FanRowEnabled(fan, tachEnable));
}

void ShowFanLimit(frmLimits& form) {
    const int n = Selected(*form.cmbFan, kFanLimitChannels);
    const double rpm = n == kNothing ? 0.0
                                     : TachLimitToRpm(static_cast<int16_t>(ChipRead(
                                           kFanLimitChannels[static_cast<size_t>(n)].limitRegister)));
    form.ggeFan->SetMarkerValue(kHigh, rpm);
}

void WriteFanLimit(frmLimits& form) {
    const int n = Selected(*form.cmbFan, kFanLimitChannels);
    if (n == kNothing) return;
    const auto rpm = static_cast<float>(form.ggeFan->markerValue(kHigh));
    ChipWrite(kFanLimitChannels[static_cast<size_t>(n)].limitRegister, RoundToInt32(RpmToTachLimit(rpm)));
    ShowFanLimit(form);
}

void ShowFanReading(frmLimits& form) {
    const int n = Selected(*form.cmbFan, kFanLimitChannels);
    form.ShowReading(frmLimits::kFanTab, gFanRPM[n == kNothing ? 0 : static_cast<size_t>(n)], "rpm");
}

// Voltage tab.

void InitVoltTab(frmLimits& form) {
    QComboBox& combo = *form.cmbVolt;
    combo.clear();
    for (const VoltLimitEntry& entry : kVoltLimitEntries) {
        if (!VoltEntryOffered(entry)) continue;
        combo.addItem(entry.item);
        QLabel* label = form.lblVolt[static_cast<size_t>(entry.row)];
        label->setEnabled(true);
        if (VoltRowTakesItemCaption(entry.row)) label->setText(entry.item);
    }
    SelectFirstEntry(combo);
    ShowVoltLimits(form);
    form.voltageMask1.LoadFromChip();
    form.voltageMask2.LoadFromChip();
}

void ShowVoltLimits(frmLimits& form) {
    const int n = Selected(*form.cmbVolt, kVoltLimitEntries);
    float nominal = 0.0f;
    float low = 0.0f;
    float high = 0.0f;
    if (n != kNothing) {
        const VoltLimitEntry& entry = kVoltLimitEntries[static_cast<size_t>(n)];
        nominal = entry.nominal;
        low = VoltRegToVolts(static_cast<int16_t>(ChipRead(entry.lowRegister)), nominal);
        high = VoltRegToVolts(static_cast<int16_t>(ChipRead(entry.highRegister)), nominal);
    }
    LinearGauge& gauge = *form.ggeVolt;
    const double maximum = VoltScaleMaximum(nominal);
    gauge.SetScale(0.0, maximum);
    gauge.SetNeedleValue(0, maximum);
    gauge.SetNeedleValue(1, maximum / 2.0);
    gauge.SetMarkerValue(kLow, low);
    gauge.SetMarkerValue(kHigh, high);
}

void WriteVoltLimits(frmLimits& form) {
    const int n = Selected(*form.cmbVolt, kVoltLimitEntries);
    if (n == kNothing) return;
    const VoltLimitEntry& entry = kVoltLimitEntries[static_cast<size_t>(n)];
    ChipWrite(entry.lowRegister, VoltLimitCode(form.ggeVolt->markerValue(kLow), entry.nominal));
    ChipWrite(entry.highRegister, VoltLimitCode(form.ggeVolt->markerValue(kHigh), entry.nominal));
    ShowVoltLimits(form);
}

void ShowVoltReading(frmLimits& form) {
    const int n = Selected(*form.cmbVolt, kVoltLimitEntries);
    const int channel = n == kNothing ? 0 : kVoltLimitEntries[static_cast<size_t>(n)].reading;
    form.ShowReading(frmLimits::kVoltTab, gVoltage[static_cast<size_t>(channel)], "V");
}

// Masks and lamps.

void InitDigitalMasks(frmLimits& form) { form.digitalMask.LoadFromChip(); }

void UpdateAlertToggles(frmLimits& form) {
    int32_t status = ChipRead(0xC0);
    for (size_t i = 0; i < form.tglTempAlert.size(); ++i)
        form.tglTempAlert[i]->SetValue(BitIsSet(status, static_cast<int>(i) + 1));

    status = ChipRead(0xC1);
    for (size_t i = 0; i < form.tglTHERMAlert.size(); ++i)
        form.tglTHERMAlert[i]->SetValue(BitIsSet(status, static_cast<int>(i)));
    form.tglDigAlert[5]->SetValue(BitIsSet(status, 6));
    form.tglDigAlert[6]->SetValue(BitIsSet(status, 7));

    status = ChipRead(0xBA);  // the host copy
    for (size_t i = 0; i < form.tglTHERMPinAlert.size(); ++i)
        form.tglTHERMPinAlert[i]->SetValue(BitIsSet(status, static_cast<int>(i)));

    status = ChipRead(0xC3);
    for (size_t row = 0; row < kVoltRowsInFirstRegister; ++row)
        form.tglVoltAlert[row]->SetValue(BitIsSet(status, kVoltRowBit[row]));
    status = ChipRead(0xC4);
    for (size_t row = kVoltRowsInFirstRegister; row < form.tglVoltAlert.size(); ++row)
        form.tglVoltAlert[row]->SetValue(BitIsSet(status, kVoltRowBit[row]));

    status = ChipRead(0xC5);
    for (size_t i = 0; i < form.tglFanAlert.size(); ++i)
        form.tglFanAlert[i]->SetValue(BitIsSet(status, static_cast<int>(i)));

    status = ChipRead(0xC6);
    for (size_t i = 0; i < 5; ++i) form.tglDigAlert[i]->SetValue(BitIsSet(status, static_cast<int>(i) + 3));
}

}  // namespace kestrum::LimitFormSubs
