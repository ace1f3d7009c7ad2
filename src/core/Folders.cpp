#include "core/Folders.h"

#include <unistd.h>

#include <QDir>
#include <QStandardPaths>

#include "platform/Seams.h"

namespace kestrum {

std::string DefaultFileFolder() {
    const std::string& program = ProgramDirectory();
    if (!program.empty() && ::access(program.c_str(), W_OK) == 0) return program;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents.toStdString();
    return QDir::homePath().toStdString();
}

}  // namespace kestrum
