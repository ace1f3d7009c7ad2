#pragma once
// Base of the windows that write each change the moment the user makes it. A change
// handler runs only on the user's own change (a click, a choice from a list, an edit or a
// spinner step), and only once the window has loaded: filling the controls from the chip,
// at the first load or a reload, never writes.

#include <functional>

#include "widgets/WindowManager.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace kestrum {

class WriteAtOnceWindow : public ChildWindow {
    Q_OBJECT
protected:
    explicit WriteAtOnceWindow(QWidget* parent = nullptr) : ChildWindow(parent) {}

    void OnUserClick(QAbstractButton* control, std::function<void()> handler);
    void OnUserChoice(QComboBox* control, std::function<void()> handler);
    // Typing and the box's spinner alike.
    void OnUserEdit(QLineEdit* control, std::function<void()> handler);

private:
    std::function<void()> WhenLoaded(std::function<void()> handler);
};

}  // namespace kestrum
