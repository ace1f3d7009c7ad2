#pragma once
// Base of the feature dialogs that write on Apply: OK is Apply, then unload; Cancel only
// unloads. The dialog builds its controls and places ButtonRow() in its layout.

#include "widgets/WindowManager.h"

class QHBoxLayout;
class QPushButton;

namespace kestrum {

class DialogWindow : public ChildWindow {
    Q_OBJECT
public:
    // Writes the dialog's registers, in the dialog's order.
    virtual void cmdApply_Click() = 0;
    void cmdOK_Click();
    void cmdCancel_Click();

    QPushButton* cmdApply = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    explicit DialogWindow(QWidget* parent = nullptr);
    // "Apply", "OK" and "Cancel", right-aligned, for the dialog's layout.
    QHBoxLayout* ButtonRow();
};

}  // namespace kestrum
