#pragma once
// One register tied to the controls that show its bits, so that a dialog's code reads like
// its bit-map table:
//
//     config1.Bit(chkEnableMonitoring, 0).Bit(chkAlertMode, 3, Sense::Inverted);
//     config1.Load(block.Of(0x01));     // Form_Load
//     config1.WriteModified();           // Apply: read afresh, change the owned bits, write
//
// Loading sets the controls from code, which never writes to the chip: windows write only
// from the user's own signals (clicked, activated, textEdited). Encoding puts every
// control's value onto a base byte; bits that no control owns keep the base's value.

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace kestrum {
class RegisterBlock;
}

namespace kestrum {

// A direct box is ticked when its bit is 1, an inverted one when its bit is 0.
enum class Sense { Direct, Inverted };

class RegisterBinding {
public:
    explicit RegisterBinding(int32_t reg) : reg_(reg) {}
    int32_t Register() const { return reg_; }

    // A check box on one bit.
    RegisterBinding& Bit(QCheckBox* box, int bit, Sense sense = Sense::Direct);
    // A run of a control array on consecutive bits: box i on bit firstBit + i.
    RegisterBinding& Bits(std::span<QCheckBox* const> boxes, int firstBit, Sense sense = Sense::Direct);
    // A list on a field: the item whose index is the field's value is shown; written as the
    // OR of the index of every item whose text equals the list's text, 0 when none does.
    RegisterBinding& Field(QComboBox* list, int lowBit, int width);
    // A two-item list on one bit: Direct shows item 1 for a set bit; Inverted shows item 0
    // for a set bit and sets it only while item 0's text is shown.
    RegisterBinding& BitList(QComboBox* list, int bit, Sense sense);
    // Text boxes on the whole register: percent, degrees C (+64) or a plain number. The
    // value written is not masked: the write primitive clamps it to 0..255.
    RegisterBinding& Percent(QLineEdit* box);
    RegisterBinding& Celsius(QLineEdit* box);
    RegisterBinding& Number(QLineEdit* box);
    // A text box on a field (the hysteresis nibbles): the number's low bits are written.
    RegisterBinding& NumberField(QLineEdit* box, int lowBit, int width);

    // Sets every control from the register's value.
    void Load(int32_t byte) const;
    // ... from the register's byte of a block read.
    void Load(const RegisterBlock& block) const;
    // The same, except for a list whose drop-down the user has open (a periodic refresh).
    void LoadAroundOpenLists(int32_t byte) const;
    // Reads the register afresh and sets every control from it.
    void LoadFromChip() const;
    // The base with every control's bits put in, or only those of one control.
    int32_t Encode(int32_t base) const;
    int32_t Encode(int32_t base, const QWidget* control) const;

    // Rebuilt from zero: bits without a control are written 0. Nothing is read.
    void WriteRebuilt() const;
    // Read afresh, every control's bits put in, written back.
    void WriteModified() const;
    // Read afresh, only this control's bits put in, written back (a change written at once).
    void WriteModified(const QWidget* control) const;

private:
    enum class Kind { Bit, Field, BitList, Percent, Celsius, Number };
    struct Binding {
        QWidget* control;
        Kind kind;
        int lowBit;
        int width;
        Sense sense;
    };

    RegisterBinding& Add(QWidget* control, Kind kind, int lowBit, int width, Sense sense = Sense::Direct);
    static void LoadOne(const Binding& binding, int32_t byte);
    static int32_t EncodeOne(const Binding& binding, int32_t base);

    int32_t reg_;
    std::vector<Binding> bindings_;
};

// Each binding from its register's byte of one block read.
void LoadEach(const RegisterBlock& block, std::span<const RegisterBinding> bindings);

}  // namespace kestrum
