#include "widgets/RegisterBinding.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <cassert>
#include <string>
#include <vector>

#include "core/Conversions.h"
#include "widgets/Controls.h"
#include "widgets/instruments/Lamp.h"

namespace kestrum {

namespace {

bool WholeByte(int lowBit, int width) { return lowBit == 0 && width == 8; }

int32_t ListValue(const QComboBox& list) {
    std::vector<std::string> items;
    items.reserve(list.count());
    for (int i = 0; i < list.count(); ++i) items.push_back(list.itemText(i).toStdString());
    return ListFieldValue(items, list.currentText().toStdString());
}

double TextNumber(const QLineEdit& box) { return LeadingNumber(box.text().toStdString()); }

// Whether the run's registers follow one another from its first.
[[maybe_unused]] bool Consecutive(std::initializer_list<std::span<const RegisterBinding>> run) {
    if (run.size() == 0 || run.begin()->empty()) return false;
    int32_t next = run.begin()->front().Register();
    for (std::span<const RegisterBinding> part : run)
        for (const RegisterBinding& binding : part)
            if (binding.Register() != next++) return false;
    return true;
}

}  // namespace

RegisterBinding& RegisterBinding::Add(QWidget* control, Kind kind, int lowBit, int width, Sense sense) {
    bindings_.push_back({control, kind, lowBit, width, sense});
    return *this;
}

RegisterBinding& RegisterBinding::Bit(QAbstractButton* box, int bit, Sense sense) {
    return Add(box, Kind::Bit, bit, 1, sense);
}

RegisterBinding& RegisterBinding::Field(QComboBox* list, int lowBit, int width) {
    return Add(list, Kind::Field, lowBit, width);
}

RegisterBinding& RegisterBinding::BitList(QComboBox* list, int bit, Sense sense) {
    return Add(list, Kind::BitList, bit, 1, sense);
}

RegisterBinding& RegisterBinding::Percent(QLineEdit* box) { return Add(box, Kind::Percent, 0, 8); }
RegisterBinding& RegisterBinding::Celsius(QLineEdit* box) { return Add(box, Kind::Celsius, 0, 8); }
RegisterBinding& RegisterBinding::Number(QLineEdit* box) { return Add(box, Kind::Number, 0, 8); }

RegisterBinding& RegisterBinding::NumberField(QLineEdit* box, int lowBit, int width) {
    return Add(box, Kind::Number, lowBit, width);
}

RegisterBinding& RegisterBinding::StatusLamp(Lamp* lamp, int bit) { return Add(lamp, Kind::Lamp, bit, 1); }

void RegisterBinding::LoadOne(const Binding& b, int32_t byte) {
    const int32_t field = FieldOf(byte, b.lowBit, b.width);
    switch (b.kind) {
        case Kind::Bit:
            static_cast<QAbstractButton*>(b.control)->setChecked((field == 1) == (b.sense == Sense::Direct));
            break;
        case Kind::Field: static_cast<QComboBox*>(b.control)->setCurrentIndex(field); break;
        case Kind::BitList:
            static_cast<QComboBox*>(b.control)->setCurrentIndex(b.sense == Sense::Direct ? field : 1 - field);
            break;
        case Kind::Percent:
            static_cast<QLineEdit*>(b.control)->setText(QString::number(PercentOfRegister(byte)));
            break;
        case Kind::Celsius:
            static_cast<QLineEdit*>(b.control)->setText(QString::number(CelsiusOfRegister(byte)));
            break;
        case Kind::Number: static_cast<QLineEdit*>(b.control)->setText(QString::number(field)); break;
        case Kind::Lamp: static_cast<Lamp*>(b.control)->SetValue(field == 1); break;
    }
}

int32_t RegisterBinding::EncodeOne(const Binding& b, int32_t base) {
    int32_t value = 0;
    switch (b.kind) {
        case Kind::Bit:
            value = static_cast<const QAbstractButton*>(b.control)->isChecked() == (b.sense == Sense::Direct)
                        ? 1
                        : 0;
            break;
        case Kind::Field: value = ListValue(*static_cast<const QComboBox*>(b.control)); break;
        case Kind::BitList: {
            const auto& list = *static_cast<const QComboBox*>(b.control);
            value =
                b.sense == Sense::Direct ? ListValue(list) : (list.currentText() == list.itemText(0) ? 1 : 0);
            break;
        }
        case Kind::Percent:
            value = RegisterOfPercent(TextNumber(*static_cast<const QLineEdit*>(b.control)));
            break;
        case Kind::Celsius:
            value = RegisterOfCelsius(TextNumber(*static_cast<const QLineEdit*>(b.control)));
            break;
        case Kind::Number: value = RoundToInt32(TextNumber(*static_cast<const QLineEdit*>(b.control))); break;
        case Kind::Lamp: return base;
    }
    return WholeByte(b.lowBit, b.width) ? value : WithField(base, b.lowBit, b.width, value);
}

void RegisterBinding::Load(int32_t byte) const {
    for (const Binding& binding : bindings_)
        if (reload_ == Reload::Everything || !IsListOpen(binding.control)) LoadOne(binding, byte);
}

void RegisterBinding::LoadFromChip() const { Load(ChipRead(reg_)); }

int32_t RegisterBinding::FieldIn(const RegisterBlock& block, const QWidget* control) const {
    for (const Binding& binding : bindings_)
        if (binding.control == control) return FieldOf(block.Of(reg_), binding.lowBit, binding.width);
    assert(!"the control is bound to this register");
    return 0;
}

RegisterBlock LoadBlock(std::initializer_list<std::span<const RegisterBinding>> run) {
    assert(Consecutive(run) && "a block's bindings lie on consecutive registers");
    size_t count = 0;
    for (std::span<const RegisterBinding> part : run) count += part.size();
    const int32_t first = run.begin()->front().Register();
    const RegisterBlock block = ChipReadBlock(first, static_cast<int16_t>(count));
    for (std::span<const RegisterBinding> part : run)
        for (const RegisterBinding& binding : part) binding.Load(block.Of(binding.Register()));
    return block;
}

int32_t RegisterBinding::Encode(int32_t base) const {
    for (const Binding& binding : bindings_) base = EncodeOne(binding, base);
    return base;
}

int32_t RegisterBinding::Encode(int32_t base, const QWidget* control) const {
    for (const Binding& binding : bindings_)
        if (binding.control == control) base = EncodeOne(binding, base);
    return base;
}

void RegisterBinding::WriteRebuilt() const { ChipWrite(reg_, Encode(0)); }

void RegisterBinding::WriteModified() const { ChipWrite(reg_, Encode(ChipRead(reg_))); }

void RegisterBinding::WriteModified(const QWidget* control) const {
    ChipWrite(reg_, Encode(ChipRead(reg_), control));
}

}  // namespace kestrum
