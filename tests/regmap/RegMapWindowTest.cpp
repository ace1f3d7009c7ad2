#include "regmap/frmRegMap.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <utility>
#include <vector>

#include "core/Declarations.h"
#include "core/USBStuff.h"
#include "regmap/RegMapStuff.h"
#include "regmap/RegisterTree.h"
#include "support/CommaLocale.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/ClickableLabel.h"

namespace kestrum {
namespace {

using test::R;
using test::W;

class RegMapWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = &Open<frmRegMap>();
    }

    // Clicks a register leaf the way a user does, opening its category first.
    void ClickLeaf(const QString& name) {
        QTreeWidgetItem* leaf = FindTreeNodeByKey(*window->TreeView1, name);
        ASSERT_NE(leaf, nullptr) << name.toStdString();
        leaf->parent()->parent()->setExpanded(true);
        leaf->parent()->setExpanded(true);
        window->TreeView1->scrollToItem(leaf);
        const QRect cell = window->TreeView1->visualItemRect(leaf);
        QTest::mouseClick(window->TreeView1->viewport(), Qt::LeftButton, {}, cell.center());
    }

    void TypeAddress(const QString& text) { window->txtReadAddr->setText(text); }

    std::vector<QString> BitTexts() const {
        std::vector<QString> texts;
        for (int k = 7; k >= 0; --k) texts.push_back(window->lblBit[k]->text());
        return texts;
    }
    std::vector<QString> BitNames() const {
        std::vector<QString> names;
        for (const QLabel* label : window->lblInfo) names.push_back(label->text());
        return names;
    }

    frmRegMap* window = nullptr;
};

TEST_F(RegMapWindowTest, LoadingBuildsTheTreeAndReadsNothing) {
    EXPECT_TRUE(gRegMapFormOpen);
    EXPECT_EQ(window->windowTitle(), "Register Map");
    EXPECT_EQ(window->parentWidget()->size(), QSize(577, 417));
    EXPECT_EQ(TreeNodesInOrder(*window->TreeView1).size(), static_cast<size_t>(kTreeNodeCount));
    EXPECT_TRUE(TreeNode(*window->TreeView1, 1)->isExpanded());
    EXPECT_FALSE(TreeNode(*window->TreeView1, 39)->isExpanded());
    EXPECT_FALSE(window->chkContRead->isChecked());
    EXPECT_FALSE(window->ContinuousReadTicked());
    window->chkContRead->click();
    EXPECT_TRUE(window->ContinuousReadTicked());
    window->chkContRead->click();
    EXPECT_FALSE(window->ContinuousReadTicked());

    Close(*window);
    EXPECT_FALSE(gRegMapFormOpen);
    EXPECT_EQ(Find<frmRegMap>(), nullptr);

    StartRecording();
    window = &Open<frmRegMap>();
    EXPECT_TRUE(gRegMapFormOpen);
    EXPECT_EQ(TreeNodesInOrder(*window->TreeView1).size(), static_cast<size_t>(kTreeNodeCount));
    EXPECT_TRUE(Traffic().empty());

    // Loading again rebuilds the same tree and keeps every control once.
    const auto children = window->findChildren<QWidget*>().size();
    window->Form_Load();
    EXPECT_EQ(TreeNodesInOrder(*window->TreeView1).size(), static_cast<size_t>(kTreeNodeCount));
    EXPECT_EQ(window->findChildren<QWidget*>().size(), children);
}

TEST_F(RegMapWindowTest, EveryControlCarriesItsName) {
    EXPECT_EQ(window->objectName(), "frmRegMap");
    const std::vector<std::pair<QWidget*, const char*>> named = {
        {window->fraRegMap, "fraRegMap"},
        {window->TreeView1, "TreeView1"},
        {window->fraReadWrite, "fraReadWrite"},
        {window->txtReadAddr, "txtReadAddr"},
        {window->txtHex, "txtHex"},
        {window->txtDec, "txtDec"},
        {window->cmdRead, "cmdRead"},
        {window->cmdWrite, "cmdWrite"},
        {window->chkContRead, "chkContRead"},
        {window->fraDetails, "fraDetails"},
        {window->lblRegDescription, "lblRegDescription"},
        {window->lblCurrentAddr, "lblCurrentAddr"},
        {window->lblReadOnly, "lblReadOnly"},
        {window->lblDecVal, "lblDecVal"},
        {window->lblHexVal, "lblHexVal"},
        {window->fraBits, "fraBits"},
        {window->lblBit[3], "lblBit_3"},
        {window->lblInfo[7], "lblInfo_7"},
    };
    for (const auto& [control, name] : named) EXPECT_EQ(&Control<QWidget>(*window, name), control) << name;
}

