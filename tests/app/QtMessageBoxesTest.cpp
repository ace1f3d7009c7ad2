// The toolkit's message box as the seam shows it: the text as given, and details, when
// there are any, behind the box's own "Show Details..." button.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "app/QtSeams.h"

namespace kestrum {
namespace {

struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QString details;
    QStringList buttons;
};

// Shows the box, notes what it holds, and presses OK.
SeenBox LookAtBox(const std::string& text, const std::string& details) {
    SeenBox result;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        result.seen = true;
        result.title = box->windowTitle();
        result.text = box->text();
        result.details = box->detailedText();
        for (const QAbstractButton* button : box->buttons()) result.buttons.push_back(button->text());
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    EXPECT_EQ(QtMessageBoxes().Show(text, MsgButtons::OK, MsgIcon::Critical, "Kestrum Evaluation Software",
                                    details),
              MsgAnswer::OK);
    return result;
}

TEST(QtMessageBoxes, DetailsAreShownOnRequestBelowTheUnchangedText) {
    const std::string reasons =
        "kestrum-eval: no link chosen: KESTRUM_SIMULATE=1 starts the simulated board\n";
    const SeenBox withDetails = LookAtBox("USB/SMBus Hardware not detected", reasons);
    ASSERT_TRUE(withDetails.seen);
    EXPECT_EQ(withDetails.title, "Kestrum Evaluation Software");
    EXPECT_EQ(withDetails.text, "USB/SMBus Hardware not detected");
    EXPECT_EQ(withDetails.details.toStdString(), reasons);
    EXPECT_TRUE(withDetails.buttons.contains("Show Details..."))
        << withDetails.buttons.join(", ").toStdString();

    const SeenBox plain = LookAtBox("Logging stopped", "");
    ASSERT_TRUE(plain.seen);
    EXPECT_EQ(plain.details, "");
    EXPECT_EQ(plain.buttons, QStringList{"OK"});
}

}  // namespace
}  // namespace kestrum
