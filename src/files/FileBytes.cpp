#include "files/FileBytes.h"

#include <QFile>

#include "files/FileReplacement.h"

namespace {

bool Fail(const QFileDevice& file, std::string* error, int* errorNumber) {
    if (error) *error = file.errorString().toStdString();
    if (errorNumber) *errorNumber = static_cast<int>(file.error());
    return false;
}

bool ReadWhole(QFile& file, std::string& bytes, std::string* error, int* errorNumber) {
    // Read into the caller's buffer in one go, so a buffer used again keeps its room. One too small
    // is replaced rather than grown: growing copies the old bytes and may take twice the room.
    const qint64 size = file.size();
    if (static_cast<std::size_t>(size) > bytes.capacity()) std::string().swap(bytes);
    bytes.resize(static_cast<std::size_t>(size));
    const qint64 got = size > 0 ? file.read(bytes.data(), size) : 0;
    if (got < 0) return Fail(file, error, errorNumber);
    bytes.resize(static_cast<std::size_t>(got));
    // A file that grows while it is read (Stillbeacon appending) is read to its end.
    if (!file.atEnd()) {
        const QByteArray more = file.readAll();
        bytes.append(more.constData(), static_cast<std::size_t>(more.size()));
    }
    if (file.error() != QFileDevice::NoError) return Fail(file, error, errorNumber);
    return true;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error, int* errorNumber) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return Fail(file, error, errorNumber);
    return ReadWhole(file, bytes, error, errorNumber);
}

bool ReadOpenFile(int fd, std::string& bytes, std::string* error, int* errorNumber) {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return Fail(file, error, errorNumber);
    return ReadWhole(file, bytes, error, errorNumber);
}

bool SaveFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                        int* errorNumber) {
    FileReplacement replacement(path);
    return replacement.Write(bytes, error, errorNumber) && replacement.Replace(error, errorNumber);
}
