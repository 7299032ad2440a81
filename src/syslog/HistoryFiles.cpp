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
    auto file = std::make_unique<QFile>(QString::fromStdString(folder_ + name));
    if (!file->open(QIODevice::ReadWrite | QIODevice::Append)) {
        error = file->errorString().toStdString();
        return false;
    }
    // A write cut short (a crash, a full disk) can leave the last line without its end; the next
    // line must not be glued to it.
    lineEndOwed_.clear();
    if (file->size() > 0 && file->seek(file->size() - 1)) {
        char last = 0;
        if (file->getChar(&last) && last != '\n') lineEndOwed_ = last == '\r' ? "\n" : "\r\n";
    }
    file_ = std::move(file);
    name_ = name;
    return true;
}

bool HistoryAppender::Append(std::string_view line, std::string& error) {
    if (!file_) {
        error = "no history file is open";
        return false;
    }
    std::string bytes = lineEndOwed_;
    bytes += line;
    bytes += "\r\n";
    const auto size = static_cast<qint64>(bytes.size());
    if (file_->write(bytes.data(), size) != size || !file_->flush()) {
        error = file_->errorString().toStdString();
        return false;
    }
    lineEndOwed_.clear();
    ++written_;
    return true;
}

void HistoryAppender::Close() {
    if (file_) file_->close();
    file_.reset();
    name_.clear();
}

std::string HistoryAppender::OpenDate() const {
    // "DXLog " + "yyyy-mm-dd" + ".txt"
    return name_.size() == 20 ? name_.substr(6, 10) : std::string();
}
