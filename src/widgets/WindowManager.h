#pragma once
// The lifecycle every window relies on: one instance per window class, created and
// loaded on first use, brought to the front when already open, unloaded and destroyed
// when closed, so that the next opening loads afresh.

#include <QMdiArea>
#include <QPointer>
#include <QWidget>
#include <cassert>
#include <map>
#include <typeindex>
#include <vector>

#include "core/Scheduler.h"

namespace kestrum {

class WindowManager;

// Base of every child window of the main window. The constructor builds every widget;
// Form_Load only sizes the window and loads values, so it may run again on an open window.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChildWindow(QWidget* parent = nullptr);
    ~ChildWindow() override;

    // Sizes the window and loads its values; run by the window manager when it opens the
    // window, and by other windows (or the window itself) to load it again.
    virtual void Form_Load() {}
    // Runs once when the window closes, before it is destroyed.
    virtual void Form_Unload() {}

    // Closes the window: Form_Unload, then it is destroyed.
    void Unload();
    bool IsUnloaded() const { return unloaded_; }
    // The window-level loaded flag: False during the first Form_Load, True from its end
    // until the window unloads (a reload of an open window runs with it True).
    bool IsLoaded() const { return loaded_; }

    // The window's outer frame inside the main window, in twips.
    void SetSizeTwips(int width, int height);
    void SetPositionTwips(int left, int top);
    int WidthTwips() const;
    int HeightTwips() const;

protected:
    // The shared form-open flag this window sets while it is loaded (given by the
    // constructor of a window that the master timer or other windows look for).
    void SetFormOpenFlag(bool& flag) { formOpen_ = &flag; }
    // The master-timer task this window runs while it is loaded; held until it unloads.
    void KeepTimerTask(TaskAttachment task) { timerTask_ = std::move(task); }

    // The manager that opened this window: how it reaches other windows and the main frame.
    WindowManager& Manager() const {
        assert(manager_ != nullptr && "window not opened by a window manager");
        return *manager_;
    }

    QWidget* Frame();
    const QWidget* Frame() const;

    void closeEvent(QCloseEvent* event) override;

private:
    friend class WindowManager;
    // After the first Form_Load: the loaded flag and the form-open flag go up.
    void MarkLoaded();
    void MarkUnloaded();

    WindowManager* manager_ = nullptr;
    bool* formOpen_ = nullptr;
    TaskAttachment timerTask_;
    bool loaded_ = false;
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
        KeepInView(*window);
        window->MarkLoaded();
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
    // The main window's outer frame, in twips (windows that place themselves across it).
    int MainWidthTwips() const;
    int MainHeightTwips() const;

signals:
    void WindowsChanged();

private:
    friend class ChildWindow;
    void Adopt(ChildWindow& window, std::type_index type);
    // Moves a window that its own placement (or the area's) left partly outside the visible
    // area back in from the edge it crossed; one that fits is then wholly inside, one too
    // large shows its top left corner. A window already inside stays where it is.
    void KeepInView(ChildWindow& window);

    QMdiArea& area_;
    std::map<std::type_index, QPointer<ChildWindow>> windows_;
    std::vector<QPointer<ChildWindow>> order_;
};

}  // namespace kestrum
