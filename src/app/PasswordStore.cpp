#include "app/PasswordStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QSettings>
#include <filesystem>

#include "app/ApplicationIdentity.h"
#include "text/Latin1.h"

namespace {

const QString kPasswordKey = QStringLiteral("E5");

QSettings OpenStore() {
    return QSettings(QString::fromLatin1(drovix::OrganizationName),
                     QString::fromLatin1(drovix::ApplicationName));
}

// Creates the folder and those above it that are missing, each for its owner only.
void MakeFolderPrivately(const std::filesystem::path& folder) {
    std::error_code ignored;
    if (folder.empty() || std::filesystem::exists(folder, ignored)) return;
    if (folder.has_parent_path() && folder.parent_path() != folder) MakeFolderPrivately(folder.parent_path());
    ::mkdir(folder.c_str(), 0700);
}

// The store's file holds the router password, scrambled but plain to anyone who may read the
// file: it is for its owner only, and so is a folder Drovix makes for it. It is made private
// before each write, since the store then writes a new file that keeps the old one's mode (a
// readable file left by an older Drovix included).
void MakeStorePrivate() {
    const QFileInfo file(OpenStore().fileName());
    MakeFolderPrivately(file.absolutePath().toStdString());
    const int fd =
        ::open(file.absoluteFilePath().toStdString().c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;  // then the store cannot write there either
    ::fchmod(fd, 0600);
    ::close(fd);
}

}  // namespace

std::string ReadStoredPassword() {
    // The value is hex text made by Enc, so Latin-1 is exact.
    return Bytes(OpenStore().value(kPasswordKey).toString());
}

void WriteStoredPassword(const std::string& scrambled) {
    MakeStorePrivate();
    QSettings store = OpenStore();
    const QString value = Latin1(scrambled);
    // The store rewrites its file (and flushes it to disk) on every value set, even an equal one;
    // an unattended run saves the same password each time. Only the store's own file counts here,
    // not a value the system's fallback files may offer.
    store.setFallbacksEnabled(false);
    if (store.contains(kPasswordKey) && store.value(kPasswordKey) == value) return;
    store.setValue(kPasswordKey, value);
    store.sync();
}

void DeleteStoredPassword() {
    QSettings store = OpenStore();
    if (!store.contains(kPasswordKey)) return;
    MakeStorePrivate();
    store.remove(kPasswordKey);
    store.sync();
}

std::string PasswordStoreLocation() {
    return OpenStore().fileName().toStdString();
}
