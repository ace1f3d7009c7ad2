#pragma once
// Checks that a dialog at its own size shows every caption whole: the dialog's layout gets
// the room it asks for, and every visible button, box and frame is as large as its text
// needs and lies inside the dialog.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QWidget>

namespace kestrum::test {

inline void ExpectInside(const QWidget& window, const QWidget& control) {
    const QRect placed(control.mapTo(&window, QPoint(0, 0)), control.size());
    EXPECT_TRUE(window.rect().contains(placed)) << control.objectName().toStdString() << " lies inside";
}

inline void ExpectCaptionsShownWhole(const QWidget& window) {
    EXPECT_GE(window.width(), window.minimumSizeHint().width());
    EXPECT_GE(window.height(), window.hasHeightForWidth() ? window.heightForWidth(window.width())
                                                          : window.minimumSizeHint().height());
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisible()) continue;
        const std::string name = button->objectName().toStdString();
        if (button->hasHeightForWidth()) {  // a caption that wraps needs the height for its width
            EXPECT_GE(button->width(), button->minimumSizeHint().width()) << name;
            EXPECT_GE(button->height(), button->heightForWidth(button->width())) << name;
        } else {
            EXPECT_GE(button->width(), button->sizeHint().width()) << name;
            EXPECT_GE(button->height(), button->minimumSizeHint().height()) << name;
        }
        ExpectInside(window, *button);
    }
    for (const QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        EXPECT_GE(frame->width(), frame->minimumSizeHint().width()) << frame->title().toStdString();
        ExpectInside(window, *frame);
    }
}

}  // namespace kestrum::test
