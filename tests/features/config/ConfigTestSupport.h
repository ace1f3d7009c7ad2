#pragma once
// What a user does to a configuration dialog's controls, and the checks the dialogs' tests
// share: lists picked or typed into, text boxes retyped, and a page laid out without clipping.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "support/Pictures.h"
#include "widgets/UpDown.h"

namespace kestrum::test {

// The user picks an item from the list.
inline void Pick(QComboBox& list, int index) {
    list.setCurrentIndex(index);
    emit list.activated(index);
}

// The user selects the box's text and types over it; an empty text clears the box.
inline void Retype(QLineEdit& box, const QString& text) {
    box.selectAll();
    if (text.isEmpty())
        QTest::keyClick(&box, Qt::Key_Backspace);
    else
        QTest::keyClicks(&box, text);
}
inline void Retype(QComboBox& list, const QString& text) { Retype(*list.lineEdit(), text); }

inline std::vector<std::string> Items(const QComboBox& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i) items.push_back(list.itemText(i).toStdString());
    return items;
}

// Every visible control of the page (spinners aside) lies inside it and has at least the room its text asks
// for.
inline void ExpectTidy(const QWidget& page) {
    const QRect inside = page.rect();
    for (const QWidget* child : page.findChildren<QWidget*>()) {
        if (!child->isVisible() || child->objectName().startsWith("qt_")) continue;
        // A list's own edit field and a spinner's arrows share their control's height by design.
        if (qobject_cast<const QComboBox*>(child->parent()) != nullptr) continue;
        if (qobject_cast<const UpDown*>(child) != nullptr ||
            qobject_cast<const UpDown*>(child->parent()) != nullptr ||
            child->findChild<const UpDown*>(QString(), Qt::FindDirectChildrenOnly) != nullptr)
            continue;
        const std::string name = child->objectName().toStdString() + " " + child->metaObject()->className();
        EXPECT_GE(child->width(), child->minimumSizeHint().width()) << name;
        EXPECT_GE(child->height(), child->minimumSizeHint().height()) << name;
        const QRect placed(child->mapTo(&page, QPoint(0, 0)), child->size());
        EXPECT_TRUE(inside.contains(placed)) << name;
    }
}

// Each tab of the window brought to the front in turn, checked tidy and pictured as
// "<picture>-tab-<n>.png".
inline void ExpectEveryTabTidy(QTabWidget& tabs, const QWidget& window, const QString& picture) {
    for (int tab = 0; tab < tabs.count(); ++tab) {
        tabs.setCurrentIndex(tab);
        QApplication::processEvents();
        SCOPED_TRACE(tabs.tabText(tab).toStdString());
        ExpectTidy(*tabs.widget(tab));
        KeepPicture(window.parentWidget()->grab().toImage(), QString("%1-tab-%2.png").arg(picture).arg(tab));
    }
    ExpectTidy(window);
}

}  // namespace kestrum::test
