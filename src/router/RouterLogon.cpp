#include "router/RouterLogon.h"

#include <QByteArray>

namespace {

const std::string kScheme = "http://";

std::string Encode(const std::string& text) {
    return QByteArray::fromStdString(text).toPercentEncoding().toStdString();
}

std::string Decode(const std::string& text) {
    return QByteArray::fromPercentEncoding(QByteArray::fromStdString(text)).toStdString();
}

}  // namespace

bool LogonInAddress(int altAuth) {
    return altAuth == 1 || altAuth == 3;
}

std::string CredentialAddress(const std::string& address, const std::string& user,
                              const std::string& password) {
    const std::string rest = address.size() > kScheme.size() ? address.substr(kScheme.size()) : std::string();
    return kScheme + Encode(user) + ":" + Encode(password) + "@" + rest;
}

Logon LogonFromAddress(const std::string& credentialAddress) {
    if (credentialAddress.compare(0, kScheme.size(), kScheme) != 0) return {};
    // The encoded logon holds no "@", so the first one ends it.
    const auto at = credentialAddress.find('@', kScheme.size());
    if (at == std::string::npos) return {};
    const std::string userInfo = credentialAddress.substr(kScheme.size(), at - kScheme.size());
    const auto colon = userInfo.find(':');
    if (colon == std::string::npos) return {Decode(userInfo), {}};
    return {Decode(userInfo.substr(0, colon)), Decode(userInfo.substr(colon + 1))};
}

std::string BasicAuthorization(const Logon& logon) {
    return "Basic " + QByteArray::fromStdString(logon.user + ":" + logon.password).toBase64().toStdString();
}
