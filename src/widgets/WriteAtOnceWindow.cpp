#include "widgets/WriteAtOnceWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace kestrum {

std::function<void()> WriteAtOnceWindow::WhenLoaded(std::function<void()> handler) {
    return [this, handler = std::move(handler)] {
        if (IsLoaded()) handler();
    };
}

void WriteAtOnceWindow::OnUserClick(QAbstractButton* control, std::function<void()> handler) {
    connect(control, &QAbstractButton::clicked, this, WhenLoaded(std::move(handler)));
}

void WriteAtOnceWindow::OnUserChoice(QComboBox* control, std::function<void()> handler) {
    connect(control, &QComboBox::activated, this, WhenLoaded(std::move(handler)));
}

void WriteAtOnceWindow::OnUserEdit(QLineEdit* control, std::function<void()> handler) {
    connect(control, &QLineEdit::textEdited, this, WhenLoaded(std::move(handler)));
}

}  // namespace kestrum
