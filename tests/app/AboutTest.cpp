#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QTest>

#include "app/frmAbout.h"
#include "core/Twips.h"
#include "support/LayoutChecks.h"
#include "support/MainWindowFixture.h"

namespace kestrum {
namespace {

using test::MainWindowTest;

class AboutTest : public MainWindowTest {
protected:
    frmAbout& OpenAbout() {
        main->mnuAbout_Click();
        frmAbout* about = main->Windows().Find<frmAbout>();
        EXPECT_NE(about, nullptr);
        return *about;
    }
    static QColor LinkColour(const frmAbout& about) {
        return about.Label6->palette().color(QPalette::WindowText);
    }
};

TEST_F(AboutTest, ShowsTheNameVersionAndTheMakersLink) {
    frmAbout& about = OpenAbout();
    EXPECT_EQ(about.windowTitle().toStdString(), "About the  Kestrum Software");
    EXPECT_EQ(about.parentWidget()->windowTitle().toStdString(), "About the  Kestrum Software");
    EXPECT_EQ(about.Label1->text().toStdString(), "Kestrum Evaluation Software Version 1.0.7");
    for (QWidget* control : std::initializer_list<QWidget*>{about.Frame1, about.Label1, about.Label2,
                                                            about.Label5, about.Label6, about.cmdOK})
        EXPECT_EQ(about.findChild<QWidget*>(control->objectName()), control)
            << control->objectName().toStdString();
    EXPECT_EQ(about.Label6->objectName(), "Label6");
    EXPECT_TRUE(about.Label1->font().bold());
    EXPECT_DOUBLE_EQ(about.Label1->font().pointSizeF(), 9.75);
    EXPECT_EQ(about.Label5->text().toStdString(), "Visit the Tarnwell Silicon website at");
    EXPECT_FALSE(about.Label2->text().isEmpty());

    EXPECT_EQ(about.Label6->text().toStdString(), "http://www.tarnwell.example/");
    EXPECT_EQ(LinkColour(about), QColor(0, 0, 192));
    EXPECT_TRUE(about.Label6->font().bold());
    EXPECT_TRUE(about.Label6->font().underline());
    EXPECT_DOUBLE_EQ(about.Label6->font().pointSizeF(), 8.25);
    EXPECT_EQ(about.Label6->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(about.cmdOK->text().toStdString(), "OK");
    test::ExpectTidy(about, "about");
}

TEST_F(AboutTest, EachClickOnTheLinkOpensThePageAndLeavesItPurple) {
    frmAbout& about = OpenAbout();
    QTest::mouseClick(about.Label6, Qt::LeftButton);
    EXPECT_EQ(LinkColour(about), QColor(128, 0, 128));
    QTest::mouseClick(about.Label6, Qt::LeftButton);
    EXPECT_EQ(shell.opened,
              (std::vector<std::string>{"http://www.tarnwell.example/", "http://www.tarnwell.example/"}));
    QTest::mouseClick(about.Label6, Qt::RightButton);
    EXPECT_EQ(shell.opened.size(), 2u) << "only the left button follows the link";
}

TEST_F(AboutTest, PlacedAboveTheMiddleOfTheMainWindowAndNotMovedWhenChosenAgain) {
    main->resize(900, 720);
    frmAbout& about = OpenAbout();
    const QWidget* frame = about.parentWidget();
    const double left = 900 * 15 / 2.0 - frame->width() * 15 / 2.0;
    const double top = 720 * 15 / 2.0 - frame->height() * 15 / 2.0 - 1500;
    EXPECT_EQ(frame->pos(), QPoint(TwipsToPixels(left), TwipsToPixels(top)));
    EXPECT_EQ(frame->size(), QSize(TwipsToPixels(6300), TwipsToPixels(3150)));

    // Moved by the user, visited, then chosen again: in front, where it was, still purple.
    frame->parentWidget()->setFocus();
    about.parentWidget()->move(10, 20);
    about.Label6_Click();
    OpenAbout();
    EXPECT_EQ(about.parentWidget()->pos(), QPoint(10, 20));
    EXPECT_EQ(LinkColour(about), QColor(128, 0, 128));
}

TEST_F(AboutTest, OkClosesAndTheNextOpeningStartsAfresh) {
    frmAbout& about = OpenAbout();
    about.Label6_Click();
    about.cmdOK->click();
    EXPECT_EQ(main->Windows().Find<frmAbout>(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    frmAbout& fresh = OpenAbout();
    EXPECT_EQ(LinkColour(fresh), QColor(0, 0, 192));
}

}  // namespace
}  // namespace kestrum
