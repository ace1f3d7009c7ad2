#include "regmap/frmRegMap.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

#include "core/Conversions.h"
#include "core/Declarations.h"
#include "core/USBStuff.h"
#include "regmap/RegMapStuff.h"
#include "regmap/RegisterTree.h"
#include "widgets/ClickableLabel.h"
#include "widgets/Controls.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 8655;
constexpr int kHeightTwips = 6255;
// The register primitives carry an 8-bit register number; anything larger would land
// on another register.
constexpr int32_t kLastRegister = 0xFF;

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

QString HexText(int64_t value) { return QString::fromStdString(Hex(value)); }

}  // namespace

frmRegMap::frmRegMap(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmRegMap");
    setWindowTitle("Register Map");
    BuildTreeFrame();
    BuildReadWriteFrame();
    BuildDetailsFrame();
    BuildBitsFrame();
    ArrangeBitLabels();
    SetFormOpenFlag(gRegMapFormOpen);
    KeepTimerTask(TaskAttachment::ContinuousRead([this] { ContinuousRead(); },
                                                 [this] { return ContinuousReadTicked(); }));

    auto* right = new QVBoxLayout;
    right->addWidget(fraReadWrite);
    right->addWidget(fraDetails);
    right->addWidget(fraBits);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addWidget(fraRegMap, 5);
    layout->addLayout(right, 7);
}

void frmRegMap::BuildTreeFrame() {
    fraRegMap = NewFrame(this, "fraRegMap", "Register Map");
    TreeView1 = Named(new QTreeWidget(fraRegMap), "TreeView1");
    TreeView1->setHeaderHidden(true);
    // Long names scroll sideways rather than being cut short.
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    auto* layout = new QVBoxLayout(fraRegMap);
    layout->setContentsMargins(kInnerMargins);
    layout->addWidget(TreeView1);
    connect(TreeView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { TreeView1_NodeClick(node); });
}

void frmRegMap::BuildReadWriteFrame() {
    fraReadWrite = NewFrame(this, "fraReadWrite", "Read/Write");
    txtReadAddr = NewTextBox(fraReadWrite, "txtReadAddr");
    txtHex = NewTextBox(fraReadWrite, "txtHex");
    txtDec = NewTextBox(fraReadWrite, "txtDec");
    cmdRead = NewButton(fraReadWrite, "cmdRead", "Read");
    cmdWrite = NewButton(fraReadWrite, "cmdWrite", "Write");
    chkContRead = NewCheckBox(fraReadWrite, "chkContRead", "Continuous Read");
    chkContRead->setChecked(false);

    auto* grid = new QGridLayout(fraReadWrite);
    grid->setContentsMargins(kInnerMargins);
    grid->addWidget(new QLabel("Address", fraReadWrite), 0, 0);
    grid->addWidget(txtReadAddr, 0, 1);
    grid->addWidget(cmdRead, 0, 2);
    grid->addWidget(new QLabel("Value(Hex)", fraReadWrite), 1, 0);
    grid->addWidget(txtHex, 1, 1);
    grid->addWidget(cmdWrite, 1, 2);
    grid->addWidget(new QLabel("Value(Dec)", fraReadWrite), 2, 0);
    grid->addWidget(txtDec, 2, 1);
    grid->addWidget(chkContRead, 2, 2);

    connect(cmdRead, &QPushButton::clicked, this, [this] { cmdRead_Click(); });
    connect(cmdWrite, &QPushButton::clicked, this, [this] { cmdWrite_Click(); });
    connect(txtReadAddr, &QLineEdit::textChanged, this, [this] { txtReadAddr_Change(); });
    connect(txtHex, &QLineEdit::textChanged, this, [this] { txtHex_Change(); });
    connect(txtDec, &QLineEdit::textChanged, this, [this] { txtDec_Change(); });
    txtHex->installEventFilter(this);
    txtDec->installEventFilter(this);
}

