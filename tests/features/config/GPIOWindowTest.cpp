#include "features/config/frmGPIO.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>
#include <type_traits>
#include <vector>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/Scheduler.h"
#include "support/Pictures.h"
#include "support/WindowFixture.h"
#include "widgets/Controls.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

// The line registers as the chip holds them.
struct Lines {
    uint8_t behaviour1;  // 0x09, GPIO 1-4
    uint8_t behaviour2;  // 0x0A, GPIO 5-8
    uint8_t status;      // 0xBF
};

class GPIOWindowTest : public test::WindowTest {
protected:
    void SetLines(const Lines& lines) {
        Chip().Poke(0x09, lines.behaviour1);
        Chip().Poke(0x0A, lines.behaviour2);
        Chip().Poke(0xBF, lines.status);
    }

    frmGPIO& OpenWith(uint8_t config3, const Lines& lines) {
        Chip().Poke(0x03, config3);
        SetLines(lines);
        window = &Open<frmGPIO>();
        return *window;
    }

    // The master timer's tick once the GPIO task is due.
    void TickGpioTask() {
        clock.step = 0.0;
        clock.Advance(1.0);
        RunMasterTick();
    }

    template <typename C>
    std::vector<std::string> Column(const char* name) {
        std::vector<std::string> texts;
        for (int i = 0; i < frmGPIO::kLines; ++i) {
            const C& control = Control<C>(*window, ElementName(name, i));
            if constexpr (std::is_same_v<C, QComboBox>)
                texts.push_back(control.currentText().toStdString());
            else
                texts.push_back(control.text().toStdString());
        }
        return texts;
    }

    // Which lines show their status list (the others show the label in its place).
    std::vector<bool> StatusListsShown() const {
        std::vector<bool> shown;
        for (int i = 0; i < frmGPIO::kLines; ++i) {
            EXPECT_NE(window->cmbStatus[i]->isVisible(), window->lblStatus[i]->isVisible()) << i;
            shown.push_back(window->cmbStatus[i]->isVisible());
        }
        return shown;
    }

    std::vector<bool> PinEnabled() const {
        std::vector<bool> ticked;
        for (const QCheckBox* box : window->chkPinEn) ticked.push_back(box->isChecked());
        return ticked;
    }

    frmGPIO* window = nullptr;
};

TEST_F(GPIOWindowTest, OpensWithItsGridAndLoadingWritesNothing) {
    Chip().Poke(0x03, 0x00);
    SetLines({0x00, 0x00, 0x00});
    StartRecording();
    frmGPIO& w = Open<frmGPIO>();
    window = &w;
    ExpectTraffic({R(0x03), B(0x09, 2), R(0xBF)});
    EXPECT_TRUE(gGPIOFormOpen);
    EXPECT_EQ(w.windowTitle(), "GPIO Configuration");
    EXPECT_EQ(w.parentWidget()->size(), QSize(470, 373));

    EXPECT_EQ(w.chkEnGPIO->text(), "Enable GPIO");
    EXPECT_FALSE(w.chkEnGPIO->isChecked());
    EXPECT_EQ(Control<QLabel>(w, "Label1").text(), "Direction");
    EXPECT_EQ(Control<QLabel>(w, "Label2").text(), "Polarity");
    EXPECT_EQ(Control<QLabel>(w, "Label4").text(), "Status");
    EXPECT_EQ(Control<QLabel>(w, "Label5").text(), "Pin Enabled");
    EXPECT_EQ(Control<QGroupBox>(w, "Frame1").title(), "");
    EXPECT_EQ(Control<QPushButton>(w, "cmdCancel").text(), "Close");
    EXPECT_EQ(Column<QLabel>("Label3"), (std::vector<std::string>{"GPIO 1", "GPIO 2", "GPIO 3", "GPIO 4",
                                                                  "GPIO 5", "GPIO 6", "GPIO 7", "GPIO 8"}));
    const QComboBox& list = Control<QComboBox>(w, "cmbStatus_7");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(0), "Active");
    EXPECT_EQ(list.itemText(1), "Inactive");
    EXPECT_EQ(w.cmbDir[3]->itemText(1), "O/P");
    EXPECT_EQ(w.cmbPolarity[4]->itemText(1), "Active High");

    // All inputs: every status list hidden, its text on the label in its place.
    const std::vector<std::string> all = {"I/P", "I/P", "I/P", "I/P", "I/P", "I/P", "I/P", "I/P"};
    EXPECT_EQ(Column<QComboBox>("cmbDir"), all);
    EXPECT_EQ(Column<QComboBox>("cmbPolarity"), std::vector<std::string>(8, "Active Low"));
    EXPECT_EQ(Column<QLabel>("lblStatus"), std::vector<std::string>(8, "Active"));
    EXPECT_EQ(StatusListsShown(), std::vector<bool>(8, false));
}

