#pragma once
#include <QByteArrayView>
#include <QString>
#include <string>
#include <string_view>

// The engine's text is Latin-1 bytes; the widgets take QString. These two are the only crossing
// between them, so a byte 0xA0 stays one byte both ways.
inline QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(QByteArrayView(bytes));
}

inline std::string Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}
