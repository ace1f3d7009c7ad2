#include "widgets/DialogWindow.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "widgets/Controls.h"

namespace kestrum {

DialogWindow::DialogWindow(QWidget* parent) : ChildWindow(parent) {
    cmdApply = NewButton(this, "cmdApply", "Apply");
    cmdOK = NewButton(this, "cmdOK", "OK");
    cmdCancel = NewButton(this, "cmdCancel", "Cancel");
    cmdOK->setDefault(true);
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, &DialogWindow::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &DialogWindow::cmdCancel_Click);
}

void DialogWindow::cmdOK_Click() {
    cmdApply_Click();
    Unload();
}

void DialogWindow::cmdCancel_Click() { Unload(); }

QHBoxLayout* DialogWindow::ButtonRow() { return RightAlignedRow({cmdOK, cmdCancel, cmdApply}); }

}  // namespace kestrum
