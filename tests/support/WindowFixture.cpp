#include "support/WindowFixture.h"

#include <QTest>

#include "core/General.h"
#include "core/Scheduler.h"
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

void WindowTest::Pick(QComboBox& list, int index) {
    ASSERT_LT(index, list.count()) << list.objectName().toStdString();
    if (!list.isEnabled()) return;
    list.setCurrentIndex(index);
    emit list.activated(index);
}

void WindowTest::Pick(QComboBox& list, const QString& item) {
    const int index = list.findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    Pick(list, index);
}

void WindowTest::Type(QLineEdit& box, const QString& text) {
    box.selectAll();
    if (text.isEmpty())
        QTest::keyClick(&box, Qt::Key_Backspace);
    else
        QTest::keyClicks(&box, text);
}

QStringList WindowTest::Items(const QComboBox& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) items.push_back(list.itemText(i));
    return items;
}

QStringList WindowTest::Items(const QListWidget& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) items.push_back(list.item(i)->text());
    return items;
}

void WindowTest::ExpectFailedTransferEnds(const std::function<void()>& action) {
    board.FailTransfer(1);
    EXPECT_THROW(action(), ProgramEnded);
    ExpectFatalEnd("Communications Interrupted - Check USB connections");
}

void WindowTest::TickAfter(double seconds) {
    clock.Advance(seconds);
    RunMasterTick();
}

}  // namespace kestrum::test
