#include "capture/CaptureFiles.h"

#include <QDate>
#include <QDir>

#include "files/FileBytes.h"
#include "text/TextLines.h"

namespace {

bool IsForbidden(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

int Number(std::string_view text, size_t pos, size_t count) {
    int value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::string CaptureFileName(std::string_view date) {
    return "DXCapture " + std::string(date) + ".txt";
}

std::string LocalStamp(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return stamp;
}

bool StartsWithStamp(std::string_view text) {
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':' || text[19] != ' ')
        return false;
    const int h = Number(text, 11, 2), m = Number(text, 14, 2), s = Number(text, 17, 2);
    return QDate::isValid(Number(text, 0, 4), Number(text, 5, 2), Number(text, 8, 2)) && h >= 0 && h < 24 &&
           m >= 0 && m < 60 && s >= 0 && s < 60;
}

std::string CaptureLine(std::string_view stamp, std::string_view text) {
    while (!text.empty() && IsForbidden(text.back())) text.remove_suffix(1);
    std::string line;
    line.reserve(stamp.size() + 1 + text.size());
    line += stamp;
    line += ' ';
    for (const char c : text) line += IsForbidden(c) ? ' ' : c;
    return line;
}

std::vector<std::string> CaptureLines(std::string_view bytes) {
    const size_t end = bytes.rfind('\n');
    std::vector<std::string> lines;
    if (end == std::string_view::npos) return lines;
    ForEachLine(bytes.substr(0, end + 1), [&](std::string_view line) {
        if (StartsWithStamp(line)) lines.emplace_back(line);
        return true;
    });
    return lines;
}

std::vector<std::string> CaptureDays(const std::string& folder) {
    std::vector<std::string> days;
    if (folder.empty()) return days;
    const QStringList names =
        QDir(QString::fromStdString(folder)).entryList({QStringLiteral("DXCapture *.txt")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const std::string date = name.toStdString().substr(10);
        if (date.size() == 14 && StartsWithStamp(date.substr(0, 10) + " 00:00:00 ")) days.push_back(date.substr(0, 10));
    }
    return days;
}

std::optional<std::vector<std::string>> ReadCaptureDay(const std::string& folder, std::string_view date,
                                                       std::string* error) {
    if (!StartsWithStamp(std::string(date) + " 00:00:00 ")) {
        if (error) *error = "not a date: " + std::string(date);
        return std::nullopt;
    }
    const std::string path = folder + CaptureFileName(date);
    std::string bytes;
    const FileRead read = ReadFileBytes(path, bytes);
    if (read.Missing()) return std::vector<std::string>{};
    if (!read) {
        if (error) *error = read.error;
        return std::nullopt;
    }
    return CaptureLines(bytes);
}

bool CaptureAppender::OpenDay(std::string_view date, std::string& error) {
    date_.clear();
    const std::string path = folder_ + CaptureFileName(date);
    if (!file_.Open(path, error)) {
        error = "cannot open " + path + ": " + error;
        return false;
    }
    date_ = date;
    checkedAt_ = std::time(nullptr);
    return true;
}

// A file deleted or renamed away (by hand, or by a clean-up) would take every later line with it
// into a file no one sees: the name is looked up again once a second.
bool CaptureAppender::StillTheFile() const {
    return std::time(nullptr) == checkedAt_ || file_.StillNamed();
}

bool CaptureAppender::Append(std::string_view line, std::string& error) {
    if (!StartsWithStamp(line)) {
        error = "not a router line";
        return false;
    }
    const std::string_view date = line.substr(0, 10);
    if (!file_.IsOpen() || date != date_ || !StillTheFile()) {
        if (!OpenDay(date, error)) return false;
    }
    checkedAt_ = std::time(nullptr);
    if (file_.Append(line, error)) return true;
    if (file_.WroteInPart()) {
        error = "only part of a line could be written to " + file_.Path() + " (is the disk full?)";
    } else {
        error = "cannot write to " + file_.Path() + ": " + error;
        // Opened afresh for the next line, in case the file itself went bad.
        file_.Close();
        date_.clear();
    }
    return false;
}
