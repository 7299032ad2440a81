#include "sblog/SbLogFolder.h"

#include <QDir>
#include <QFileInfo>

#include "form/MainForm.h"

#include "sblog/SbLineReader.h"
#include "text/TextLines.h"

std::optional<std::vector<std::string>> ListSbLogFiles(const std::string& folder) {
    if (folder.empty()) return std::nullopt;
    QDir dir(QString::fromStdString(folder));
    if (!dir.exists()) return std::nullopt;
    // Name filters ignore letter case unless told otherwise; the sort is by name, case ignored.
    // Unreadable files stay in the list: skipping one would flag records it may hold.
    const QStringList names =
        dir.entryList({QStringLiteral("Log 2*.txt")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& n : names) result.push_back(n.toStdString());
    return result;
}

std::string SbLogFolderProblem(const MainForm& F) {
    const std::string settings = "\"" + F.ProgramDir + "Stillbeacon.ini\"";
    if (!F.SbSettingsFound)
        return "Drovix does not know Stillbeacon's log folder: it reads it from LOGDIR in " + settings +
               ", and there is no such file";
    if (F.SbLogDir.empty() || !QFileInfo(QString::fromStdString(F.SbLogDir)).isDir())
        return "Stillbeacon's log folder \"" + F.SbLogDir + "\" (LOGDIR in " + settings + ") does not exist";
    return {};
}

bool IsDrovixLogName(std::string_view name) {
    return name.find(' ', 4) != std::string_view::npos;
}

void CollectRecordLines(std::string_view text, std::vector<std::string_view>& lines) {
    lines.clear();
    ForEachLine(WithoutByteOrderMark(text), [&](std::string_view line) {
        if (IsSbRecordLine(line)) lines.push_back(line);
        return true;
    });
}