TEST_F(RegMapWindowTest, BitsSitUnderTheirNamesWithBitSevenLeftmost) {
    for (int k = 0; k < 8; ++k) {
        const QRect bit = window->lblBit[k]->geometry();
        const QRect name = window->lblInfo[7 - k]->geometry();
        EXPECT_NEAR(name.center().x(), bit.center().x(), 1) << "bit " << k;
        EXPECT_LT(name.bottom(), bit.top()) << "bit " << k;
        if (k > 0) {
            EXPECT_LT(bit.right(), window->lblBit[k - 1]->geometry().left()) << "bit " << k;
        }
    }
    test::ExpectTidy(*window, "register-map");
}

TEST_F(RegMapWindowTest, ReadingAnAddressShowsThePrimaryNameAndTheTreeTheLeafsName) {
    Chip().Poke(0x45, 0xA5);
    StartRecording();
    TypeAddress("45");
    window->cmdRead->click();
    EXPECT_EQ(window->lblRegDescription->text(), "Remote 1 Low Limit Register");
    EXPECT_EQ(window->lblCurrentAddr->text(), "45h");
    EXPECT_EQ(window->txtReadAddr->text(), "45H");
    EXPECT_EQ(window->lblReadOnly->text(), "No");
    EXPECT_EQ(window->lblDecVal->text(), "165");
    EXPECT_EQ(window->lblHexVal->text(), "A5");
    EXPECT_EQ(BitTexts(), (std::vector<QString>{"1", "0", "1", "0", "0", "1", "0", "1"}));

    ClickLeaf("Pin 15 Low Limit");
    EXPECT_EQ(window->lblRegDescription->text(), "Pin 15 Low Limit Register");
    EXPECT_EQ(window->lblCurrentAddr->text(), "45h");
    EXPECT_EQ(window->lblDecVal->text(), "165");
    ExpectTraffic({R(0x45), R(0x45)});

    // A read-only register with named bits.
    ClickLeaf("Fan Status,BMC");
    EXPECT_EQ(window->lblReadOnly->text(), "Yes");
    EXPECT_EQ(window->lblCurrentAddr->text(), "C5h");
    EXPECT_EQ(BitNames(), (std::vector<QString>{"F8", "F7", "F6", "F5", "F4", "F3", "F2", "F1"}));
}

TEST_F(RegMapWindowTest, RootsAndCategoriesDoNothing) {
    ClickLeaf("Configuration 0");  // opens General and Configuration
    StartRecording();
    for (const QString key : {"General", "Configuration", "Pin Configuration"}) {
        const QRect cell = window->TreeView1->visualItemRect(FindTreeNodeByKey(*window->TreeView1, key));
        QTest::mouseClick(window->TreeView1->viewport(), Qt::LeftButton, {}, cell.center());
    }
    EXPECT_TRUE(Traffic().empty());
    EXPECT_EQ(window->lblRegDescription->text(), "Configuration 0 Register");
}

TEST_F(RegMapWindowTest, AnAddressWithoutARecordShowsUnknownAndStillReads) {
    TypeAddress("5C");
    window->cmdRead->click();
    Chip().Poke(0xC2, 0x81);
    StartRecording();
    TypeAddress("c2");
    window->cmdRead->click();
    EXPECT_EQ(window->lblRegDescription->text(), "Unknown");
    EXPECT_EQ(window->lblCurrentAddr->text(), "C2h");
    EXPECT_EQ(window->txtReadAddr->text(), "C2H");
    EXPECT_EQ(window->lblReadOnly->text(), "No");  // kept from the last register
    EXPECT_EQ(BitNames(), (std::vector<QString>{"7", "6", "5", "4", "3", "2", "1", "0"}));
    EXPECT_EQ(window->lblDecVal->text(), "129");
    EXPECT_EQ(window->lblHexVal->text(), "81");
    EXPECT_EQ(BitTexts(), (std::vector<QString>{"1", "0", "0", "0", "0", "0", "0", "1"}));
    ExpectTraffic({R(0xC2)});
}

