#include "app/ApplicationIdentity.h"

#include <QCoreApplication>

void SetApplicationIdentity() {
    QCoreApplication::setApplicationName(QString::fromLatin1(drovix::ApplicationName));
}
