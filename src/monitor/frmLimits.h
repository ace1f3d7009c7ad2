#pragma once
// The Limits/Interrupts window: each measured channel on a gauge against its limits,
// limits moved by dragging the gauge's markers, a mask box per interrupt source and a
// lamp per status bit, refreshed by the master timer every half second. The tabs' work
// is done by LimitFormSubs; the window holds the controls and wires the user's signals.

#include <array>
#include <vector>

#include "monitor/LimitFormSubs.h"
#include "widgets/RegisterBinding.h"
#include "widgets/WriteAtOnceWindow.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QTabWidget;

namespace kestrum {

class Lamp;
class LinearGauge;

class frmLimits : public WriteAtOnceWindow {
    Q_OBJECT
public:
    // SSTab1's tabs, in order.
    enum Tab { kTempTab, kFanTab, kVoltTab, kThermTimerTab, kThermPinTab, kDigitalTab };

    explicit frmLimits(QWidget* parent = nullptr);

    // Sizes the window, rebuilds the lists, captions and enables, re-reads every limit and
    // mask. Runs again on the open window after a pin-configuration change.
    void Form_Load() override;
    // Brings a tab to the front (the THERM dialog shows its THERM Limits tab).
    void SelectTab(Tab tab);
    // The master timer's half-second refresh: the five readings, then the lamps.
    void RefreshReadings();

    QPushButton* cmdClose;
    QTabWidget* SSTab1;

    QComboBox* cmbTemp;
    LinearGauge* ggeTemp;
    std::array<QLabel*, 7> lblTemp{};
    std::array<QCheckBox*, 7> chkTempMask{};
    std::array<Lamp*, 7> tglTempAlert{};

    QComboBox* cmbFan;
    LinearGauge* ggeFan;
    std::array<QLabel*, 8> lblFan{};
    std::array<QCheckBox*, 8> chkFanMask{};
    std::array<Lamp*, 8> tglFanAlert{};

    QComboBox* cmbVolt;
    LinearGauge* ggeVolt;
    std::array<QLabel*, 13> lblVolt{};
    std::array<QCheckBox*, 13> chkVoltMask{};
    std::array<Lamp*, 13> tglVoltAlert{};

    // One label array for three tabs: 0..5 THERM Timer, 6..13 THERM Limits, 14..20 Digital/VRD.
    std::array<QLabel*, 21> lblTherm{};

    QComboBox* cmbThermTimer;
    LinearGauge* ggeThermTimer;
    std::array<QCheckBox*, 6> chkTHERMMask{};
    std::array<Lamp*, 6> tglTHERMAlert{};

    QComboBox* cmbTHERMPin;
    LinearGauge* ggeTHERMPin;
    std::array<Lamp*, 8> tglTHERMPinAlert{};

    std::array<QCheckBox*, 7> chkDigMask{};
    std::array<Lamp*, 7> tglDigAlert{};

private:
    // One table row's controls; box may be absent (THERM Limits).
    struct Row {
        QLabel* label;
        QCheckBox* box;
        Lamp* lamp;
    };
    QWidget* BuildLimitTab(QComboBox*& combo, LinearGauge*& gauge, const char* comboName,
                           const char* gaugeName, QWidget* table);
    QWidget* BuildTable(const std::vector<Row>& rows, bool interruptHeading);
    Row NewRow(QLabel*& label, const char* labelName, int labelIndex, const char* caption, QCheckBox** box,
               const char* boxName, int index, Lamp*& lamp, const char* lampName);
    void BuildTempTab();
    void BuildFanTab();
    void BuildVoltTab();
    void BuildThermTimerTab();
    void BuildThermPinTab();
    void BuildDigitalTab();
    // Ties each mask box and lamp to its bit, and writes a mask when the user clicks its box.
    void BindMasksAndLamps();
    void WireUserSignals();

    // The tabs with a list and a gauge, by Tab.
    std::array<LimitFormSubs::LimitTab, kDigitalTab> tabs_{};

    // The mask registers, a box on each bit: a ticked box masks its source.
    RegisterBinding thermalMask1_{0x30};
    RegisterBinding thermalMask2_{0x31};
    RegisterBinding voltageMask1_{0x32};
    RegisterBinding voltageMask2_{0x33};
    RegisterBinding fanMask_{0x34};
    RegisterBinding digitalMask_{0x35};
    // The status registers, a lamp on each bit: a lit lamp's source is out of its limits.
    RegisterBinding thermalStatus1_{0xC0};
    RegisterBinding thermalStatus2_{0xC1};
    RegisterBinding thermPinStatus_{0xBA};  // the host's copy of the THERM limit status
    RegisterBinding voltageStatus1_{0xC3};
    RegisterBinding voltageStatus2_{0xC4};
    RegisterBinding fanStatus_{0xC5};
    RegisterBinding digitalStatus_{0xC6};
};

}  // namespace kestrum
