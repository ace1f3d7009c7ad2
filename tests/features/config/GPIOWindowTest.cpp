#include "features/config/frmGPIO.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/Scheduler.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/Controls.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;
using Rows = std::vector<std::string>;

class GPIOWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        DecodePinConfig(0x7F, 0xCE, 0x42, 0xFC);  // power-on: tachs, THERM and voltages
    }

    // 0x09 (GPIO 1-4), 0x0A (GPIO 5-8) and the status 0xBF as the chip holds them.
    void SetLines(uint8_t behaviour1, uint8_t behaviour2, uint8_t status) {
        Chip().Poke(0x09, behaviour1);
        Chip().Poke(0x0A, behaviour2);
        Chip().Poke(0xBF, status);
    }

    frmGPIO& OpenWith(uint8_t config3, uint8_t behaviour1, uint8_t behaviour2, uint8_t status) {
        Chip().Poke(0x03, config3);
        SetLines(behaviour1, behaviour2, status);
        w = &Open<frmGPIO>();
        return *w;
    }

    // The master timer's tick once the GPIO task is due.
    void TickGpioTask() {
        clock.step = 0.0;
        clock.Advance(1.0);
        RunMasterTick();
    }

    // Each line as the user sees it: direction, polarity, the status in brackets where its
    // list shows or plain where the label shows it, and "pin" when "Pin Enabled" is ticked.
    Rows Seen() const {
        Rows rows;
        for (int i = 0; i < frmGPIO::kLines; ++i) {
            const bool list = w->cmbStatus[i]->isVisible();
            EXPECT_NE(list, w->lblStatus[i]->isVisible()) << "one or the other, line " << i;
            QString row = w->cmbDir[i]->currentText() + " " + w->cmbPolarity[i]->currentText() + " " +
                          (list ? "[" + w->cmbStatus[i]->currentText() + "]" : w->lblStatus[i]->text());
            if (w->chkPinEn[i]->isChecked()) row += " pin";
            rows.push_back(row.toStdString());
        }
        return rows;
    }

    frmGPIO* w = nullptr;
};

const std::string kIdle = "I/P Active Low Active";