void frmRegMap::BuildDetailsFrame() {
    fraDetails = NewFrame(this, "fraDetails", "Register Details");
    lblRegDescription = NewLabel(fraDetails, "lblRegDescription", QString());
    lblRegDescription->setWordWrap(true);
    QFont bold = lblRegDescription->font();
    bold.setBold(true);
    lblRegDescription->setFont(bold);
    lblCurrentAddr = NewReadout(fraDetails, "lblCurrentAddr");
    lblReadOnly = NewReadout(fraDetails, "lblReadOnly");
    lblDecVal = NewReadout(fraDetails, "lblDecVal");
    lblHexVal = NewReadout(fraDetails, "lblHexVal");

    auto* form = new QFormLayout(fraDetails);
    form->setContentsMargins(kInnerMargins);
    form->addRow(lblRegDescription);
    form->addRow("Address", lblCurrentAddr);
    form->addRow("Read Only", lblReadOnly);
    form->addRow("Current Value (Dec)", lblDecVal);
    form->addRow("Current Value (Hex)", lblHexVal);
}

void frmRegMap::BuildBitsFrame() {
    fraBits = NewFrame(this, "fraBits", "Bit Display");
    QFont small = fraBits->font();  // the longest bit names must fit their column
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (int k = 0; k < 8; ++k) {
        lblBit[k] = new ClickableLabel("0", fraBits);
        lblBit[k]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        lblBit[k]->setAlignment(Qt::AlignCenter);
        lblBit[k]->setMinimumSize(24, 24);
        connect(lblBit[k], &ClickableLabel::clicked, this, [this, k] { lblBit_Click(k); });
        lblInfo[k] = new QLabel(fraBits);
        lblInfo[k]->setAlignment(Qt::AlignCenter);
        lblInfo[k]->setFont(small);
        // A name never widens its column: every column keeps the width of its bit.
        lblInfo[k]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    NameArray(lblBit, "lblBit");
    NameArray(lblInfo, "lblInfo");
}

// Bit 7 leftmost, bit 0 rightmost, each name centred over its bit in eight equal
// columns that share the frame's width. Once, when the window is built.
void frmRegMap::ArrangeBitLabels() {
    auto* grid = new QGridLayout(fraBits);
    grid->setContentsMargins(kInnerMargins);
    grid->setHorizontalSpacing(2);
    for (int k = 7; k >= 0; --k) {
        const int column = 7 - k;
        grid->addWidget(lblInfo[7 - k], 0, column);
        grid->addWidget(lblBit[k], 1, column);
        grid->setColumnStretch(column, 1);
    }
}

void frmRegMap::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    BuildRegisterTree(*TreeView1);
    TreeNode(*TreeView1, 1)->setExpanded(true);
}

bool frmRegMap::ContinuousReadTicked() const { return chkContRead->isChecked(); }

int32_t frmRegMap::TypedAddress() const { return typedAddress_; }

void frmRegMap::ShowAddress(int32_t address) {
    const std::string text = Hex(address) + "h";
    ShowText(*lblCurrentAddr, text);
    // The continuous read leaves alone an address the user is typing.
    if (keepTypedAddress_ && txtReadAddr->hasFocus()) return;
    // The box shows the address in capitals (txtReadAddr_Change): one that already does is
    // left as it is.
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    if (!QAnyStringView::equal(txtReadAddr->text(), upper)) txtReadAddr->setText(lblCurrentAddr->text());
}

void frmRegMap::ShowValue(int32_t value) {
    char decimal[16];
    const auto end = std::to_chars(decimal, decimal + sizeof decimal, value).ptr;
    ShowText(*lblDecVal, QLatin1StringView(decimal, end));
    ShowText(*lblHexVal, Hex(value));
    ShowRegisterBits(value);
}

// The texts that belong to the register (and not to its value) change with the register.
void frmRegMap::ShowRegisterDetail(int index) {
    const RegisterInfo& record = gRegisters.at(index);
    if (shownRecord_ != index) {
        shownRecord_ = index;
        lblRegDescription->setText(QString::fromStdString(record.Description) + " Register");
        lblReadOnly->setText(record.ReadOnly ? "Yes" : "No");
        const std::array<std::string, 8> names = SplitBitNames(record);
        for (int j = 0; j < 8; ++j) lblInfo[j]->setText(QString::fromStdString(names[j]));
    }
    ShowAddress(record.Address);
    ShowValue(ReadRegister(gDeviceAddress, record.Address));
}

