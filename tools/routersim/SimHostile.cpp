#include "SimHostile.h"

#include <QTcpSocket>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr qint64 kHugeBytes = 256LL * 1024 * 1024;
constexpr qint64 kChunkBytes = 64 * 1024;
constexpr qint64 kQueuedBytes = 256 * 1024;

void Write(QTcpSocket* socket, const std::string& bytes) {
    socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Keeps about kQueuedBytes queued until total bytes are out (total < 0: for ever); the socket's
// write buffer, not this program's memory, sets the pace.
void Stream(QTcpSocket* socket, qint64 total, bool verbose) {
    auto sent = std::make_shared<qint64>(0);
    const QByteArray chunk(kChunkBytes, 'x');
    auto refill = [socket, total, sent, chunk] {
        while (socket->bytesToWrite() < kQueuedBytes && (total < 0 || *sent < total)) {
            const qint64 n = total < 0 ? kChunkBytes : std::min(kChunkBytes, total - *sent);
            socket->write(chunk.constData(), n);
            *sent += n;
        }
        if (total >= 0 && *sent >= total && socket->bytesToWrite() == 0) socket->disconnectFromHost();
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, refill);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [sent, socket, verbose] {
        if (!verbose) return;
        std::printf("closed after %lld bytes\n", static_cast<long long>(*sent - socket->bytesToWrite()));
        std::fflush(stdout);
    });
    refill();
}

std::string BinaryPage() {
    std::string bytes(4096, '\0');
    unsigned state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 16);
    }
    bytes[100] = '\xA0';
    bytes[200] = '\0';
    return bytes;
}

std::string Head(const std::string& statusLine, const std::string& headers) {
    return statusLine + "\r\nContent-Type: text/html\r\n" + headers + "\r\n";
}

}  // namespace

bool ParseSimHostile(const std::string& name, SimHostile& out) {
    static const std::map<std::string, SimHostile> names = {{"endless", SimHostile::Endless},
                                                            {"huge", SimHostile::Huge},
                                                            {"garbage-status", SimHostile::GarbageStatus},
                                                            {"garbage-headers", SimHostile::GarbageHeaders},
                                                            {"stall", SimHostile::Stall},
                                                            {"redirect", SimHostile::Redirect},
                                                            {"binary", SimHostile::Binary}};
    const auto it = names.find(name);
    if (it == names.end()) return false;
    out = it->second;
    return true;
}

void SendHostile(QTcpSocket* socket, SimHostile mode, const std::string& page, const std::string& redirectTo,
                 bool verbose) {
    const std::string length = "Content-Length: " + std::to_string(page.size()) + "\r\n";
    switch (mode) {
        case SimHostile::None:
            break;
        case SimHostile::Endless:
            Write(socket, Head("HTTP/1.1 200 OK", "Connection: close\r\n") + page);
            Stream(socket, -1, verbose);
            return;
        case SimHostile::Huge:
            Write(socket,
                  Head("HTTP/1.1 200 OK", "Content-Length: " + std::to_string(page.size() + kHugeBytes) +
                                              "\r\nConnection: close\r\n") +
                      page);
            Stream(socket, kHugeBytes, verbose);
            return;
        case SimHostile::GarbageStatus:
            Write(socket, Head("\x16\x03\x01\x02 garbage \xff", length) + page);
            break;
        case SimHostile::GarbageHeaders:
            Write(socket, Head("HTTP/1.1 200 OK",
                               "Content-Length: -77\r\n\x01\x02\xff no colon here\r\n"
                               "Transfer-Encoding: gzip, chunked\r\n: \r\n") +
                              page);
            break;
        case SimHostile::Stall:
            // The connection stays open: the client's time-out has to end the wait.
            Write(socket, Head("HTTP/1.1 200 OK", length) + page.substr(0, page.size() / 2));
            return;
        case SimHostile::Redirect:
            Write(socket,
                  Head("HTTP/1.1 302 Found", "Location: " + redirectTo + "\r\nContent-Length: 22\r\n") +
                      "<html>Moved</html>\r\n\r\n");
            break;
        case SimHostile::Binary: {
            const std::string bytes = BinaryPage();
            Write(
                socket,
                Head("HTTP/1.1 200 OK", "Content-Length: " + std::to_string(bytes.size()) + "\r\n") + bytes);
            break;
        }
    }
    socket->disconnectFromHost();
}
