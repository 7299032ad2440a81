#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <stdexcept>

std::string ReadFileBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("cannot write " + path);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

bool FileExists(const std::string& path) {
    return QFileInfo::exists(QString::fromStdString(path));
}

std::map<std::string, std::string> FilesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const QString& name : QDir(QString::fromStdString(folder)).entryList(QDir::Files))
        files[name.toStdString()] = ReadFileBytes(folder + name.toStdString());
    return files;
}

TempFolder::TempFolder() {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    path_ = QDir(dir_.path()).absolutePath().toStdString() + "/";
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
}
