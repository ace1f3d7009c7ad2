#include "features/config/frmEasySetup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <string>
#include <vector>

#include "core/General.h"
#include "core/Settings.h"
#include "monitor/frmGraph.h"
#include "support/Pictures.h"
#include "support/WindowFixture.h"
#include "widgets/Controls.h"
#include "widgets/UpDown.h"

namespace kestrum {
namespace {

using test::Access;
using test::R;
using test::W;
using test::WritesOnly;

const char* const kRangeMessage = "Option value must be in range 1-5";

class EasySetupWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Chip().Poke(0x01, 0x01);
        Chip().Poke(0x02, 0x00);
        Chip().Poke(0x07, 0x30);
    }

    frmEasySetup& OpenSetup() {
        window = &Open<frmEasySetup>();
        return *window;
    }

    // Ticks exactly the given option boxes, as the user would.
    void TickOnly(std::initializer_list<int> options) {
        for (int i = 0; i < frmEasySetup::kOptionCount; ++i) {
            const bool wanted = std::find(options.begin(), options.end(), i) != options.end();
            if (window->chkOption[i]->isChecked() != wanted) window->chkOption[i]->click();
        }
    }

    void TypeOption(const QString& text) {
        window->txtOption->selectAll();
        QTest::keyClick(window->txtOption, Qt::Key_Delete);
        QTest::keyClicks(window->txtOption, text);
        ASSERT_EQ(window->txtOption->text(), text);
    }

    // OK with only option 0 ticked and this number typed: the Easy Config code written.
    std::vector<Access> WritesForNumber(const QString& text) {
        OpenSetup();
        TickOnly({frmEasySetup::kEasyConfig});
        TypeOption(text);
        StartRecording();
        window->cmdApply->click();
        QApplication::processEvents();
        return WritesOnly(Traffic());
    }

    bool IsOpen() const { return Find<frmEasySetup>() != nullptr; }

    frmEasySetup* window = nullptr;
};

TEST_F(EasySetupWindowTest, OpensCentredWithItsOptionsInScreenOrderAndTouchesNoRegister) {
    StartRecording();
    frmEasySetup& w = OpenSetup();
    ExpectTraffic({});
    EXPECT_EQ(w.windowTitle(), "Setup");
    QWidget* frame = w.parentWidget();
    EXPECT_EQ(frame->size(), QSize(340, 390));
    // Top 1000 twips; centred across the main window's outer frame.
    const int mainWidth = this->frame->frameGeometry().width();
    EXPECT_EQ(frame->pos(), QPoint((mainWidth - 340) / 2, 67));

    EXPECT_EQ(Control<QGroupBox>(w, "Frame1").title(), "Initialisation options : ");
    const std::vector<std::pair<std::string, bool>> expected{
        {"Set Easy Configuration Option", true},
        {"Enable Tachs 1-4 ", true},
        {"Enable 'Setup Complete' configuration bit", true},
        {"Load Graphing Window", true},
        {"Set Max PWM1-4 to 100%", true},
        {"Set fans to run at Max PWM", false},
        {"Set ALERT to Comparator mode ", false},
    };
    for (int i = 0; i < frmEasySetup::kOptionCount; ++i) {
        const QCheckBox& box = Control<QCheckBox>(w, ElementName("chkOption", i));
        EXPECT_EQ(box.text().toStdString(), expected[i].first);
        EXPECT_EQ(box.isChecked(), expected[i].second) << i;
    }
    std::vector<int> rows(frmEasySetup::kOptionCount);
    for (int i = 0; i < frmEasySetup::kOptionCount; ++i) rows[i] = i;
    std::sort(rows.begin(), rows.end(),
              [&](int a, int b) { return w.chkOption[a]->y() < w.chkOption[b]->y(); });
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 4, 5, 6, 2, 3}));

    EXPECT_EQ(Control<QLineEdit>(w, "txtOption").text(), "1");
    const UpDown& spinner = Control<UpDown>(w, "UpDown1");
    EXPECT_EQ(spinner.Minimum(), 1);
    EXPECT_EQ(spinner.Maximum(), 5);
    const QPoint box = w.txtOption->mapTo(&w, QPoint(0, w.txtOption->height() / 2));
    const QPoint option =
        w.chkOption[0]->mapTo(&w, QPoint(w.chkOption[0]->width(), w.chkOption[0]->height() / 2));
    EXPECT_NEAR(box.y(), option.y(), 2) << "beside option 0";
    EXPECT_GT(box.x(), option.x());
    EXPECT_EQ(Control<QCheckBox>(w, "chkStartUp").text(), "Show at start-up");
    EXPECT_TRUE(w.chkStartUp->isChecked()) << "no stored setting";
    EXPECT_EQ(Control<QPushButton>(w, "cmdApply").text(), "OK");
    EXPECT_EQ(Control<QPushButton>(w, "cmdClose").text(), "Cancel");
}

