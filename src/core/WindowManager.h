#pragma once
// The lifecycle every window relies on: one instance per window class, created and
// loaded on first use, brought to the front when already open, unloaded and destroyed
// when closed, so that the next opening loads afresh.

#include <QMdiArea>
#include <QPointer>
#include <QWidget>
#include <map>
#include <typeindex>
#include <vector>

namespace kestrum {

// Base of every child window of the main window.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChildWindow(QWidget* parent = nullptr);

    // Runs once when the window is created, before it is shown.
    virtual void Form_Load() {}
    // Runs once when the window closes, before it is destroyed.
    virtual void Form_Unload() {}

    // Closes the window: Form_Unload, then it is destroyed.
    void Unload();
    bool IsUnloaded() const { return unloaded_; }

protected:
    // The window's outer size and position in twips (its frame inside the main window).
    void SetSizeTwips(int width, int height);
    void SetPositionTwips(int left, int top);
    int WidthTwips() const;
    int HeightTwips() const;
    QWidget* Frame();
    const QWidget* Frame() const;

    void closeEvent(QCloseEvent* event) override;

private:
    bool unloaded_ = false;
};

class WindowManager : public QObject {
    Q_OBJECT
public:
    explicit WindowManager(QMdiArea& area, QObject* parent = nullptr);

    // Loads the window on first use and shows it in front; an open window is only
    // brought to the front.
    template <typename W>
    W& Open() {
        if (W* open = Find<W>()) {
            Activate(*open);
            return *open;
        }
        auto* window = new W();  // owned by its subwindow from here on
        Adopt(*window, typeid(W));
        window->Form_Load();
        Activate(*window);
        return *window;
    }

    // The loaded window of that class, or nullptr.
    template <typename W>
    W* Find() const {
        const auto found = windows_.find(typeid(W));
        if (found == windows_.end() || found->second.isNull() || found->second->IsUnloaded()) return nullptr;
        return static_cast<W*>(found->second.data());
    }

    // The loaded windows, in the order they were opened.
    std::vector<ChildWindow*> OpenWindows() const;
    void Activate(ChildWindow& window);
    void UnloadAll();

    QMdiArea& Area() { return area_; }

signals:
    void WindowsChanged();

private:
    void Adopt(ChildWindow& window, std::type_index type);

    QMdiArea& area_;
    std::map<std::type_index, QPointer<ChildWindow>> windows_;
    std::vector<QPointer<ChildWindow>> order_;
};

}  // namespace kestrum