TEST_F(RegMapWindowTest, AddressesBeyondTheRegisterFileAreNeverSent) {
    const uint8_t config0 = Chip().Peek(0x00);
    StartRecording();
    for (const QString typed : {"100", "FFFFFFFFFFFFFFFFFFFF"}) {
        TypeAddress(typed);
        window->txtDec->setText("5");
        window->cmdWrite->click();
        window->cmdRead->click();
        QTest::mouseClick(window->lblBit[0], Qt::LeftButton);
        EXPECT_EQ(window->lblRegDescription->text(), "Unknown");
        EXPECT_EQ(BitNames(), (std::vector<QString>{"7", "6", "5", "4", "3", "2", "1", "0"}));
        EXPECT_EQ(window->lblDecVal->text(), "");
        EXPECT_EQ(window->lblHexVal->text(), "");
    }
    EXPECT_EQ(window->lblCurrentAddr->text(), "7FFFFFFFh");
    EXPECT_TRUE(Traffic().empty());
    EXPECT_EQ(Chip().Peek(0x00), config0);

    TypeAddress("FF");  // the last register is still in reach
    window->cmdRead->click();
    ExpectTraffic({R(0xFF)});
}

TEST_F(RegMapWindowTest, LeafPutsItsAddressInTheBoxAndReadUsesIt) {
    ClickLeaf("Local Tmin");
    EXPECT_EQ(window->txtReadAddr->text(), "5CH");
    EXPECT_EQ(window->lblRegDescription->text(), "Local Tmin Register");
    Chip().Poke(0x5C, 0x33);
    StartRecording();
    window->cmdRead->click();
    ExpectTraffic({R(0x5C)});
    EXPECT_EQ(window->lblDecVal->text(), "51");
    EXPECT_EQ(window->lblHexVal->text(), "33");
}

TEST_F(RegMapWindowTest, ClickingABitWritesTheWholeByteAndShowsTheReadBack) {
    Chip().Poke(0x5C, 0x00);
    ClickLeaf("Local Tmin");
    StartRecording();
    QTest::mouseClick(window->lblBit[3], Qt::LeftButton);
    ExpectTraffic({W(0x5C, 0x08), R(0x5C)});
    EXPECT_EQ(window->lblDecVal->text(), "8");
    EXPECT_EQ(window->lblHexVal->text(), "8");
    EXPECT_EQ(BitTexts(), (std::vector<QString>{"0", "0", "0", "0", "1", "0", "0", "0"}));

    // A read-only register is written as any other; the read-back shows it kept its value.
    ClickLeaf("Device ID");
    const QString before = window->lblDecVal->text();
    StartRecording();
    QTest::mouseClick(window->lblBit[7], Qt::LeftButton);
    ASSERT_EQ(Traffic().size(), 2u);
    EXPECT_EQ(Traffic()[0].kind, test::AccessKind::Write);
    EXPECT_EQ(window->lblDecVal->text(), before);
}

TEST_F(RegMapWindowTest, HexAndDecimalMirrorEachOtherOnce) {
    QTest::keyClicks(window->txtDec, "255");
    EXPECT_EQ(window->txtHex->text(), "FF");
    EXPECT_EQ(window->txtDec->text(), "255");
    window->txtHex->clear();
    QTest::keyClicks(window->txtHex, "FF");
    EXPECT_EQ(window->txtDec->text(), " 255");
    EXPECT_EQ(window->txtHex->text(), "FF");
    window->txtHex->setText("5Ch");
    EXPECT_EQ(window->txtDec->text(), " 92");

    // Very long numbers saturate instead of overflowing.
    window->txtDec->setText("99999999999999999999999999");
    EXPECT_EQ(window->txtHex->text(), "7FFFFFFF");
    window->txtHex->setText("FFFFFFFFFFFFFFFFFFFFFFFFFF");
    EXPECT_EQ(window->txtDec->text(), " 2147483647");
    window->txtDec->setText("1e400");
    EXPECT_EQ(window->txtHex->text(), "7FFFFFFF");
}

TEST_F(RegMapWindowTest, WriteSendsTheRoundedDecimalAndReadsBack) {
    TypeAddress("5c");
    StartRecording();
    window->txtDec->setText("76.5");  // halves go to even
    window->cmdWrite->click();
    window->txtDec->setText("99999999999999999999999999");  // the primitive clamps
    window->cmdWrite->click();
    ExpectTraffic({W(0x5C, 76), R(0x5C), W(0x5C, 255), R(0x5C)});
    EXPECT_EQ(window->lblDecVal->text(), "255");
}

