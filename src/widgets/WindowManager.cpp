#include "widgets/WindowManager.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <algorithm>

#include "core/Twips.h"

namespace kestrum {

namespace {

// Where a window's near edge goes on one axis of the visible area: no further than the far
// edge allows, and never before the start.
int MovedIn(int start, int length, int visible) { return std::max(0, std::min(start, visible - length)); }

}  // namespace

ChildWindow::ChildWindow(QWidget* parent) : QWidget(parent) {}

// A window destroyed without closing (its parent went first) still takes its flag down.
ChildWindow::~ChildWindow() { MarkUnloaded(); }

void ChildWindow::Unload() { Frame()->close(); }

QWidget* ChildWindow::Frame() { return qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this; }

const QWidget* ChildWindow::Frame() const {
    return qobject_cast<const QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
}

void ChildWindow::SetSizeTwips(int width, int height) {
    Frame()->resize(TwipsToPixels(width), TwipsToPixels(height));
}

// A window placed again once open (Easy Setup places the Graphs window) keeps in view too.
void ChildWindow::SetPositionTwips(int left, int top) {
    Frame()->move(TwipsToPixels(left), TwipsToPixels(top));
    if (loaded_) manager_->KeepInView(*this);
}

int ChildWindow::WidthTwips() const { return PixelsToTwips(Frame()->width()); }
int ChildWindow::HeightTwips() const { return PixelsToTwips(Frame()->height()); }

void ChildWindow::MarkLoaded() {
    loaded_ = true;
    if (formOpen_ != nullptr) *formOpen_ = true;
}

void ChildWindow::MarkUnloaded() {
    if (!loaded_) return;
    loaded_ = false;
    if (formOpen_ != nullptr) *formOpen_ = false;
    timerTask_.Detach();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
        MarkUnloaded();
    }
    event->accept();
}

WindowManager::WindowManager(QMdiArea& area, QObject* parent) : QObject(parent), area_(area) {}

void WindowManager::Adopt(ChildWindow& window, std::type_index type) {
    window.manager_ = this;
    QMdiSubWindow* frame = area_.addSubWindow(&window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(window.windowTitle());
    connect(&window, &QWidget::windowTitleChanged, frame, &QWidget::setWindowTitle);
    connect(frame, &QObject::destroyed, this, &WindowManager::WindowsChanged);
    windows_[type] = &window;
    order_.erase(std::remove_if(order_.begin(), order_.end(), [](const auto& w) { return w.isNull(); }),
                 order_.end());
    order_.emplace_back(&window);
}

void WindowManager::KeepInView(ChildWindow& window) {
    // A hidden area has no visible extent yet; it places its windows when it is shown.
    if (!area_.isVisible()) return;
    QWidget* frame = window.Frame();
    const QSize visible = area_.viewport()->size();
    frame->move(MovedIn(frame->x(), frame->width(), visible.width()),
                MovedIn(frame->y(), frame->height(), visible.height()));
}

std::vector<ChildWindow*> WindowManager::OpenWindows() const {
    std::vector<ChildWindow*> open;
    for (const auto& window : order_)
        if (!window.isNull() && !window->IsUnloaded()) open.push_back(window.data());
    return open;
}

void WindowManager::Activate(ChildWindow& window) {
    QWidget* frame = window.parentWidget();
    frame->show();
    window.show();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(frame)) area_.setActiveSubWindow(sub);
    frame->raise();
    emit WindowsChanged();
}

void WindowManager::UnloadAll() {
    for (ChildWindow* window : OpenWindows()) window->Unload();
}

int WindowManager::MainWidthTwips() const { return PixelsToTwips(area_.window()->frameGeometry().width()); }
int WindowManager::MainHeightTwips() const { return PixelsToTwips(area_.window()->frameGeometry().height()); }

}  // namespace kestrum
