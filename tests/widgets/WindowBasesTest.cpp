#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "core/Scheduler.h"
#include "support/WindowFixture.h"
#include "widgets/Controls.h"
#include "widgets/DialogWindow.h"
#include "widgets/RegisterBinding.h"
#include "widgets/UpDown.h"
#include "widgets/WriteAtOnceWindow.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

// A dialog on two registers: 0x01 read, modified and written, 0x07 rebuilt.
class ProbeDialog final : public DialogWindow {
public:
    ProbeDialog() {
        setObjectName("ProbeDialog");
        setWindowTitle("Probe");
        chkMonitor = NewCheckBox(this, "chkMonitor", "Monitor");
        chkAlert = NewCheckBox(this, "chkAlert", "ALERT");
        chkTach = NewCheckBox(this, "chkTach", "Tach1");
        config1.Bit(chkMonitor, 0).Bit(chkAlert, 3, Sense::Inverted);
        tachEnable.Bit(chkTach, 0);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(chkMonitor);
        layout->addWidget(chkAlert);
        layout->addWidget(chkTach);
        layout->addLayout(ButtonRow());
    }
    void Form_Load() override {
        ++loads;
        SetSizeTwips(6990, 4260);
        config1.Load(ChipRead(0x01));
        tachEnable.Load(ChipRead(0x07));
    }
    void cmdApply_Click() override {
        config1.WriteModified();
        tachEnable.WriteRebuilt();
    }

    QCheckBox* chkMonitor;
    QCheckBox* chkAlert;
    QCheckBox* chkTach;
    RegisterBinding config1{0x01}, tachEnable{0x07};
    int loads = 0;
};

// A window that writes each change at once and is refreshed by the master timer's GPIO task.
class ProbeLiveWindow final : public WriteAtOnceWindow {
public:
    ProbeLiveWindow() {
        setObjectName("ProbeLiveWindow");
        chkEnable = NewCheckBox(this, "chkEnable", "Enable");
        cmbDir = NewList(this, "cmbDir", {"I/P", "O/P"});
        const SpinnerBox min = NewSpinnerBox(this, "txtMinPWM", "UpDown1", 0, 15);
        txtMin = min.text;
        spinner = min.spinner;
        config.Bit(chkEnable, 0).Field(cmbDir, 1, 1).NumberField(txtMin, 4, 4);
        OnUserClick(chkEnable, [this] { config.WriteModified(chkEnable); });
        OnUserChoice(cmbDir, [this] { config.WriteModified(cmbDir); });
        OnUserEdit(txtMin, [this] { config.WriteModified(txtMin); });
        auto* layout = new QHBoxLayout(this);
        layout->addWidget(chkEnable);
        layout->addWidget(cmbDir);
        layout->addWidget(min.box);
        SetFormOpenFlag(gGPIOFormOpen);
        KeepTimerTask(TaskAttachment::Window(WindowTask::Gpio, [this] { ++refreshes; }));
    }
    void Form_Load() override {
        loadedDuringLoad = IsLoaded();
        config.Load(ChipRead(0x03));
        // A handler raised while loading, as a toolkit might raise it, writes only on a reload.
        chkEnable->click();
        chkEnable->click();
    }

    QCheckBox* chkEnable;
    QComboBox* cmbDir;
    QLineEdit* txtMin;
    UpDown* spinner;
    RegisterBinding config{0x03};
    int refreshes = 0;
    bool loadedDuringLoad = false;
};

class WindowBasesTest : public test::WindowTest {
protected:
    int ChildCount(const QWidget& window) const {
        return static_cast<int>(window.findChildren<QWidget*>().size());
    }
    void Tick() { TickAfter(1.0); }
};

TEST_F(WindowBasesTest, ApplyWritesAndStaysOpenOkAppliesAndClosesCancelWritesNothing) {
    Chip().Poke(0x01, 0xF0);
    Chip().Poke(0x07, 0xFF);
    StartRecording();
    ProbeDialog& dialog = Open<ProbeDialog>();
    ExpectTraffic({R(0x01), R(0x07)});
    EXPECT_TRUE(dialog.chkAlert->isChecked());
    EXPECT_TRUE(dialog.chkTach->isChecked());

    dialog.chkMonitor->click();
    dialog.chkAlert->click();
    dialog.chkTach->click();
    EXPECT_EQ(Traffic().size(), 2u) << "a click writes nothing until Apply";
    StartRecording();
    dialog.cmdApply->click();
    ExpectTraffic({R(0x01), W(0x01, 0xF9), W(0x07, 0x00)});
    EXPECT_EQ(Find<ProbeDialog>(), &dialog);

    StartRecording();
    dialog.cmdOK->click();
    ExpectTraffic({R(0x01), W(0x01, 0xF9), W(0x07, 0x00)});
    EXPECT_EQ(Find<ProbeDialog>(), nullptr);

    ProbeDialog& again = Open<ProbeDialog>();
    again.chkMonitor->click();
    StartRecording();
    again.cmdCancel->click();
    EXPECT_TRUE(Traffic().empty());
    EXPECT_EQ(Find<ProbeDialog>(), nullptr);
}

TEST_F(WindowBasesTest, FormLoadAgainReloadsTheSameControls) {
    ProbeDialog& dialog = Open<ProbeDialog>();
    const int children = ChildCount(dialog);
    Chip().Poke(0x07, 0x00);
    dialog.Form_Load();
    dialog.Form_Load();
    EXPECT_EQ(ChildCount(dialog), children);
    EXPECT_EQ(dialog.loads, 3);
    EXPECT_FALSE(dialog.chkTach->isChecked()) << "read afresh";
    EXPECT_EQ(dialog.parentWidget()->size(), QSize(466, 284));
    EXPECT_EQ(&Control<QPushButton>(dialog, "cmdApply"), dialog.cmdApply);
    EXPECT_EQ(dialog.cmdOK->text(), "OK");
    EXPECT_EQ(dialog.cmdCancel->text(), "Cancel");
}

