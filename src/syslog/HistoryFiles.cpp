#include "syslog/HistoryFiles.h"

#include <QDir>

#include "text/TextLines.h"

std::string HistoryFileName(std::string_view date) {
    return "DXLog " + std::string(date) + ".txt";
}

std::optional<std::vector<std::string>> ListHistoryFiles(const std::string& folder) {
    if (folder.empty()) return std::nullopt;
    const QDir dir(QString::fromStdString(folder));
    if (!dir.exists()) return std::nullopt;
    const QStringList names =
        dir.entryList({QStringLiteral("DXLog 2*.txt")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    std::vector<std::string> result;
    result.reserve(static_cast<size_t>(names.size()));
    for (const QString& n : names) result.push_back(n.toStdString());
    return result;
}

std::vector<std::string> SplitFileLines(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachLine(bytes, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

bool HistoryAppender::Open(const std::string& name, std::string& error) {
    Close();
    if (!file_.Open(folder_ + name, error)) return false;
    name_ = name;
    return true;
}

void HistoryAppender::Close() {
    file_.Close();
    name_.clear();
}

std::string HistoryAppender::OpenDate() const {
    // "DXLog " + "yyyy-mm-dd" + ".txt"
    return name_.size() == 20 ? name_.substr(6, 10) : std::string();
}