void frmRegMap::ShowRegisterBits(int32_t value) {
    for (int k = 7; k >= 0; --k) ShowText(*lblBit[k], QLatin1StringView(BitIsSet(value, k) ? "1" : "0"));
}

void frmRegMap::ShowUnknownRegister(int32_t address) {
    if (shownRecord_ != kUnknownRecord) {
        shownRecord_ = kUnknownRecord;
        lblRegDescription->setText("Unknown");
        for (int j = 0; j < 8; ++j) lblInfo[j]->setText(QString::number(7 - j));
    }
    ShowAddress(address);
    if (address > kLastRegister) {
        // Beyond the register file: nothing is read, and nothing is shown as read.
        lblDecVal->clear();
        lblHexVal->clear();
        ShowRegisterBits(0);
        return;
    }
    ShowValue(ReadRegister(gDeviceAddress, address));
}

void frmRegMap::cmdRead_Click() {
    const int32_t address = TypedAddress();
    const int index = FindRegisterByAddress(address);
    if (index != kRegisterNotFound)
        ShowRegisterDetail(index);
    else
        ShowUnknownRegister(address);
}

void frmRegMap::ContinuousRead() {
    keepTypedAddress_ = true;
    cmdRead_Click();
    keepTypedAddress_ = false;
}

void frmRegMap::WriteAndShow(int32_t value) {
    const int32_t address = TypedAddress();
    if (address <= kLastRegister) WriteRegister(gDeviceAddress, address, value);
    cmdRead_Click();
}

void frmRegMap::cmdWrite_Click() { WriteAndShow(RoundToInt32(LeadingNumber(txtDec->text().toStdString()))); }

void frmRegMap::lblBit_Click(int index) {
    lblBit.at(index)->setText(lblBit[index]->text() == "0" ? "1" : "0");
    int32_t value = 0;
    for (int k = 7; k >= 0; --k) value = WithBit(value, k, lblBit[k]->text() != "0");
    WriteAndShow(value);
}

void frmRegMap::TreeView1_NodeClick(QTreeWidgetItem* node) {
    // Roots and categories stand for no register.
    if (node == nullptr || node->parent() == nullptr || node->parent()->parent() == nullptr) return;
    const int index = FindRegisterByName(node->text(0).toStdString());
    if (index != kRegisterNotFound) ShowRegisterDetail(index);
}

void frmRegMap::txtDec_Change() {
    if (mirroring_) return;
    mirroring_ = true;
    txtHex->setText(HexText(RoundToInt32(LeadingNumber(txtDec->text().toStdString()))));
    mirroring_ = false;
}

void frmRegMap::txtHex_Change() {
    if (mirroring_) return;
    mirroring_ = true;
    // A hex value is never negative, so it always takes the sign's blank.
    txtDec->setText(" " + QString::number(LeadingHex(txtHex->text().toStdString())));
    mirroring_ = false;
}

void frmRegMap::txtReadAddr_Change() {
    typedAddress_ = LeadingHex(txtReadAddr->text().toStdString());
    const QString upper = txtReadAddr->text().toUpper();
    if (upper == txtReadAddr->text()) return;
    const int caret = txtReadAddr->cursorPosition();
    txtReadAddr->setText(upper);
    txtReadAddr->setCursorPosition(std::min(caret, static_cast<int>(upper.size())));
}

void frmRegMap::txtDec_KeyDown(int key) {
    if (IsEnterKey(key)) cmdWrite_Click();
}

void frmRegMap::txtHex_KeyDown(int key) {
    if (IsEnterKey(key)) cmdWrite_Click();
}

bool frmRegMap::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == txtDec) txtDec_KeyDown(key);
        if (watched == txtHex) txtHex_KeyDown(key);
    }
    return ChildWindow::eventFilter(watched, event);
}

}  // namespace kestrum