TEST_F(GPIOWindowTest, TheRefreshShowsEachLineAndWritesNothing) {
    frmGPIO& w = OpenWith(0x01, {0x00, 0x00, 0x00});
    EXPECT_TRUE(w.chkEnGPIO->isChecked());

    SetLines({0x02, 0x40, 0x81});  // GPIO 1 output; GPIO 8 active high; 1 and 8 inactive
    StartRecording();
    TickGpioTask();
    ExpectTraffic({B(0x09, 2), R(0xBF)});
    EXPECT_EQ(Column<QComboBox>("cmbDir"),
              (std::vector<std::string>{"O/P", "I/P", "I/P", "I/P", "I/P", "I/P", "I/P", "I/P"}));
    EXPECT_EQ(Column<QComboBox>("cmbPolarity"),
              (std::vector<std::string>{"Active Low", "Active Low", "Active Low", "Active Low", "Active Low",
                                        "Active Low", "Active Low", "Active High"}));
    EXPECT_EQ(StatusListsShown(), (std::vector<bool>{true, false, false, false, false, false, false, false}));
    EXPECT_EQ(w.cmbStatus[0]->currentText(), "Inactive");
    EXPECT_EQ(Column<QLabel>("lblStatus"),
              (std::vector<std::string>{"Inactive", "Active", "Active", "Active", "Active", "Active",
                                        "Active", "Inactive"}));
    // A label takes the place of its list: the same column, as wide.
    QApplication::processEvents();
    for (int i = 1; i < frmGPIO::kLines; ++i) {
        EXPECT_EQ(w.lblStatus[i]->x(), w.cmbStatus[0]->x()) << i;
        EXPECT_EQ(w.lblStatus[i]->width(), w.cmbStatus[0]->width()) << i;
    }

    // Every line an output with its own direction bit; the polarity bits stay apart.
    SetLines({0xAA, 0xAA, 0x00});
    TickGpioTask();
    EXPECT_EQ(StatusListsShown(), std::vector<bool>(8, true));
    EXPECT_EQ(Column<QComboBox>("cmbPolarity"), std::vector<std::string>(8, "Active Low"));
    SetLines({0x55, 0x55, 0xFF});
    TickGpioTask();
    EXPECT_EQ(StatusListsShown(), std::vector<bool>(8, false));
    EXPECT_EQ(Column<QComboBox>("cmbPolarity"), std::vector<std::string>(8, "Active High"));
    EXPECT_EQ(Column<QLabel>("lblStatus"), std::vector<std::string>(8, "Inactive"));

    // Closed: the timer leaves the chip alone.
    Close(w);
    EXPECT_FALSE(gGPIOFormOpen);
    StartRecording();
    TickGpioTask();
    ExpectTraffic({});
}

TEST_F(GPIOWindowTest, TheRefreshLeavesAListTheUserHasOpenAlone) {
    frmGPIO& w = OpenWith(0x00, {0x00, 0x00, 0x00});
    w.cmbDir[2]->showPopup();
    ASSERT_TRUE(IsListOpen(w.cmbDir[2]));

    SetLines({0x2A, 0x00, 0x00});  // GPIO 1-3 outputs
    StartRecording();
    TickGpioTask();
    ExpectTraffic({B(0x09, 2), R(0xBF)});
    EXPECT_EQ(w.cmbDir[2]->currentText(), "I/P") << "the open list keeps the user's place";
    EXPECT_EQ(w.cmbDir[1]->currentText(), "O/P");
    EXPECT_EQ(StatusListsShown(), (std::vector<bool>{true, true, true, false, false, false, false, false}));

    // The user picks from the open list: it is written, with the others as they now show.
    const int index = w.cmbDir[2]->findText("O/P");
    w.cmbDir[2]->setCurrentIndex(index);
    w.cmbDir[2]->hidePopup();
    emit w.cmbDir[2]->activated(index);
    ExpectTraffic({B(0x09, 2), R(0xBF), W(0x09, 0x2A), W(0x0A, 0x00), W(0xBF, 0x00)});

    // A status list open while its line turns into an input stays until the user is done.
    w.cmbStatus[0]->showPopup();
    SetLines({0x28, 0x00, 0x01});
    TickGpioTask();
    EXPECT_TRUE(w.cmbStatus[0]->isVisible());
    EXPECT_EQ(w.cmbStatus[0]->currentText(), "Active");
    w.cmbStatus[0]->hidePopup();
    TickGpioTask();
    EXPECT_FALSE(w.cmbStatus[0]->isVisible());
    EXPECT_EQ(w.lblStatus[0]->text(), "Inactive");
}

