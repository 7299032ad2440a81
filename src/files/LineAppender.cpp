#include "files/LineAppender.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/SystemCalls.h"

bool LineAppender::Open(const std::string& path, std::string& error) {
    Close();
    const int fd = filecalls::Open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && filecalls::ReadAt(fd, &last, 1, st.st_size - 1) != 1)
        last = '\n';
    lineEndOwed_ = last == '\n' ? "" : last == '\r' ? "\n" : "\r\n";
    fd_ = fd;
    path_ = path;
    return true;
}

bool LineAppender::Append(std::string_view line, std::string& error) {
    inPart_ = false;
    if (fd_ < 0) {
        error = "no file is open";
        return false;
    }
    bytes_ = lineEndOwed_;
    bytes_ += line;
    bytes_ += "\r\n";
    ssize_t written;
    do {
        written = filecalls::Write(fd_, bytes_.data(), bytes_.size());
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(bytes_.size())) {
        lineEndOwed_.clear();
        return true;
    }
    if (written < 0) {
        error = std::strerror(errno);
        return false;
    }
    // Part of the line went out: take it back, so the file holds whole lines only.
    inPart_ = true;
    error = std::strerror(ENOSPC);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || filecalls::Truncate(fd_, st.st_size - written) != 0) lineEndOwed_ = "\r\n";
    return false;
}

void LineAppender::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
    lineEndOwed_.clear();
}

bool LineAppender::StillNamed() const {
    struct stat byName {
    }, open{};
    return fd_ >= 0 && ::stat(path_.c_str(), &byName) == 0 && ::fstat(fd_, &open) == 0 &&
           byName.st_ino == open.st_ino && byName.st_dev == open.st_dev;
}

bool AppendLine(const std::string& path, std::string_view line, std::string& error) {
    LineAppender appender;
    return appender.Open(path, error) && appender.Append(line, error);
}
