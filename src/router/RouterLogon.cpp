#include "router/RouterLogon.h"

#include <QByteArray>

std::string BasicAuthorization(const Logon& logon) {
    return "Basic " + QByteArray::fromStdString(logon.user + ":" + logon.password).toBase64().toStdString();
}
