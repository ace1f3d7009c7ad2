#pragma once
// Building a window's controls under their documented names: every named control's
// objectName is its name, and element i of a control array is "name_i", so that tests,
// accessibility tools and screenshots find any control by the name the program uses.

#include <QAnyStringView>
#include <QMargins>
#include <QString>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kestrum {

// The margins of every window's layouts, so that all windows keep the same edges: around
// the window's contents and inside a tab page or a frame; both in a window too small for
// those (the heaters' two columns); and none where a layout only arranges part of a
// window or of a composite widget.
inline constexpr QMargins kWindowMargins{6, 6, 6, 6};
inline constexpr QMargins kInnerMargins{8, 8, 8, 8};
inline constexpr QMargins kNarrowMargins{4, 4, 4, 4};
inline constexpr QMargins kNoMargins{0, 0, 0, 0};

// Gives an existing widget its name and returns it.
template <typename W>
W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// "name_i", the objectName of element i of a control array.
QString ElementName(const char* name, int index);

// Names every element of a control array; `first` is the index of element 0 where the
// array's documented numbering does not start at 0.
template <typename W, std::size_t N>
void NameArray(std::array<W*, N>& controls, const char* name, int first = 0) {
    for (std::size_t i = 0; i < N; ++i)
        if (controls[i] != nullptr)
            controls[i]->setObjectName(ElementName(name, static_cast<int>(i) + first));
}

QCheckBox* NewCheckBox(QWidget* parent, const QString& name, const QString& caption);
QRadioButton* NewOptionButton(QWidget* parent, const QString& name, const QString& caption);
QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption);
QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption);
QGroupBox* NewFrame(QWidget* parent, const QString& name, const QString& caption = QString());
QLineEdit* NewTextBox(QWidget* parent, const QString& name);
// A drop-down list of fixed items: the user picks one, never types.
QComboBox* NewList(QWidget* parent, const QString& name, std::initializer_list<const char*> items);
QComboBox* NewList(QWidget* parent, const QString& name, std::span<const char* const> items);
// A sunken read-only field for a value the window shows.
QLabel* NewReadout(QWidget* parent, const QString& name);
// A row of widgets (a window's buttons) kept to the right, for the window's layout.
QHBoxLayout* RightAlignedRow(std::initializer_list<QWidget*> widgets);

// Leaves none of a set of option buttons selected, as a load of "no option" does. The user
// cannot do this, and Qt ignores unticking the selected button of an exclusive set.
void ClearOptionButtons(std::span<QRadioButton* const> buttons);

// Sets a label's or a box's text only when it differs from the one shown: a refresh that
// finds the same value again builds no string, lays nothing out and repaints nothing.
void ShowText(QLabel& label, QAnyStringView text);
void ShowText(QLineEdit& box, QAnyStringView text);

// Whether the control is a list whose drop-down the user has open: a periodic refresh
// leaves such a list alone until the user has chosen.
bool IsListOpen(const QWidget* control);

}  // namespace kestrum
