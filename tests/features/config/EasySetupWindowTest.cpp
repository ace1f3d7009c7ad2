#include "features/config/frmEasySetup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/General.h"
#include "core/PinDefinitions.h"
#include "core/Settings.h"
#include "monitor/frmGraph.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/UpDown.h"

namespace kestrum {
namespace {

using test::Access;
using test::B;
using test::R;
using test::SwitchWrite;
using test::W;
using test::WritesOnly;
using Writes = std::vector<Access>;

class EasySetupWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Chip().Poke(0x01, 0x01);
        Chip().Poke(0x02, 0x07);
        Chip().Poke(0x07, 0x30);
    }

    frmEasySetup& OpenSetup() {
        w = &Open<frmEasySetup>();
        return *w;
    }

    // Ticks exactly these option boxes, and types the option number.
    void Choose(std::initializer_list<int> ticked, const QString& number = "1") {
        for (int i = 0; i < frmEasySetup::kOptionCount; ++i)
            if (w->chkOption[i]->isChecked() != (std::count(ticked.begin(), ticked.end(), i) == 1))
                w->chkOption[i]->click();
        w->txtOption->selectAll();
        QTest::keyClick(w->txtOption, Qt::Key_Delete);
        QTest::keyClicks(w->txtOption, number);
    }

    // OK, as the user presses it; the traffic it caused.
    std::vector<Access> PressOk() {
        StartRecording();
        w->cmdApply->click();
        QApplication::processEvents();
        return Traffic();
    }

    bool IsOpen() const { return Find<frmEasySetup>() != nullptr; }
    std::string Stored() const { return GetSetting("OpenEasySetup", "absent"); }

    frmEasySetup* w = nullptr;
};

TEST_F(EasySetupWindowTest, OpensCentredWithItsOptionsInScreenOrderAndReadsNoRegister) {
    StartRecording();
    OpenSetup();
    ExpectTraffic({});
    EXPECT_EQ(w->windowTitle(), "Setup");
    QWidget* sub = w->parentWidget();
    EXPECT_EQ(sub->size(), QSize(340, 390));
    EXPECT_EQ(sub->pos(), QPoint((frame->frameGeometry().width() - 340) / 2, 67)) << "Top 1000 twips";

    EXPECT_EQ(Control<QGroupBox>(*w, "Frame1").title(), "Initialisation options : ");
    std::vector<std::pair<std::string, bool>> boxes;
    for (int i = 0; i < frmEasySetup::kOptionCount; ++i)
        boxes.emplace_back(w->chkOption[i]->text().toStdString(), w->chkOption[i]->isChecked());
    EXPECT_EQ(boxes,
              (std::vector<std::pair<std::string, bool>>{{"Set Easy Configuration Option", true},
                                                         {"Enable Tachs 1-4 ", true},
                                                         {"Enable 'Setup Complete' configuration bit", true},
                                                         {"Load Graphing Window", true},
                                                         {"Set Max PWM1-4 to 100%", true},
                                                         {"Set fans to run at Max PWM", false},
                                                         {"Set ALERT to Comparator mode ", false}}));
    std::vector<int> topToBottom{0, 1, 2, 3, 4, 5, 6};
    std::sort(topToBottom.begin(), topToBottom.end(),
              [&](int a, int b) { return w->chkOption[a]->y() < w->chkOption[b]->y(); });
    EXPECT_EQ(topToBottom, (std::vector<int>{0, 1, 4, 5, 6, 2, 3}));
    EXPECT_EQ(w->txtOption->text(), "1");
    const QPoint box = w->txtOption->mapTo(w, w->txtOption->rect().center());
    const QPoint option = w->chkOption[0]->mapTo(w, w->chkOption[0]->rect().center());
    EXPECT_NEAR(box.y(), option.y(), 2) << "beside option 0";
    EXPECT_EQ(Control<QPushButton>(*w, "cmdApply").text(), "OK");
    EXPECT_EQ(Control<QPushButton>(*w, "cmdClose").text(), "Cancel");

    test::ExpectTidy(*w, "easy-setup");
}

TEST_F(EasySetupWindowTest, OkRunsTheDefaultStepsInOrderSavesAndCloses) {
    OpenSetup();
    // How much traffic had passed when the Graphs window came up.
    std::optional<size_t> graphsAfter;
    const QObject watch;  // ends the connection with the test
    QObject::connect(manager.get(), &WindowManager::WindowsChanged, &watch, [&] {
        if (!graphsAfter && Find<frmGraph>() != nullptr) graphsAfter = Traffic().size();
    });
    const std::vector<Access> traffic = PressOk();
    // Easy Config is written without a read and brings the pin decode and the board
    // switches with it; the tachs and the setup bit are read afresh and written back.
    const std::vector<Access> beforeGraphs{W(0x14, 0x01),
                                           B(0x10, 4),
                                           SwitchWrite(0x4A, PackBoardFlags(0)),
                                           SwitchWrite(0x48, PackBoardFlags(1)),
                                           R(0x07),
                                           W(0x07, 0x3F),
                                           R(0x01),
                                           W(0x01, 0x21)};
    std::vector<Access> expected = beforeGraphs;
    expected.push_back(W(0x2C, 0xFF));
    EXPECT_EQ(traffic, expected);
    EXPECT_EQ(graphsAfter, beforeGraphs.size()) << "between the setup bit and the PWM limits";
    const frmGraph* graphs = Find<frmGraph>();
    ASSERT_NE(graphs, nullptr);
    EXPECT_EQ(graphs->parentWidget()->pos(), QPoint(33, 33)) << "500, 500 twips";
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Stored(), "True");

    // An open Graphs window is brought back to 500, 500.
    graphs->parentWidget()->move(120, 90);
    OpenSetup();
    Choose({3});
    EXPECT_EQ(PressOk(), Writes{});
    EXPECT_EQ(Find<frmGraph>(), graphs);
    EXPECT_EQ(graphs->parentWidget()->pos(), QPoint(33, 33));
}

