#include "widgets/RegisterBinding.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <array>
#include <span>

#include "core/ChipAccess.h"
#include "core/Conversions.h"
#include "support/Fixture.h"
#include "widgets/Controls.h"
#include "widgets/instruments/Lamp.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

// Controls on one form, bound to a register the way a dialog binds them.
class RegisterBindingTest : public test::KestrumTest {
protected:
    QWidget form;
    QCheckBox* direct = NewCheckBox(&form, "direct", "Direct");
    QCheckBox* inverted = NewCheckBox(&form, "inverted", "Inverted");
    QComboBox* rate =
        NewList(&form, "rate",
                {"35 sec", "17.6  sec", "11.8  sec", "7 sec", "4.4 sec", "3 sec", "1.6 sec", "0.8 sec"});
    QComboBox* pin25 = NewList(&form, "pin25", {"+3.3V", "+1.2V1 Gbit", "VR_Hot1", "VR_Hot1"});
    QLineEdit* percent = NewTextBox(&form, "percent");
    QLineEdit* celsius = NewTextBox(&form, "celsius");
    QLineEdit* nibble = NewTextBox(&form, "nibble");
};

TEST_F(RegisterBindingTest, CheckBoxesFollowTheirBitDirectOrInverted) {
    RegisterBinding config(0x01);
    config.Bit(direct, 0).Bit(inverted, 3, Sense::Inverted);
    config.Load(0x00);
    EXPECT_FALSE(direct->isChecked());
    EXPECT_TRUE(inverted->isChecked()) << "ticked while its bit is clear";
    config.Load(0x09);
    EXPECT_TRUE(direct->isChecked());
    EXPECT_FALSE(inverted->isChecked());

    // Bits that no box owns keep the base's value.
    direct->setChecked(false);
    inverted->setChecked(true);
    EXPECT_EQ(config.Encode(0xFF), 0xF6);
    EXPECT_EQ(config.Encode(0x00), 0x00);
    EXPECT_EQ(config.Encode(0xFF, direct), 0xFE) << "only the one control";
}

TEST_F(RegisterBindingTest, ARunOfBoxesLiesOnConsecutiveBitsFromTheFirstGiven) {
    std::array<QCheckBox*, 4> boxes{};
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = NewCheckBox(&form, ElementName("chkRun", static_cast<int>(i)), "Run");
    RegisterBinding attenuators(0x18);
    attenuators.Bits(std::span(boxes).first(3), 1, Sense::Inverted).Bit(direct, 7);
    attenuators.Load(0x84);  // bit 2 set: box 1 clear, boxes 0 and 2 ticked
    EXPECT_TRUE(boxes[0]->isChecked());
    EXPECT_FALSE(boxes[1]->isChecked());
    EXPECT_TRUE(boxes[2]->isChecked());
    EXPECT_FALSE(boxes[3]->isChecked()) << "left out of the run";
    EXPECT_TRUE(direct->isChecked());
    boxes[0]->setChecked(false);
    EXPECT_EQ(attenuators.Encode(0x00), 0x86);
    EXPECT_EQ(attenuators.Encode(0x79), 0xF7) << "bits 0 and 4-6 kept";

    RegisterBinding mask(0x37);
    mask.Bits(boxes, 0);
    mask.Load(0x0A);
    EXPECT_EQ(mask.Encode(0xF0), 0xFA);
    EXPECT_TRUE(boxes[3]->isChecked());
}

TEST_F(RegisterBindingTest, ListsShowTheirFieldAndWriteEveryMatchingIndex) {
    RegisterBinding acoustics(0x1A);
    acoustics.Field(rate, 5, 3).Field(pin25, 2, 2);
    acoustics.Load(0xC8);  // bits 7:5 = 6, bits 3:2 = 2
    EXPECT_EQ(rate->currentText(), "1.6 sec");
    EXPECT_EQ(pin25->currentText(), "VR_Hot1");
    EXPECT_EQ(acoustics.Encode(0x00), 0xCC) << "both items named VR_Hot1 are or-ed in";
    EXPECT_EQ(acoustics.Encode(0x13), 0xDF) << "bits 4 and 1:0 kept";

    // Text that matches no item writes 0 into the field.
    rate->setEditable(true);
    rate->setEditText("1.6 seconds");
    EXPECT_EQ(acoustics.Encode(0xFF), 0x1F);
}

