#pragma once
// The "Save/Recall Settings" window: saves the chip's writable registers to a settings
// file and recalls such a file into the chip.

#include "widgets/WindowManager.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrum {

class frmSave final : public ChildWindow {
    Q_OBJECT
public:
    explicit frmSave(QWidget* parent = nullptr);

    void Form_Load() override;

    void cmdsave_Click();
    void cmdRecall_Click();
    void cmdClose_Click();

    QGroupBox* fraFileIO = nullptr;
    QLabel* lblComment = nullptr;
    QLineEdit* txtComment = nullptr;
    QCheckBox* chkNotDefaults = nullptr;
    QPushButton* cmdsave = nullptr;
    QPushButton* cmdRecall = nullptr;
    QPushButton* cmdClose = nullptr;
};

}  // namespace kestrum
