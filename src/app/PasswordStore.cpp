#include "app/PasswordStore.h"

#include <QSettings>

#include "app/ApplicationIdentity.h"

namespace {

const QString kPasswordKey = QStringLiteral("E5");

QSettings OpenStore() {
    return QSettings(QString::fromLatin1(drovix::OrganizationName),
                     QString::fromLatin1(drovix::ApplicationName));
}

}  // namespace

std::string ReadStoredPassword() {
    // The value is hex text made by Enc, so Latin-1 is exact.
    return OpenStore().value(kPasswordKey).toString().toLatin1().toStdString();
}

void WriteStoredPassword(const std::string& scrambled) {
    QSettings store = OpenStore();
    store.setValue(kPasswordKey,
                   QString::fromLatin1(scrambled.data(), static_cast<qsizetype>(scrambled.size())));
    store.sync();
}

void DeleteStoredPassword() {
    QSettings store = OpenStore();
    if (!store.contains(kPasswordKey)) return;
    store.remove(kPasswordKey);
    store.sync();
}

std::string PasswordStoreLocation() {
    return OpenStore().fileName().toStdString();
}