TEST_F(RegisterBindingTest, TwoItemListsOnOneBit) {
    QComboBox* pins1516 = NewList(&form, "cmbPins1516", {"D1+, D1-", "Vin, SCSI"});
    QComboBox* pin1 = NewList(&form, "cmbPin1", {"GPIO1", "Tach1 I/P"});
    RegisterBinding pinConfig1(0x10);
    pinConfig1.BitList(pins1516, 6, Sense::Inverted).BitList(pin1, 4, Sense::Direct);
    pinConfig1.Load(0x40);
    EXPECT_EQ(pins1516->currentText(), "D1+, D1-") << "a set bit shows item 0";
    EXPECT_EQ(pin1->currentText(), "GPIO1");
    pinConfig1.Load(0x10);
    EXPECT_EQ(pins1516->currentText(), "Vin, SCSI");
    EXPECT_EQ(pin1->currentText(), "Tach1 I/P");
    EXPECT_EQ(pinConfig1.Encode(0x00), 0x10);
    pins1516->setCurrentIndex(0);
    pin1->setCurrentIndex(0);
    EXPECT_EQ(pinConfig1.Encode(0x00), 0x40);
}

TEST_F(RegisterBindingTest, ARefreshLeavesAListTheUserHasOpenAlone) {
    RegisterBinding acoustics(0x1A, Reload::AroundOpenLists);
    acoustics.Bit(direct, 0).Field(rate, 5, 3).Field(pin25, 2, 2);
    form.show();
    rate->setCurrentIndex(1);
    rate->showPopup();
    ASSERT_TRUE(IsListOpen(rate));
    EXPECT_FALSE(IsListOpen(pin25));
    EXPECT_FALSE(IsListOpen(direct)) << "not a list";

    acoustics.Load(0xC9);  // rate 6, pin25 2, bit 0 set
    EXPECT_EQ(rate->currentText(), "17.6  sec") << "open: kept";
    EXPECT_EQ(pin25->currentText(), "VR_Hot1");
    EXPECT_TRUE(direct->isChecked());

    rate->hidePopup();
    ASSERT_FALSE(IsListOpen(rate));
    acoustics.Load(0xC9);
    EXPECT_EQ(rate->currentText(), "1.6 sec") << "closed again: refreshed";
}

TEST_F(RegisterBindingTest, TextBoxesInPercentDegreesAndNibbles) {
    RegisterBinding maxPwm(0x2C), tmin(0x5C), hysteresis(0x54);
    maxPwm.Percent(percent);
    tmin.Celsius(celsius);
    hysteresis.NumberField(nibble, 4, 4);

    maxPwm.Load(0xC0);
    tmin.Load(0x00);
    hysteresis.Load(0xA5);
    EXPECT_EQ(percent->text(), "75");
    EXPECT_EQ(celsius->text(), "-64");
    EXPECT_EQ(nibble->text(), "10");
    EXPECT_EQ(maxPwm.Encode(0), 191) << "75 % is 191.25";
    EXPECT_EQ(tmin.Encode(0), 0);
    tmin.Load(0xFF);
    EXPECT_EQ(celsius->text(), "191");

    nibble->setText("20");  // 20 = 0x14: only its low four bits go into the nibble
    EXPECT_EQ(hysteresis.Encode(0xA5), 0x45);
    for (const char* text : {"", "abc", " 50.5x"}) {
        percent->setText(text);
        EXPECT_EQ(maxPwm.Encode(0x77), RegisterOfPercent(LeadingNumber(text))) << text;
    }
}

