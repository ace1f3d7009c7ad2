#include "support/WindowFixture.h"

#include <QTest>

#include "core/General.h"
#include "regmap/RegMapStuff.h"

namespace kestrum::test {

void WindowTest::SetUp() {
    KestrumTest::SetUp();
    InitRegisterTable();
    frame = std::make_unique<QMainWindow>();
    area = new QMdiArea(frame.get());
    frame->setCentralWidget(area);
    frame->resize(1200, 900);
    frame->show();
    manager = std::make_unique<WindowManager>(*area);
    SetWindowUnloader([this] { manager->UnloadAll(); });
}

void WindowTest::TearDown() {
    SetWindowUnloader(nullptr);
    manager->UnloadAll();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    manager.reset();
    frame.reset();
    KestrumTest::TearDown();
}

void WindowTest::Close(ChildWindow& window) {
    window.Unload();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowTest::Choose(QComboBox& list, const QString& item) {
    const int index = list.findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    list.setCurrentIndex(index);
    emit list.activated(index);
}

void WindowTest::Type(QLineEdit& box, const QString& text) {
    box.clear();
    QTest::keyClicks(&box, text);
}

void WindowTest::ExpectFailedTransferEnds(const std::function<void()>& action) {
    board.FailTransfer(1);
    EXPECT_THROW(action(), ProgramEnded);
    ExpectFatalEnd("Communications Interrupted - Check USB connections");
}

}  // namespace kestrum::test