TEST_F(RegMapWindowTest, EnterWritesFromTheValueBoxesOnly) {
    TypeAddress("5C");
    StartRecording();
    QTest::keyClick(window->txtReadAddr, Qt::Key_Return);
    QTest::keyClick(window->txtReadAddr, Qt::Key_Enter);
    EXPECT_TRUE(Traffic().empty());

    window->txtDec->setText("77");
    QTest::keyClick(window->txtDec, Qt::Key_Return);
    window->txtHex->setText("2A");
    QTest::keyClick(window->txtHex, Qt::Key_Enter);
    QTest::keyClick(window->txtHex, Qt::Key_A);
    ExpectTraffic({W(0x5C, 77), R(0x5C), W(0x5C, 42), R(0x5C)});
    EXPECT_EQ(Chip().Peek(0x5C), 42);
}

TEST_F(RegMapWindowTest, AddressBoxUpperCasesWhereTheUserTypes) {
    QTest::keyClicks(window->txtReadAddr, "ff");
    EXPECT_EQ(window->txtReadAddr->text(), "FF");
    window->txtReadAddr->clear();
    QTest::keyClicks(window->txtReadAddr, "5c");
    QTest::keyClick(window->txtReadAddr, Qt::Key_Home);
    QTest::keyClicks(window->txtReadAddr, "b");
    EXPECT_EQ(window->txtReadAddr->text(), "B5C");
    EXPECT_EQ(window->txtReadAddr->cursorPosition(), 1);
}

TEST_F(RegMapWindowTest, ContinuousReadLeavesTheAddressTheUserIsTyping) {
    TypeAddress("5C");
    window->chkContRead->click();
    window->txtReadAddr->setFocus();
    ASSERT_TRUE(window->txtReadAddr->hasFocus());
    window->txtReadAddr->clear();
    QTest::keyClicks(window->txtReadAddr, "4");
    StartRecording();
    window->ContinuousRead();
    EXPECT_EQ(window->txtReadAddr->text(), "4") << "not rewritten as 4H while typing";
    QTest::keyClicks(window->txtReadAddr, "5");
    window->ContinuousRead();
    EXPECT_EQ(window->txtReadAddr->text(), "45");
    ExpectTraffic({R(0x04), R(0x45)});
    EXPECT_EQ(window->lblCurrentAddr->text(), "45h");

    // Without the focus (and for the Read button) the box shows the address read.
    window->cmdRead->setFocus();
    window->ContinuousRead();
    EXPECT_EQ(window->txtReadAddr->text(), "45H");
}

// The continuous read runs every second: a register that reads the same again changes no
// text, so the address box sees no edit; what does change is shown.
TEST_F(RegMapWindowTest, ContinuousReadSetsOnlyTheTextsThatChange) {
    Chip().Poke(0x45, 0xA5);
    TypeAddress("45");
    window->chkContRead->click();
    window->ContinuousRead();
    const QSignalSpy edits(window->txtReadAddr, &QLineEdit::textChanged);
    window->ContinuousRead();
    EXPECT_EQ(edits.count(), 0);
    EXPECT_EQ(window->txtReadAddr->text(), "45H");
    EXPECT_EQ(window->lblDecVal->text(), "165");

    Chip().Poke(0x45, 0x0F);
    window->ContinuousRead();
    EXPECT_EQ(edits.count(), 0);
    EXPECT_EQ(window->lblDecVal->text(), "15");
    EXPECT_EQ(window->lblHexVal->text(), "F");
    EXPECT_EQ(BitTexts(), (std::vector<QString>{"0", "0", "0", "0", "1", "1", "1", "1"}));

    // From a register without a record back to one with a record, its texts come back.
    TypeAddress("C2");
    window->ContinuousRead();
    EXPECT_EQ(window->lblRegDescription->text(), "Unknown");
    TypeAddress("C5");
    window->ContinuousRead();
    EXPECT_EQ(window->lblRegDescription->text(), "Fan Status,BMC Register");
    EXPECT_EQ(window->lblReadOnly->text(), "Yes");
    EXPECT_EQ(BitNames()[0], "F8");
}

TEST_F(RegMapWindowTest, ADecimalPointIsAPointOnACommaDesktop) {
    const test::CommaLocale comma;
    ASSERT_TRUE(comma.Active());
    TypeAddress("5C");
    StartRecording();
    window->txtDec->setText("3.5");
    EXPECT_EQ(window->txtHex->text(), "4");
    window->cmdWrite->click();
    ExpectTraffic({W(0x5C, 4), R(0x5C)});
}

TEST_F(RegMapWindowTest, AFailedTransferEndsTheProgram) {
    TypeAddress("5C");
    ExpectFailedTransferEnds([&] { window->cmdRead_Click(); });
}

}  // namespace
}  // namespace kestrum
