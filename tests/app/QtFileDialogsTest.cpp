// The toolkit's file dialog as the seam sets it up: a log file, which is only appended
// to, may be an existing one without a question about replacing it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include "app/QtSeams.h"

namespace kestrum {
namespace {

struct SeenDialog {
    bool seen = false;
    bool asksBeforeReplacing = false;
    QFileDialog::FileMode mode = QFileDialog::ExistingFile;
    QString suffix;
    QString directory;
};

// Opens the save dialog, notes how it is set up, and cancels it.
SeenDialog LookAtSaveDialog(const FileDialogRequest& request) {
    SeenDialog result;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        result.seen = true;
        result.asksBeforeReplacing = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        result.mode = dialog->fileMode();
        result.suffix = dialog->defaultSuffix();
        result.directory = dialog->directory().absolutePath();
        dialog->reject();
    });
    poll.start(10);
    EXPECT_EQ(QtFileDialogs().SaveFile(request), std::nullopt);
    return result;
}

TEST(QtFileDialogs, AnAppendingSaveTakesAnExistingFileWithoutAskingToReplaceIt) {
    const QString folder = QDir::tempPath();
    const SeenDialog log = LookAtSaveDialog({folder.toStdString(), "Log Files (*.csv)|*.csv", "csv", false});
    ASSERT_TRUE(log.seen);
    EXPECT_FALSE(log.asksBeforeReplacing);
    EXPECT_EQ(log.mode, QFileDialog::AnyFile) << "a new name may be typed";
    EXPECT_EQ(log.suffix, "csv");
    EXPECT_EQ(log.directory, folder);

    const SeenDialog settings = LookAtSaveDialog({folder.toStdString(), "Text Files (*.sav)|*.sav", "sav"});
    ASSERT_TRUE(settings.seen);
    EXPECT_TRUE(settings.asksBeforeReplacing);
}

}  // namespace
}  // namespace kestrum
