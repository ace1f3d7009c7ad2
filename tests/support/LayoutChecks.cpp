#include "support/LayoutChecks.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLayout>
#include <QLineEdit>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>
#include <string>

#include "support/Pictures.h"
#include "widgets/UpDown.h"

namespace kestrum::test {
namespace {

// A list's own edit field and a spinner's arrows share their control's height by design,
// and Qt's own parts are sized by Qt.
bool SizedByDesign(const QWidget& control) {
    if (control.objectName().startsWith("qt_")) return true;
    if (qobject_cast<const QComboBox*>(control.parent()) != nullptr) return true;
    // A tab widget's frame is Qt's; its captions and each page are checked on their own.
    if (qobject_cast<const QTabWidget*>(&control) != nullptr) return true;
    return qobject_cast<const UpDown*>(&control) != nullptr ||
           qobject_cast<const UpDown*>(control.parent()) != nullptr ||
           control.findChild<const UpDown*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

// The tab page the control sits on, or the window when it is on none.
const QWidget& PlaceOf(const QWidget& window, const QWidget& control) {
    for (const QWidget* up = control.parentWidget(); up != nullptr && up != &window; up = up->parentWidget())
        if (qobject_cast<const QStackedWidget*>(up->parentWidget()) != nullptr &&
            qobject_cast<const QTabWidget*>(up->parentWidget()->parentWidget()) != nullptr)
            return *up;
    return window;
}

// The room a window or page gives its layout: at least what the layout asks for.
void ExpectRoom(const QWidget& area) {
    const std::string name = area.objectName().toStdString();
    EXPECT_GE(area.width(), area.minimumSizeHint().width()) << name;
    EXPECT_GE(area.height(),
              area.hasHeightForWidth() ? area.heightForWidth(area.width()) : area.minimumSizeHint().height())
        << name;
}

void ExpectWhole(const QWidget& control, const std::string& name) {
    const QSize least = control.minimumSizeHint();
    if (const auto* box = qobject_cast<const QLineEdit*>(&control)) {
        // A box needs room for the text it holds, beside the frame and margins Qt keeps
        // around one widest character.
        const QFontMetrics metrics = box->fontMetrics();
        EXPECT_GE(box->width(), least.width() - metrics.maxWidth() + metrics.horizontalAdvance(box->text()))
            << name << " shows \"" << box->text().toStdString() << "\"";
    } else {
        EXPECT_GE(control.width(), least.width()) << name;
    }
    if (control.hasHeightForWidth()) {  // a caption that wraps needs the height for its width
        EXPECT_GE(control.height(), control.heightForWidth(control.width())) << name;
    } else {
        EXPECT_GE(control.height(), least.height()) << name;
        if (qobject_cast<const QAbstractButton*>(&control) != nullptr) {
            EXPECT_GE(control.width(), control.sizeHint().width()) << name;
        }
    }
}

void ExpectControlsTidy(const QWidget& window) {
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisible() || SizedByDesign(*control)) continue;
        const std::string name =
            control->objectName().toStdString() + " " + control->metaObject()->className();
        ExpectWhole(*control, name);
        const QWidget& place = PlaceOf(window, *control);
        const QRect placed(control->mapTo(&place, QPoint(0, 0)), control->size());
        EXPECT_TRUE(place.rect().contains(placed))
            << name << " lies inside " << place.objectName().toStdString();
    }
}

// The caption fits the frame's title bar beside its buttons.
void ExpectCaptionShown(const QWidget& frame) {
    QStyleOptionTitleBar bar;
    bar.initFrom(&frame);
    bar.text = frame.windowTitle();
    bar.titleBarFlags = frame.windowFlags();
    bar.titleBarState = static_cast<int>(frame.windowState());
    bar.rect =
        QRect(0, 0, frame.width(), frame.style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, &frame));
    const QRect label =
        frame.style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarLabel, &frame);
    EXPECT_LE(frame.fontMetrics().horizontalAdvance(bar.text), label.width()) << bar.text.toStdString();
}

void KeepView(QWidget& window, const QString& name) {
    QWidget& shown = window.parentWidget() != nullptr ? *window.parentWidget() : window;
    KeepPicture(shown.grab().toImage(), name + ".png");
}

// Lets every layout place its widgets now: a layout request posted while the events were
// being processed (a list filled, a tab brought to the front) would otherwise wait.
void Settle(QWidget& window) {
    QApplication::processEvents();
    for (int pass = 0; pass < 2; ++pass) {
        if (window.layout() != nullptr) window.layout()->activate();
        for (QLayout* layout : window.findChildren<QLayout*>()) layout->activate();
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
}

}  // namespace

void ExpectTidy(QWidget& window, const QString& picture) {
    Settle(window);
    if (window.parentWidget() != nullptr) ExpectCaptionShown(*window.parentWidget());
    QTabWidget* tabs = window.findChild<QTabWidget*>();
    if (tabs == nullptr || !tabs->isVisible()) {
        ExpectRoom(window);
        ExpectControlsTidy(window);
        if (!picture.isEmpty()) KeepView(window, picture);
        return;
    }
    EXPECT_LE(tabs->tabBar()->sizeHint().width(), tabs->width()) << "every tab caption in full";
    const int front = tabs->currentIndex();
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        Settle(window);
        SCOPED_TRACE(tabs->tabText(tab).toStdString());
        ExpectRoom(*tabs->widget(tab));
        ExpectControlsTidy(window);
        if (!picture.isEmpty()) KeepView(window, QString("%1-tab-%2").arg(picture).arg(tab));
    }
    tabs->setCurrentIndex(front);
    QApplication::processEvents();
}

}  // namespace kestrum::test
