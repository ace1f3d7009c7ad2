// Kestrum Evaluation Software: builds the platform, then runs the start-up sequence.

#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "app/Backends.h"
#include "app/QtSeams.h"
#include "app/Startup.h"
#include "core/General.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kestrum::kAppTitle);
    kestrum::SetProgramDirectory(QCoreApplication::applicationDirPath().toStdString());

    const auto backends = kestrum::InstallBackendsFromEnvironment(
        [](const char* name) { return std::getenv(name); }, std::cerr);
    kestrum::QtMessageBoxes messages;
    kestrum::QtFileDialogs fileDialogs;
    kestrum::QtClock clock;
    kestrum::QtProgramEnd programEnd;
    kestrum::QtShell shell;
    kestrum::InstallSeams({&messages, &fileDialogs, &clock, &programEnd, &shell});

    if (!kestrum::Main()) return 0;
    return QApplication::exec();
}
