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

// A copy installed among the system's programs keeps nothing beside itself, also when root, who
// may write there, runs it: its files would land in /usr/bin.
bool InstalledWithTheSystem(const QString& exeDir) {
    QString dir = QDir(exeDir).canonicalPath();
    if (dir.isEmpty()) dir = QDir(exeDir).absolutePath();
    return dir == QLatin1String("/usr") || dir.startsWith(QLatin1String("/usr/"));
}

}  // namespace

std::string ResolveProgramDir(const std::string& executableDir) {
    const QString home = qEnvironmentVariable("DROVIX_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return WithSeparator(home);
    }
    const QString exeDir = QString::fromStdString(executableDir);
    if (!exeDir.isEmpty() && !InstalledWithTheSystem(exeDir) && QFileInfo(exeDir).isWritable()) {
        return WithSeparator(exeDir);
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return WithSeparator(data);
}