TEST_F(WindowBasesTest, FlagAndTimerTaskFollowLoadAndUnload) {
    gMeasureEnabled = false;
    ProbeLiveWindow& live = Open<ProbeLiveWindow>();
    EXPECT_FALSE(live.loadedDuringLoad);
    EXPECT_TRUE(live.IsLoaded());
    EXPECT_TRUE(gGPIOFormOpen);
    Tick();
    EXPECT_EQ(live.refreshes, 1);

    // Closed, and opened again before the old window is destroyed: the new one keeps the task.
    live.Unload();
    EXPECT_FALSE(gGPIOFormOpen);
    Tick();
    EXPECT_EQ(live.refreshes, 1);
    ProbeLiveWindow& reopened = Open<ProbeLiveWindow>();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Tick();
    EXPECT_EQ(reopened.refreshes, 1);

    Close(reopened);
    EXPECT_FALSE(gGPIOFormOpen);
    gGPIOFormOpen = true;  // even with the flag forced up, no window is called
    Tick();
}

TEST_F(WindowBasesTest, OnlyTheUsersOwnChangesWriteAndOnlyOnceLoaded) {
    Chip().Poke(0x03, 0x50);
    StartRecording();
    ProbeLiveWindow& live = Open<ProbeLiveWindow>();
    ExpectTraffic({R(0x03)});  // the clicks raised while loading wrote nothing
    EXPECT_EQ(live.txtMin->text(), "5");

    // Values set from code write nothing.
    live.chkEnable->setChecked(true);
    live.cmbDir->setCurrentIndex(1);
    live.txtMin->setText("9");
    live.config.Load(0xFF);
    ExpectTraffic({R(0x03)});

    StartRecording();
    Chip().Poke(0x03, 0x50);
    live.chkEnable->click();  // now clear
    ExpectTraffic({R(0x03), W(0x03, 0x50)});

    StartRecording();
    live.cmbDir->setCurrentIndex(0);
    emit live.cmbDir->activated(0);
    ExpectTraffic({R(0x03), W(0x03, 0x50)});

    StartRecording();
    live.txtMin->clear();
    QTest::keyClicks(live.txtMin, "12");
    ExpectTraffic({R(0x03), W(0x03, 0x10), R(0x03), W(0x03, 0xC0)});  // every keystroke writes

    // A reload of the open window runs with the loaded flag up.
    StartRecording();
    live.Form_Load();
    EXPECT_TRUE(live.loadedDuringLoad);
    EXPECT_EQ(test::WritesOnly(Traffic()).size(), 2u);
}

TEST_F(WindowBasesTest, TheSpinnerStepsItsBoxWithinRangeAsAUserEdit) {
    ProbeLiveWindow& live = Open<ProbeLiveWindow>();
    EXPECT_EQ(&Control<UpDown>(live, "UpDown1"), live.spinner);
    live.txtMin->setText("14");
    StartRecording();
    live.spinner->upButton->click();
    EXPECT_EQ(live.txtMin->text(), "15");
    live.spinner->upButton->click();  // at the top: nothing changes, nothing is written
    EXPECT_EQ(test::WritesOnly(Traffic()).size(), 1u);

    live.txtMin->setText("20");  // typed beyond the range, the spinner comes back into it
    live.spinner->downButton->click();
    EXPECT_EQ(live.txtMin->text(), "15");
    live.txtMin->setText("abc");
    live.spinner->StepAsUser(1);
    EXPECT_EQ(live.txtMin->text(), "1");
    live.txtMin->setText("0");
    live.spinner->downButton->click();
    EXPECT_EQ(live.txtMin->text(), "0");
    EXPECT_EQ(test::WritesOnly(Traffic()).size(), 3u);
}

TEST_F(WindowBasesTest, AFailedTransferEndsTheProgramFromAnyWindow) {
    ProbeDialog& dialog = Open<ProbeDialog>();
    ExpectFailedTransferEnds([&] { dialog.cmdApply_Click(); });
    EXPECT_EQ(Find<ProbeDialog>(), nullptr) << "every window was unloaded first";
}

TEST(OptionButtonsTest, ClearingLeavesNoneSelectedAndTheSetStillExclusive) {
    QWidget parent;
    std::array<QRadioButton*, 3> options{};
    for (int i = 0; i < 3; ++i) options[i] = NewOptionButton(&parent, ElementName("optEasy", i), "Option");
    options[2]->setChecked(true);
    options[2]->setChecked(false);
    ASSERT_TRUE(options[2]->isChecked()) << "Qt keeps the selected button of an exclusive set";

    ClearOptionButtons(options);
    for (const QRadioButton* option : options) EXPECT_FALSE(option->isChecked());

    options[0]->click();
    options[1]->click();
    EXPECT_FALSE(options[0]->isChecked()) << "picking another option still moves the selection";
    EXPECT_TRUE(options[1]->isChecked());
}

TEST(Controls, ARightAlignedRowKeepsItsWidgetsInOrderAtTheRightEdge) {
    QWidget form;
    QPushButton* read = NewButton(&form, "cmdRead", "Read");
    QPushButton* close = NewButton(&form, "cmdClose", "Close");
    QHBoxLayout* row = RightAlignedRow({read, close});
    form.setLayout(row);
    form.resize(600, 60);
    row->activate();
    EXPECT_GT(read->x(), 300);
    EXPECT_LT(read->x(), close->x());
    EXPECT_EQ(close->geometry().right(), form.width() - 1 - row->contentsMargins().right());
}

}  // namespace
}  // namespace kestrum