TEST_F(GPIOWindowTest, EachChoiceRebuildsAllThreeLineRegisters) {
    frmGPIO& w = OpenWith(0x00, {0x41, 0x8C, 0x10});
    StartRecording();
    PickAsUser(*w.cmbDir[2], "O/P");  // GPIO 3: 0x09 bit 5
    ExpectTraffic({W(0x09, 0x61), W(0x0A, 0x8C), W(0xBF, 0x10)});

    StartRecording();
    PickAsUser(*w.cmbPolarity[5], "Active High");                // GPIO 6: 0x0A bit 2, already set
    PickAsUser(*w.cmbPolarity[7], "Active Low");                 // GPIO 8: 0x0A bit 6, clear
    PickAsUser(*w.cmbDir[7], "I/P");                             // GPIO 8: 0x0A bit 7
    ExpectTraffic({W(0x09, 0x61), W(0x0A, 0x8C), W(0xBF, 0x10),  //
                   W(0x09, 0x61), W(0x0A, 0x8C), W(0xBF, 0x10),  //
                   W(0x09, 0x61), W(0x0A, 0x0C), W(0xBF, 0x10)});

    // GPIO 8's status list (an output when the window loaded) sets bit 7 of 0xBF.
    StartRecording();
    PickAsUser(*w.cmbStatus[7], "Inactive");
    PickAsUser(*w.cmbStatus[5], "Inactive");
    PickAsUser(*w.cmbStatus[7], "Active");
    ExpectTraffic({W(0x09, 0x61), W(0x0A, 0x0C), W(0xBF, 0x90),  //
                   W(0x09, 0x61), W(0x0A, 0x0C), W(0xBF, 0xB0),  //
                   W(0x09, 0x61), W(0x0A, 0x0C), W(0xBF, 0x30)});
}

TEST_F(GPIOWindowTest, EnableGpioChangesOnlyBit0OfConfiguration3) {
    frmGPIO& w = OpenWith(0xA4, {0x00, 0x00, 0x00});
    ASSERT_FALSE(w.chkEnGPIO->isChecked());
    StartRecording();
    w.chkEnGPIO->click();
    Chip().Poke(0x03, 0x5A);  // another window changed the other bits meanwhile
    w.chkEnGPIO->click();
    ExpectTraffic({R(0x03), W(0x03, 0xA5), R(0x03), W(0x03, 0x5A)});
    w.chkEnGPIO->click();
    EXPECT_EQ(Chip().Peek(0x03), 0x5B);
}

TEST_F(GPIOWindowTest, PinEnabledShowsWhichLinesThePinConfigurationRoutes) {
    DecodePinConfig(0x7F, 0xCE, 0x42, 0xFC);  // power-on: tachs, THERM and voltages
    frmGPIO& w = OpenWith(0x00, {0x00, 0x00, 0x00});
    EXPECT_EQ(PinEnabled(), std::vector<bool>(8, false));

    // Pins 2 and 4 GPIO, 1 and 3 tach inputs; pin 31 and pin 28 (field 0) GPIO, pin 32
    // and pin 29 (field 2) not.
    ChipWrite(0x10, 0x75);
    ChipWrite(0x13, 0x24);
    StartRecording();
    w.UpdateGPIOStatus();  // as the Pin Configuration window does after its Apply
    ExpectTraffic({B(0x09, 2), R(0xBF)});
    EXPECT_EQ(PinEnabled(), (std::vector<bool>{false, true, false, true, true, false, true, false}));

    // Only the program ticks them: the user's click does not.
    for (QCheckBox* box : {w.chkPinEn[0], w.chkPinEn[1]}) {
        const QPoint centre = box->mapTo(frame.get(), box->rect().center());
        QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, {}, centre);
    }
    EXPECT_FALSE(w.chkPinEn[0]->isChecked());
    EXPECT_TRUE(w.chkPinEn[1]->isChecked());
    ExpectTraffic({B(0x09, 2), R(0xBF)});
}

TEST_F(GPIOWindowTest, AReloadOfTheOpenWindowWritesNothing) {
    frmGPIO& w = OpenWith(0x01, {0x02, 0x00, 0x00});
    StartRecording();
    w.Form_Load();
    ExpectTraffic({R(0x03), B(0x09, 2), R(0xBF)});
}

TEST_F(GPIOWindowTest, AFailedTransferEndsTheProgram) {
    frmGPIO& w = OpenWith(0x00, {0x00, 0x00, 0x00});
    ExpectFailedTransferEnds([&] { w.UpdateGPIOStatus(); });
}

TEST_F(GPIOWindowTest, PictureOfTheGrid) {
    DecodePinConfig(0x75, 0xCE, 0x42, 0x24);
    OpenWith(0x01, {0x2E, 0x47, 0x05});
    QApplication::processEvents();
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        EXPECT_GE(child->width(), child->minimumSizeHint().width()) << child->objectName().toStdString();
        EXPECT_GE(child->height(), child->minimumSizeHint().height()) << child->objectName().toStdString();
    }
    test::KeepPicture(window->parentWidget()->grab().toImage(), "gpio.png");
}

}  // namespace
}  // namespace kestrum