TEST_F(EasySetupWindowTest, ShowAtStartUpFollowsTheStoredSetting) {
    const std::vector<std::pair<std::string, bool>> cases{
        {"True", true}, {"False", false}, {"0", false}, {"-1", true}, {"maybe", true}};
    for (const auto& [text, ticked] : cases) {
        SaveSetting("OpenEasySetup", text);
        frmEasySetup& w = OpenSetup();
        EXPECT_EQ(w.chkStartUp->isChecked(), ticked) << '"' << text << '"';
        Close(w);
    }
}

TEST_F(EasySetupWindowTest, OkRunsTheTickedStepsInOrderSavesAndCloses) {
    SaveSetting("OpenEasySetup", "False");
    frmEasySetup& w = OpenSetup();
    ASSERT_FALSE(w.chkStartUp->isChecked());
    w.chkStartUp->click();
    StartRecording();
    w.cmdApply->click();
    QApplication::processEvents();

    // 0x14 first, its pin decode, then the read-modify-writes and the PWM limit.
    const std::vector<Access> traffic = Traffic();
    ASSERT_FALSE(traffic.empty());
    EXPECT_EQ(traffic.front(), W(0x14, 0x01));
    EXPECT_EQ(WritesOnly(traffic),
              (std::vector<Access>{W(0x14, 0x01), W(0x07, 0x3F), W(0x01, 0x21), W(0x2C, 0xFF)}));
    std::vector<Access> reads;
    for (const Access& a : traffic)
        if (a.kind == test::AccessKind::Read) reads.push_back(a);
    EXPECT_EQ(reads, (std::vector<Access>{R(0x07), R(0x01)}));

    frmGraph* graphs = Find<frmGraph>();
    ASSERT_NE(graphs, nullptr);
    EXPECT_EQ(graphs->parentWidget()->pos(), QPoint(33, 33)) << "500, 500 twips";
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(GetSetting("OpenEasySetup", "absent"), "True");
}

TEST_F(EasySetupWindowTest, EveryOptionTickedRunsInIndexOrder) {
    Chip().Poke(0x01, 0x40);
    Chip().Poke(0x02, 0x07);
    OpenSetup();
    TickOnly({0, 1, 2, 3, 4, 5, 6});
    TypeOption("3");
    StartRecording();
    window->cmdApply->click();
    EXPECT_EQ(WritesOnly(Traffic()), (std::vector<Access>{W(0x14, 0x04), W(0x07, 0x3F), W(0x01, 0x60),
                                                          W(0x2C, 0xFF), W(0x02, 0x27), W(0x01, 0x68)}));
    EXPECT_EQ(GetSetting("OpenEasySetup", "absent"), "True");
}

TEST_F(EasySetupWindowTest, SetupCompleteAndComparatorModeEachReadAndWriteConfiguration1) {
    OpenSetup();
    TickOnly({frmEasySetup::kSetupComplete, frmEasySetup::kComparatorAlert});
    StartRecording();
    window->cmdApply->click();
    ExpectTraffic({R(0x01), W(0x01, 0x21), R(0x01), W(0x01, 0x29)});
    EXPECT_EQ(Find<frmGraph>(), nullptr);
}

