// The toolkit's file dialog as the seam sets it up: a log file, which is only appended
// to, may be an existing one without a question about replacing it, and a name typed
// without an extension gets one only when the request asks for it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
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
    std::optional<std::string> chosen;
};

// Opens the save dialog and notes how it is set up; then cancels it, or, given a name,
// types it and accepts.
SeenDialog LookAtSaveDialog(const FileDialogRequest& request, const QString& typed = {}) {
    SeenDialog result;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        // Still open after the name was accepted: cancelled, so that the test fails, not hangs.
        const bool cancel = typed.isEmpty() || name == nullptr || result.seen;
        result.seen = true;
        result.asksBeforeReplacing = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        result.mode = dialog->fileMode();
        result.suffix = dialog->defaultSuffix();
        result.directory = dialog->directory().absolutePath();
        if (cancel) {
            dialog->reject();
            return;
        }
        name->setText(typed);
        QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
    });
    poll.start(10);
    result.chosen = QtFileDialogs().SaveFile(request);
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
    EXPECT_EQ(log.chosen, std::nullopt) << "cancelled";

    const SeenDialog settings = LookAtSaveDialog({folder.toStdString(), "Text Files (*.sav)|*.sav", "sav"});
    ASSERT_TRUE(settings.seen);
    EXPECT_TRUE(settings.asksBeforeReplacing);
}

TEST(QtFileDialogs, ATypedNameGetsAnExtensionOnlyWhenTheRequestGivesOne) {
    const QTemporaryDir folder;
    const std::string path = folder.path().toStdString();
    const SeenDialog log = LookAtSaveDialog({path, "Log Files (*.csv)|*.csv", "", false}, "run1");
    EXPECT_EQ(log.suffix, "");
    EXPECT_EQ(log.chosen, path + "/run1");
    const SeenDialog settings = LookAtSaveDialog({path, "Text Files (*.sav)|*.sav", "sav"}, "run1");
    EXPECT_EQ(settings.chosen, path + "/run1.sav");
}

}  // namespace
}  // namespace kestrum
