#pragma once
// The Register Map window: pick a register in the tree or type its address, read it,
// write it as a number or bit by bit.

#include <array>
#include <cstdint>

#include "widgets/WindowManager.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kestrum {

class ClickableLabel;

class frmRegMap : public ChildWindow {
    Q_OBJECT
public:
    explicit frmRegMap(QWidget* parent = nullptr);

    // Reads the register whose address stands in the address box and shows it.
    void cmdRead_Click();
    // The master timer's read, every second while the window is loaded and the box is
    // ticked: cmdRead_Click, except that an address box with the keyboard focus keeps
    // what the user is typing.
    void ContinuousRead();
    bool ContinuousReadTicked() const;

    void Form_Load() override;

    // Shows record `index` of the register table and reads the register.
    void ShowRegisterDetail(int index);
    // Sets the eight bit labels from a register value.
    void ShowRegisterBits(int32_t value);

    void cmdWrite_Click();
    void lblBit_Click(int index);
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void txtDec_Change();
    void txtHex_Change();
    void txtReadAddr_Change();
    // key: a Qt::Key; Return and Enter write.
    void txtDec_KeyDown(int key);
    void txtHex_KeyDown(int key);

    QGroupBox* fraRegMap;
    QTreeWidget* TreeView1;

    QGroupBox* fraReadWrite;
    QLineEdit* txtReadAddr;
    QLineEdit* txtHex;
    QLineEdit* txtDec;
    QPushButton* cmdRead;
    QPushButton* cmdWrite;
    QCheckBox* chkContRead;

    QGroupBox* fraDetails;
    QLabel* lblRegDescription;
    QLabel* lblCurrentAddr;
    QLabel* lblReadOnly;
    QLabel* lblDecVal;
    QLabel* lblHexVal;

    QGroupBox* fraBits;
    std::array<ClickableLabel*, 8> lblBit;  // index = bit
    std::array<QLabel*, 8> lblInfo;         // lblInfo[j] names bit 7 - j

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTreeFrame();
    void BuildReadWriteFrame();
    void BuildDetailsFrame();
    void BuildBitsFrame();
    void ArrangeBitLabels();

    void ShowAddress(int32_t address);
    void ShowUnknownRegister(int32_t address);
    void ShowValue(int32_t value);
    // Writes the value to the register in the address box, then reads it back.
    void WriteAndShow(int32_t value);
    int32_t TypedAddress() const;

    // The register whose name, access and bit names the labels show; none yet at first.
    static constexpr int kUnknownRecord = -1;
    int shownRecord_ = -2;
    int32_t typedAddress_ = 0;       // the address box's text, read when it changes
    bool mirroring_ = false;         // one value box is being set from the other
    bool keepTypedAddress_ = false;  // inside the continuous read
};

}  // namespace kestrum
