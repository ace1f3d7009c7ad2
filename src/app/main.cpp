// Kestrum Evaluation Software: builds the platform, then runs the start-up sequence.

#include <QApplication>
#include <cstdlib>

#include "app/Backends.h"
#include "app/QtSeams.h"
#include "app/Startup.h"
#include "core/General.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kestrum::kAppTitle);
    kestrum::SetProgramDirectory(QCoreApplication::applicationDirPath().toStdString());

    kestrum::QtMessageBoxes messages;
    kestrum::QtFileDialogs fileDialogs;
    kestrum::QtClock clock;
    kestrum::QtProgramEnd programEnd;
    kestrum::QtShell shell;
    kestrum::InstallSeams({&messages, &fileDialogs, &clock, &programEnd, &shell});
    // Through the seams' diagnostics, so that the no-link message can repeat the reasons.
    const auto backends = kestrum::InstallBackendsFromEnvironment(
        [](const char* name) { return std::getenv(name); }, kestrum::Diagnostics());

    if (!kestrum::Main()) return 0;
    return QApplication::exec();
}