TEST_F(RegisterBindingTest, WritesRebuiltReadModifiedOrOneControlOnly) {
    RegisterBinding config(0x01);
    config.Bit(direct, 0).Bit(inverted, 3, Sense::Inverted);
    direct->setChecked(true);
    inverted->setChecked(false);
    Chip().Poke(0x01, 0xF0);
    StartRecording();

    config.WriteRebuilt();
    config.WriteModified();
    Chip().Poke(0x01, 0x00);
    config.WriteModified(inverted);
    ExpectTraffic({W(0x01, 0x09), R(0x01), W(0x01, 0x09), R(0x01), W(0x01, 0x08)});
}

TEST_F(RegisterBindingTest, OutOfRangeValuesAreClampedByTheWritePrimitive) {
    RegisterBinding maxPwm(0x2C), tmin(0x5C);
    maxPwm.Percent(percent);
    tmin.Celsius(celsius);
    percent->setText("300");
    celsius->setText("-100");
    StartRecording();
    maxPwm.WriteRebuilt();
    tmin.WriteRebuilt();
    ExpectTraffic({W(0x2C, 255), W(0x5C, 0)});
}

TEST_F(RegisterBindingTest, LoadingWritesNothing) {
    RegisterBinding config(0x01);
    config.Bit(direct, 0).Field(rate, 5, 3).Percent(percent);
    StartRecording();
    for (int32_t byte : {0x00, 0xFF, 0x5A}) config.Load(byte);
    EXPECT_TRUE(Traffic().empty());
}

TEST_F(RegisterBindingTest, LoadingFromTheChipReadsTheRegisterOnly) {
    RegisterBinding config(0x01);
    config.Bit(direct, 0).Bit(inverted, 3, Sense::Inverted);
    Chip().Poke(0x01, 0x09);
    StartRecording();
    config.LoadFromChip();
    EXPECT_TRUE(direct->isChecked());
    EXPECT_FALSE(inverted->isChecked());
    ExpectTraffic({R(0x01)});
}

TEST_F(RegisterBindingTest, ARunOfBindingsLoadsFromOneBlockReadOfItsOwnRegisters) {
    std::array<RegisterBinding, 2> tachs{RegisterBinding{0x07}, RegisterBinding{0x08}};
    RegisterBinding config(0x09), status(0x0B);
    Lamp lamp(&form);
    tachs[0].Bit(direct, 0);
    tachs[1].Field(rate, 5, 3);
    config.Percent(percent);
    status.StatusLamp(&lamp, 4);
    Chip().Poke(0x07, 0x01);
    Chip().Poke(0x08, 0xC0);
    Chip().Poke(0x09, 0xC0);
    Chip().Poke(0x0B, 0x10);
    StartRecording();
    const RegisterBlock block = LoadBlock(tachs, config);
    status.LoadFromChip();
    ExpectTraffic({B(0x07, 3), R(0x0B)});
    EXPECT_TRUE(direct->isChecked());
    EXPECT_EQ(rate->currentText(), "1.6 sec");
    EXPECT_EQ(percent->text(), "75");
    EXPECT_EQ(tachs[1].FieldIn(block, rate), 6);
    EXPECT_TRUE(lamp.Value()) << "a lamp shows its bit";
    EXPECT_EQ(status.Encode(0x5A), 0x5A) << "and writes none";
    status.Load(0xEF);
    EXPECT_FALSE(lamp.Value());
    // Bindings that leave a register out are a mistake in the window.
    EXPECT_DEBUG_DEATH(LoadBlock(tachs[0], config), "consecutive registers");
}

TEST_F(RegisterBindingTest, BlockReadsKeepTheirBytesWhateverFollows) {
    Chip().Poke(0x07, 0x3C);
    Chip().Poke(0x08, 0x0A);
    Chip().Poke(0x21, 0x77);
    StartRecording();
    const RegisterBlock block = ChipReadBlock(0x07, 2);
    ChipRead(0x21);         // reuses the adapter's transfer buffer
    ChipWrite(0x22, 0x55);  // and so does the post-write hook
    EXPECT_EQ(block.Of(0x07), 0x3C);
    EXPECT_EQ(block[1], 0x0A);
    ExpectTraffic({B(0x07, 2), R(0x21), W(0x22, 0x55), R(0x22)});
}

}  // namespace
}  // namespace kestrum
