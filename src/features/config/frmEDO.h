#pragma once
// EDO Settings: the two event outputs switched on or off in EDO Enable, and the events each
// one ignores in EDO Mask 1 and 2 (a ticked box masks its event).

#include <array>

#include "widgets/DialogWindow.h"
#include "widgets/RegisterBinding.h"

class QCheckBox;
class QGroupBox;

namespace kestrum {

class frmEDO : public DialogWindow {
    Q_OBJECT
public:
    explicit frmEDO(QWidget* parent = nullptr);

    void Form_Load() override;
    // 0x16 read, modified and written; then 0x37 and 0x38 rebuilt from their boxes.
    void cmdApply_Click() override;

    QGroupBox* Frame1;  // "EDO 1"
    QGroupBox* Frame2;  // "EDO 2"
    std::array<QCheckBox*, 2> chkEDOEnable{};
    // Index = bit. Box 4 is hidden: it carries the reserved bit from load to Apply.
    std::array<QCheckBox*, 8> chkEDO1Mask{};
    std::array<QCheckBox*, 8> chkEDO2Mask{};

private:
    // One output's frame: its enable box, then its mask boxes by bit.
    QGroupBox* BuildOutput(int output, std::array<QCheckBox*, 8>& masks);

    RegisterBinding edoEnable_{0x16};
    RegisterBinding edoMask1_{0x37};
    RegisterBinding edoMask2_{0x38};
};

}  // namespace kestrum
