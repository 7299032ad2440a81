#include "app/ProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

std::string WithSeparator(const QString& folder) {
    std::string path = QDir(folder).absolutePath().toStdString();
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

}  // namespace

std::string ResolveProgramDir(const std::string& executableDir) {
    const QString home = qEnvironmentVariable("DROVIX_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return WithSeparator(home);
    }
    const QString exeDir = QString::fromStdString(executableDir);
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable()) return WithSeparator(exeDir);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return WithSeparator(data);
}
