#pragma once
// An up-down spinner tied to a text box (its buddy). A click on an arrow moves the
// number in the box by one increment (1 unless given) within the spinner's range; a typed
// number between steps moves from where it is. A click counts as the user's own edit of
// the box: the box's textEdited fires, so a window handles typing and spinning the same
// way. Setting the box's text from code moves nothing.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kestrum {

class UpDown final : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit& buddy, int minimum, int maximum, QWidget* parent = nullptr, int increment = 1);

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Increment() const { return increment_; }
    QLineEdit& Buddy() const { return buddy_; }

    // What a click on the up (+1) or down (-1) arrow does.
    void StepAsUser(int steps);

    QToolButton* upButton = nullptr;
    QToolButton* downButton = nullptr;

private:
    QLineEdit& buddy_;
    int minimum_;
    int maximum_;
    int increment_;
};

// A text box with its spinner beside it, laid out as one control, the box sized for the
// spinner's range.
struct SpinnerBox {
    QWidget* box = nullptr;  // the two together, for the window's layout
    QLineEdit* text = nullptr;
    UpDown* spinner = nullptr;
};
SpinnerBox NewSpinnerBox(QWidget* parent, const QString& textName, const QString& spinnerName, int minimum,
                         int maximum, int increment = 1);

}  // namespace kestrum