TEST_F(GPIOWindowTest, LoadsEveryLineAndWritesNothing) {
    Chip().Poke(0x03, 0xFE);
    SetLines(0x00, 0x00, 0x00);
    StartRecording();
    w = &Open<frmGPIO>();
    ExpectTraffic({R(0x03), B(0x09, 2), R(0xBF)});
    EXPECT_TRUE(gGPIOFormOpen);
    EXPECT_EQ(w->windowTitle(), "GPIO Configuration");
    EXPECT_EQ(w->parentWidget()->size(), QSize(470, 373));
    EXPECT_FALSE(w->chkEnGPIO->isChecked());
    for (const char* name : {"chkEnGPIO", "Label1", "Label2", "Label4", "Label5", "Label3_7", "cmbDir_7",
                             "cmbPolarity_7", "cmbStatus_7", "lblStatus_7", "chkPinEn_7"})
        EXPECT_NE(w->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(Control<QPushButton>(*w, "cmdCancel").text(), "Close");
    EXPECT_EQ(Seen(), Rows(8, kIdle));

    // A reload of the open window reads again and still writes nothing.
    w->Form_Load();
    ExpectTraffic({R(0x03), B(0x09, 2), R(0xBF), R(0x03), B(0x09, 2), R(0xBF)});
}

TEST_F(GPIOWindowTest, TheTimerRefreshShowsTheChipAndWritesNothing) {
    OpenWith(0x01, 0x00, 0x00, 0x00);
    EXPECT_TRUE(w->chkEnGPIO->isChecked());

    SetLines(0x02, 0x40, 0x81);  // GPIO 1 output; GPIO 8 active high; 1 and 8 inactive
    StartRecording();
    TickGpioTask();
    ExpectTraffic({B(0x09, 2), R(0xBF)});
    EXPECT_EQ(Seen(), (Rows{"O/P Active Low [Inactive]", kIdle, kIdle, kIdle, kIdle, kIdle, kIdle,
                            "I/P Active High Inactive"}));
    // A label takes its list's place: the same column, as wide.
    QApplication::processEvents();
    EXPECT_EQ(w->lblStatus[1]->geometry().left(), w->cmbStatus[0]->geometry().left());
    EXPECT_EQ(w->lblStatus[1]->width(), w->cmbStatus[0]->width());

    // Direction and polarity bits of each line kept apart.
    SetLines(0xAA, 0xAA, 0x00);
    TickGpioTask();
    EXPECT_EQ(Seen(), Rows(8, "O/P Active Low [Active]"));
    SetLines(0x55, 0x55, 0xFF);
    TickGpioTask();
    EXPECT_EQ(Seen(), Rows(8, "I/P Active High Inactive"));

    Close(*w);
    EXPECT_FALSE(gGPIOFormOpen);
    StartRecording();
    TickGpioTask();
    ExpectTraffic({});
}

TEST_F(GPIOWindowTest, TheRefreshLeavesAListTheUserHasOpenAlone) {
    OpenWith(0x00, 0x00, 0x00, 0x00);
    w->cmbDir[2]->showPopup();
    ASSERT_TRUE(IsListOpen(w->cmbDir[2]));
    SetLines(0x2A, 0x00, 0x00);  // GPIO 1-3 outputs
    StartRecording();
    TickGpioTask();
    EXPECT_EQ(Seen()[1], "O/P Active Low [Active]");
    EXPECT_EQ(w->cmbDir[2]->currentText(), "I/P") << "the open list keeps the user's place";

    // The user's pick from it is written, with the other lists as they now show.
    const int index = w->cmbDir[2]->findText("O/P");
    w->cmbDir[2]->setCurrentIndex(index);
    w->cmbDir[2]->hidePopup();
    emit w->cmbDir[2]->activated(index);
    ExpectTraffic({B(0x09, 2), R(0xBF), W(0x09, 0x2A), W(0x0A, 0x00), W(0xBF, 0x00)});

    // An open status list whose line turns into an input stays until the user is done.
    w->cmbStatus[0]->showPopup();
    SetLines(0x28, 0x00, 0x01);
    TickGpioTask();
    EXPECT_EQ(Seen()[0], "I/P Active Low [Active]");
    w->cmbStatus[0]->hidePopup();
    TickGpioTask();
    EXPECT_EQ(Seen()[0], "I/P Active Low Inactive");
}

TEST_F(GPIOWindowTest, EachChoiceRebuildsAllThreeLineRegistersAndEnableChangesOneBit) {
    OpenWith(0xA4, 0x41, 0x8C, 0x10);
    StartRecording();
    Pick(*w->cmbDir[2], "O/P");                                  // GPIO 3: 0x09 bit 5
    Pick(*w->cmbPolarity[5], "Active High");                     // GPIO 6: 0x0A bit 2, already set
    Pick(*w->cmbDir[7], "I/P");                                  // GPIO 8: 0x0A bit 7
    Pick(*w->cmbStatus[7], "Inactive");                          // 0xBF bit 7
    ExpectTraffic({W(0x09, 0x61), W(0x0A, 0x8C), W(0xBF, 0x10),  //
                   W(0x09, 0x61), W(0x0A, 0x8C), W(0xBF, 0x10),  //
                   W(0x09, 0x61), W(0x0A, 0x0C), W(0xBF, 0x10),  //
                   W(0x09, 0x61), W(0x0A, 0x0C), W(0xBF, 0x90)});
    // A choice only writes: the new output's status list comes with the next refresh.
    EXPECT_EQ(Seen()[2], "O/P Active Low Active");
    TickGpioTask();
    EXPECT_EQ(Seen()[2], "O/P Active Low [Active]");

    // Enable GPIO: 0x03 read afresh, only bit 0 changed.
    StartRecording();
    w->chkEnGPIO->click();
    Chip().Poke(0x03, 0x5A);  // another window changed the other bits meanwhile
    w->chkEnGPIO->click();
    ExpectTraffic({R(0x03), W(0x03, 0xA5), R(0x03), W(0x03, 0x5A)});
}

TEST_F(GPIOWindowTest, PinEnabledShowsWhichLinesThePinConfigurationRoutes) {
    OpenWith(0x00, 0x00, 0x00, 0x00);
    EXPECT_EQ(Seen(), Rows(8, kIdle));

    // Pins 2 and 4 GPIO, 1 and 3 tachs; pin 31 GPIO, 32 not; pin 28 field 0, pin 29 field 2.
    ChipWrite(0x10, 0x75);
    ChipWrite(0x13, 0x24);
    StartRecording();
    w->UpdateGPIOStatus();  // as the Pin Configuration window does after its Apply
    ExpectTraffic({B(0x09, 2), R(0xBF)});
    const std::string pin = kIdle + " pin";
    EXPECT_EQ(Seen(), (Rows{kIdle, pin, kIdle, pin, pin, kIdle, pin, kIdle}));

    // The user's click does not change them.
    for (QCheckBox* box : {w->chkPinEn[0], w->chkPinEn[1]})
        QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, {},
                          box->mapTo(frame.get(), box->rect().center()));
    EXPECT_EQ(Seen(), (Rows{kIdle, pin, kIdle, pin, pin, kIdle, pin, kIdle}));
    ExpectTraffic({B(0x09, 2), R(0xBF)});
}

TEST_F(GPIOWindowTest, AFailedTransferEndsTheProgram) {
    OpenWith(0x00, 0x00, 0x00, 0x00);
    ExpectFailedTransferEnds([&] { w->UpdateGPIOStatus(); });
}

TEST_F(GPIOWindowTest, EveryCaptionFitsItsPlace) {
    DecodePinConfig(0x75, 0xCE, 0x42, 0x24);
    OpenWith(0x01, 0x2E, 0x47, 0x05);
    test::ExpectTidy(*w, "gpio");
}

}  // namespace
}  // namespace kestrum
