#pragma once
// One register tied to the controls that show its bits, so that a dialog's code reads like
// its bit-map table:
//
//     config1.Bit(chkEnableMonitoring, 0).Bit(chkAlertMode, 3, Sense::Inverted);
//     LoadBlock(config1, config2, config3);  // Form_Load: one block read of 0x01-0x03
//     config1.WriteModified();               // Apply: read afresh, change the owned bits, write
//
// Loading sets the controls from code, which never writes to the chip: windows write only
// from the user's own signals (clicked, activated, textEdited). Encoding puts every
// control's value onto a base byte; bits that no control owns keep the base's value.

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "core/ChipAccess.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

namespace kestrum {

class Lamp;

// A direct box is ticked when its bit is 1, an inverted one when its bit is 0.
enum class Sense { Direct, Inverted };

// Whether a load sets every control, or leaves alone a list whose drop-down the user has
// open: the bindings of a window that a periodic refresh reloads.
enum class Reload { Everything, AroundOpenLists };

class RegisterBinding {
public:
    explicit RegisterBinding(int32_t reg, Reload reload = Reload::Everything) : reg_(reg), reload_(reload) {}
    int32_t Register() const { return reg_; }

    // A check box (or option button) on one bit.
    RegisterBinding& Bit(QAbstractButton* box, int bit, Sense sense = Sense::Direct);
    // A run of a control array on consecutive bits: box i on bit firstBit + i.
    template <typename Boxes>
    RegisterBinding& Bits(const Boxes& boxes, int firstBit, Sense sense = Sense::Direct) {
        for (auto* box : boxes) Bit(box, firstBit++, sense);
        return *this;
    }
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
    // A lamp that shows a bit, lit (an alarm) when it is 1. Read only: encoding passes it by.
    RegisterBinding& StatusLamp(Lamp* lamp, int bit);

    // Sets every control from the register's value.
    void Load(int32_t byte) const;
    // Reads the register afresh and sets every control from it.
    void LoadFromChip() const;
    // The field a control is bound to, as the register's byte in the block holds it.
    int32_t FieldIn(const RegisterBlock& block, const QWidget* control) const;
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
    enum class Kind { Bit, Field, BitList, Percent, Celsius, Number, Lamp };
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
    Reload reload_;
    std::vector<Binding> bindings_;
};

// Loads a run of bindings on consecutive registers, given in register order, from one block
// read that starts at the first one's register; gives the block read. A debug build
// refuses bindings that do not follow one another.
RegisterBlock LoadBlock(std::initializer_list<std::span<const RegisterBinding>> run);
// The same, the run given as bindings and arrays of bindings: LoadBlock(tmin, trange).
inline std::span<const RegisterBinding> BindingsOf(const RegisterBinding& binding) { return {&binding, 1}; }
inline std::span<const RegisterBinding> BindingsOf(std::span<const RegisterBinding> run) { return run; }
template <typename... Parts>
RegisterBlock LoadBlock(const Parts&... parts) {
    return LoadBlock({BindingsOf(parts)...});
}

}  // namespace kestrum
