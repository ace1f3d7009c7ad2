#pragma once
// Window tests: a window is opened the way the main window opens it (by a window manager
// in an MDI frame) on the simulated board, and the test drives it as a user would, then
// checks the chip traffic (ExpectTraffic) and the texts the user sees.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>

#include "support/Fixture.h"
#include "widgets/WindowManager.h"

// Failures show Qt's texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace kestrum::test {

class WindowTest : public KestrumTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens (or brings forward) the window and lets the layouts place its controls.
    template <typename W>
    W& Open() {
        W& window = manager->Open<W>();
        QApplication::processEvents();
        return window;
    }
    template <typename W>
    W* Find() const {
        return manager->Find<W>();
    }
    // Unloads the window and lets it be destroyed.
    void Close(ChildWindow& window);

    // The control of that objectName inside the window; fails the test when there is none.
    template <typename C>
    C& Control(const QWidget& window, const QString& name) {
        C* control = window.findChild<C*>(name);
        if (control == nullptr) {
            ADD_FAILURE() << "no control named " << name.toStdString();
            throw std::runtime_error("missing control");
        }
        return *control;
    }

    // What a user does: picks an item of a list, by its place or its text (which the list
    // must hold); a disabled list takes no pick. Or selects a box's text and types over it;
    // an empty text erases it.
    static void Pick(QComboBox& list, int index);
    static void Pick(QComboBox& list, const QString& item);
    static void Type(QLineEdit& box, const QString& text);

    // The items the list holds, in order.
    static QStringList Items(const QComboBox& list);
    static QStringList Items(const QListWidget& list);

    // The action fails on its next chip transfer: the program shows the link layer's
    // message and ends. Under test the end is an exception, so the action calls the
    // handler itself: thrown through a button's click, it would leak Qt's guards.
    void ExpectFailedTransferEnds(const std::function<void()>& action);

    // The master timer's tick after that many seconds on the clock.
    void TickAfter(double seconds);

    std::unique_ptr<QMainWindow> frame;
    QMdiArea* area = nullptr;
    std::unique_ptr<WindowManager> manager;
};

}  // namespace kestrum::test