TEST_F(EasySetupWindowTest, TickedStepsRunInIndexOrderEachReadingAfresh) {
    OpenSetup();
    Choose({2, 6});
    EXPECT_EQ(PressOk(), (Writes{R(0x01), W(0x01, 0x21), R(0x01), W(0x01, 0x29)}));
    EXPECT_EQ(Find<frmGraph>(), nullptr);

    OpenSetup();
    Choose({0, 1, 2, 4, 5, 6}, "3");
    EXPECT_EQ(WritesOnly(PressOk()), (Writes{W(0x14, 0x04), W(0x07, 0x3F), W(0x01, 0x29), W(0x2C, 0xFF),
                                             W(0x02, 0x27), W(0x01, 0x29)}));
}

TEST_F(EasySetupWindowTest, TheOptionNumberGivesItsOneHotCodeOrStopsOkBeforeAnyWrite) {
    const std::vector<std::pair<QString, int32_t>> accepted{
        {"1", 0x01}, {"2", 0x02}, {"5", 0x10}, {"0.5", 0x00}, {"2.5", 0x02}, {"5.9", 0x10}, {" 4 ", 0x08}};
    for (const auto& [number, code] : accepted) {
        OpenSetup();
        Choose({0}, number);
        EXPECT_EQ(WritesOnly(PressOk()), Writes{W(0x14, code)}) << '"' << number.toStdString() << '"';
    }
    EXPECT_TRUE(messages.shown.empty());

    SaveSetting("OpenEasySetup", "True");
    for (const char* number : {"0", "6", "abc", "", "-1", "6.0", "1x"}) {
        SCOPED_TRACE(number);
        messages.shown.clear();
        OpenSetup();
        w->chkStartUp->click();
        Choose({0, 1, 2, 4}, number);
        EXPECT_EQ(PressOk(), Writes{});
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Option value must be in range 1-5");
        EXPECT_EQ(messages.shown[0].buttons, MsgButtons::OK);
        EXPECT_EQ(messages.shown[0].caption, kAppTitle);
        EXPECT_TRUE(IsOpen());
        EXPECT_EQ(Stored(), "True") << "not saved";

        // With option 0 clear the number is not looked at.
        w->chkOption[0]->click();
        EXPECT_EQ(WritesOnly(PressOk()), (Writes{W(0x07, 0x3F), W(0x01, 0x21), W(0x2C, 0xFF)}));
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_FALSE(IsOpen());
        EXPECT_EQ(Stored(), "False");
        SaveSetting("OpenEasySetup", "True");
    }
}

TEST_F(EasySetupWindowTest, TheSpinnerStepsTheNumberWithinOneToFive) {
    OpenSetup();
    Choose({0});
    w->UpDown1->downButton->click();
    EXPECT_EQ(w->txtOption->text(), "1");
    for (int i = 0; i < 6; ++i) w->UpDown1->upButton->click();
    EXPECT_EQ(w->txtOption->text(), "5");
    w->UpDown1->downButton->click();
    EXPECT_EQ(WritesOnly(PressOk()), Writes{W(0x14, 0x08)});
}

TEST_F(EasySetupWindowTest, ShowAtStartUpComesFromTheSettingAndIsSavedOnlyByOk) {
    for (const auto& [stored, ticked] : std::vector<std::pair<const char*, bool>>{
             {"True", true}, {"False", false}, {"0", false}, {"-1", true}, {"maybe", true}}) {
        SaveSetting("OpenEasySetup", stored);
        EXPECT_EQ(OpenSetup().chkStartUp->isChecked(), ticked) << '"' << stored << '"';
        Close(*w);
    }

    SaveSetting("OpenEasySetup", "True");
    OpenSetup();
    Choose({0, 1, 2, 3, 4, 5, 6});
    w->chkStartUp->click();
    StartRecording();
    w->cmdClose->click();
    QApplication::processEvents();
    ExpectTraffic({});
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Stored(), "True") << "Cancel saves nothing";

    OpenSetup();
    EXPECT_TRUE(w->chkOption[0]->isChecked() && !w->chkOption[6]->isChecked()) << "the boxes start afresh";
    Choose({});
    w->chkStartUp->click();
    EXPECT_EQ(PressOk(), Writes{});
    EXPECT_EQ(Stored(), "False");
    EXPECT_FALSE(OpenSetup().chkStartUp->isChecked());
}

TEST_F(EasySetupWindowTest, AFailedTransferEndsTheProgram) {
    OpenSetup();
    ExpectFailedTransferEnds([&] { w->cmdApply_Click(); });
}

}  // namespace
}  // namespace kestrum
