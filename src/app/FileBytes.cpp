#include "app/FileBytes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef __unix__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool Fail(const QFileDevice& file, std::string* error, int* errorNumber) {
    if (error) *error = file.errorString().toStdString();
    if (errorNumber) *errorNumber = static_cast<int>(file.error());
    return false;
}

// A rename lasts only once the folder that holds the name is on disk: without this, a power cut
// soon after a save can bring the old file back. Best effort: the new file is in place already.
void SyncFolderOf(const std::string& path) {
#ifdef __unix__
    const QByteArray folder = QFile::encodeName(QFileInfo(QString::fromStdString(path)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#else
    (void)path;
#endif
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error, int* errorNumber) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return Fail(file, error, errorNumber);
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

bool SaveFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                        int* errorNumber) {
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered, so a short write (a full disk, a file size limit) shows in write()'s count: the
    // buffered path flushes inside commit(), which then renames the cut-short file over the old
    // one and reports success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Fail(file, error, errorNumber);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        if (file.error() != QFileDevice::NoError) {
            Fail(file, error, errorNumber);
        } else {
            // A short write sets no error of its own.
            if (error) *error = "only part of the file could be written (is the disk full?)";
            if (errorNumber) *errorNumber = static_cast<int>(QFileDevice::WriteError);
        }
        file.cancelWriting();
        return false;
    }
    // commit flushes the temporary file to disk and renames it over the old one.
    if (!file.commit()) return Fail(file, error, errorNumber);
    SyncFolderOf(path);
    return true;
}