TEST_F(EasySetupWindowTest, AnOptionNumberOutOfRangeStopsOkBeforeAnyWrite) {
    SaveSetting("OpenEasySetup", "True");
    for (const char* text : {"0", "6", "abc", "", "-1", "6.0", "1x"}) {
        SCOPED_TRACE(text);
        messages.shown.clear();
        frmEasySetup& w = OpenSetup();
        w.chkStartUp->click();
        TypeOption(text);
        StartRecording();
        w.cmdApply->click();
        QApplication::processEvents();
        ExpectTraffic({});
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, kRangeMessage);
        EXPECT_EQ(messages.shown[0].buttons, MsgButtons::OK);
        EXPECT_EQ(messages.shown[0].caption, kAppTitle);
        EXPECT_TRUE(IsOpen()) << "the dialog stays open";
        EXPECT_EQ(Find<frmGraph>(), nullptr);
        EXPECT_EQ(GetSetting("OpenEasySetup", "absent"), "True") << "not saved";

        // With option 0 clear the number is not looked at.
        w.chkOption[0]->click();
        w.cmdApply->click();
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(WritesOnly(Traffic()), (std::vector<Access>{W(0x07, 0x3F), W(0x01, 0x21), W(0x2C, 0xFF)}));
        EXPECT_FALSE(IsOpen());
        EXPECT_EQ(GetSetting("OpenEasySetup", "absent"), "False");
        SaveSetting("OpenEasySetup", "True");
        if (frmGraph* graphs = Find<frmGraph>()) Close(*graphs);
    }
}

TEST_F(EasySetupWindowTest, TheOptionNumberGivesItsOneHotCode) {
    const std::vector<std::pair<QString, int32_t>> cases{
        {"1", 0x01},   {"2", 0x02},   {"3", 0x04},   {"4", 0x08},    {"5", 0x10},
        {"0.5", 0x00}, {"2.5", 0x02}, {"5.9", 0x10}, {"1.99", 0x01}, {" 4 ", 0x08}};
    for (const auto& [text, code] : cases) {
        const std::vector<Access> writes = WritesForNumber(text);
        EXPECT_EQ(writes, std::vector<Access>{W(0x14, code)}) << '"' << text.toStdString() << '"';
        EXPECT_FALSE(IsOpen());
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EasySetupWindowTest, TheSpinnerStepsTheNumberWithinOneToFive) {
    frmEasySetup& w = OpenSetup();
    TickOnly({frmEasySetup::kEasyConfig});
    w.UpDown1->downButton->click();
    EXPECT_EQ(w.txtOption->text(), "1");
    for (int i = 0; i < 6; ++i) w.UpDown1->upButton->click();
    EXPECT_EQ(w.txtOption->text(), "5");
    w.UpDown1->downButton->click();
    StartRecording();
    w.cmdApply->click();
    EXPECT_EQ(WritesOnly(Traffic()), std::vector<Access>{W(0x14, 0x08)});
}

TEST_F(EasySetupWindowTest, CancelWritesAndSavesNothing) {
    SaveSetting("OpenEasySetup", "True");
    frmEasySetup& w = OpenSetup();
    w.chkStartUp->click();
    StartRecording();
    w.cmdClose->click();
    QApplication::processEvents();
    ExpectTraffic({});
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(GetSetting("OpenEasySetup", "absent"), "True");

    // Show at start-up cleared with OK: the next opening finds it clear.
    OpenSetup();
    TickOnly({});
    window->chkStartUp->click();
    window->cmdApply->click();
    ExpectTraffic({});
    EXPECT_EQ(GetSetting("OpenEasySetup", "absent"), "False");
    EXPECT_FALSE(OpenSetup().chkStartUp->isChecked());
    EXPECT_EQ(window->chkOption[0]->isChecked(), true) << "the boxes start afresh";
}

TEST_F(EasySetupWindowTest, AFailedTransferEndsTheProgram) {
    frmEasySetup& w = OpenSetup();
    ExpectFailedTransferEnds([&] { w.cmdApply_Click(); });
}

TEST_F(EasySetupWindowTest, PictureOfTheOptions) {
    frmEasySetup& w = OpenSetup();
    QApplication::processEvents();
    // Every caption whole.
    for (QWidget* child : w.findChildren<QWidget*>()) {
        if (!child->isVisible() || child->objectName().isEmpty() || child->inherits("QLineEdit") ||
            child->inherits("kestrum::UpDown"))
            continue;
        EXPECT_GE(child->width(), child->minimumSizeHint().width()) << child->objectName().toStdString();
        EXPECT_GE(child->height(), child->minimumSizeHint().height()) << child->objectName().toStdString();
    }
    test::KeepPicture(w.parentWidget()->grab().toImage(), "easy-setup.png");
}

}  // namespace
}  // namespace kestrum
