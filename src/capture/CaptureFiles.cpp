#include "capture/CaptureFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDate>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

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

std::optional<std::vector<std::string>> ReadCaptureDay(const std::string& folder, std::string_view date,
                                                       std::string* error) {
    if (!StartsWithStamp(std::string(date) + " 00:00:00 ")) {
        if (error) *error = "not a date: " + std::string(date);
        return std::nullopt;
    }
    const std::string path = folder + CaptureFileName(date);
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error)) {
        if (!QFileInfo::exists(QString::fromStdString(path))) return std::vector<std::string>{};
        return std::nullopt;
    }
    return CaptureLines(bytes);
}

CaptureAppender::~CaptureAppender() {
    Close();
}

void CaptureAppender::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    date_.clear();
}

bool CaptureAppender::OpenDay(std::string_view date, std::string& error) {
    Close();
    path_ = folder_ + CaptureFileName(date);
    const int fd = ::open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot open " + path_ + ": " + std::strerror(errno);
        return false;
    }
    // A line cut short by a crash or a full disk is ended before the next one, which then starts
    // a line of its own instead of being glued to the remnant.
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) != 1) last = '\n';
    needsLineEnd_ = last != '\n';
    fd_ = fd;
    date_ = date;
    checkedAt_ = std::time(nullptr);
    return true;
}

// A file deleted or renamed away (by hand, or by a clean-up) would take every later line with it
// into a file no one sees: the name is looked up again once a second.
bool CaptureAppender::StillTheFile() const {
    const std::time_t now = std::time(nullptr);
    if (now == checkedAt_) return true;
    struct stat byName {
    }, open{};
    return ::stat(path_.c_str(), &byName) == 0 && ::fstat(fd_, &open) == 0 && byName.st_ino == open.st_ino &&
           byName.st_dev == open.st_dev;
}

bool CaptureAppender::Append(std::string_view line, std::string& error) {
    if (!StartsWithStamp(line)) {
        error = "not a router line";
        return false;
    }
    const std::string_view date = line.substr(0, 10);
    if (fd_ < 0 || date != date_ || !StillTheFile()) {
        if (!OpenDay(date, error)) return false;
    }
    checkedAt_ = std::time(nullptr);
    bytes_.clear();
    if (needsLineEnd_) bytes_ += "\r\n";
    bytes_ += line;
    bytes_ += "\r\n";
    ssize_t written;
    do {
        written = ::write(fd_, bytes_.data(), bytes_.size());
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(bytes_.size())) {
        needsLineEnd_ = false;
        return true;
    }
    if (written < 0) {
        error = "cannot write to " + path_ + ": " + std::strerror(errno);
        Close();  // opened afresh for the next line, in case the file itself went bad
        return false;
    }
    // Part of the line went out: take it back, so the file holds whole lines only.
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || ::ftruncate(fd_, st.st_size - written) != 0) needsLineEnd_ = true;
    error = "only part of a line could be written to " + path_ + " (is the disk full?)";
    return false;
}
