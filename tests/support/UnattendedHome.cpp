#include "UnattendedHome.h"

#include <QDir>

std::string PrepareUnattendedHome(const TempFolder& home, const std::string& settings,
                                  const std::map<std::string, std::string>& sbFiles) {
    const std::string sbDir = home.file("sb/");
    QDir().mkpath(QString::fromStdString(sbDir));
    for (const auto& [name, bytes] : sbFiles) WriteFileBytes(sbDir + name, bytes);
    WriteFileBytes(home.file("Stillbeacon.ini"), "LOGDIR " + sbDir + "\r\n");
    WriteFileBytes(home.file("Drovix.ini"), settings);
    return sbDir;
}
