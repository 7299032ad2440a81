#include "SimServer.h"

#include <QDateTime>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>

#include "SimPages.h"

namespace {

constexpr qsizetype kMaxRequestHead = 64 * 1024;
constexpr size_t kOversizeBytes = 1048576 + 65536;

const char* ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        default:
            return "Not Found";
    }
}

std::string QueryValue(const std::string& query, const std::string& name) {
    std::string::size_type pos = 0;
    while (pos <= query.size()) {
        auto end = query.find('&', pos);
        if (end == std::string::npos) end = query.size();
        const std::string pair = query.substr(pos, end - pos);
        const auto eq = pair.find('=');
        if (eq != std::string::npos && pair.substr(0, eq) == name) return pair.substr(eq + 1);
        pos = end + 1;
    }
    return {};
}

int PageNumber(const std::string& text) {
    const int n = std::atoi(text.c_str());
    return n < 0 ? 0 : n;
}

std::string HeaderValue(const QByteArray& head, const QByteArray& name) {
    for (const QByteArray& line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name)
            return line.mid(colon + 1).trimmed().toStdString();
    }
    return {};
}

}  // namespace

SimServer::SimServer(SimOptions options, QObject* parent) : QObject(parent), options_(std::move(options)) {
    connect(&server_, &QTcpServer::newConnection, this, &SimServer::OnNewConnection);
}

bool SimServer::Start(std::string& error) {
    SimRecords records;
    if (!LoadSimRecords(options_.recordsPath, records, error)) return false;
    TakeRecords(std::move(records));
    if (!server_.listen(QHostAddress::LocalHost, static_cast<quint16>(options_.port))) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(options_.port) + ": " +
                server_.errorString().toStdString();
        return false;
    }
    return true;
}

void SimServer::OnNewConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            pending_.remove(socket);
            socket->deleteLater();
        });
    }
}

void SimServer::OnReadyRead(QTcpSocket* socket) {
    QByteArray& buffer = pending_[socket];
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (buffer.size() > kMaxRequestHead) Send(socket, {400, "request head too long\n"});
        return;
    }
    const QByteArray head = buffer.left(headEnd);
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    pending_.remove(socket);

    const QList<QByteArray> requestLine = head.left(head.indexOf('\r')).split(' ');
    const std::string target = requestLine.size() >= 2 ? requestLine[1].toStdString() : std::string();
    const std::string authorization = HeaderValue(head, "authorization");
    const bool failThis = requests_ < options_.failFirst;
    ++requests_;

    QPointer<QTcpSocket> guarded(socket);
    auto answer = [this, guarded, target, authorization, failThis] {
        if (!guarded) return;
        Answer a = Respond(target, authorization);
        if (failThis || options_.empty) a.body.clear();
        if (options_.verbose) {
            std::printf("GET %s %d%s\n", target.c_str(), a.status, a.body.empty() ? " (empty)" : "");
            std::fflush(stdout);
        }
        if (options_.hostile != SimHostile::None) {
            const std::string to = "http://127.0.0.1:" + std::to_string(Port()) + "/redirected";
            SendHostile(guarded, options_.hostile, a.body, to, options_.verbose);
        } else {
            Send(guarded, a);
        }
    };
    if (options_.delayMs > 0) {
        QTimer::singleShot(options_.delayMs, this, answer);
    } else {
        answer();
    }
}

void SimServer::Send(QTcpSocket* socket, const Answer& answer) {
    std::string head =
        "HTTP/1.1 " + std::to_string(answer.status) + " " + ReasonPhrase(answer.status) + "\r\n";
    head += "Content-Type: text/html\r\n";
    if (!options_.holdOpen) head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
    if (answer.status == 401) head += "WWW-Authenticate: Basic realm=\"Router\"\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head.data(), static_cast<qint64>(head.size()));
    socket->write(answer.body.data(), static_cast<qint64>(answer.body.size()));
    // Held open, the body has no end the client could see: only its own limits end the wait.
    if (!options_.holdOpen) socket->disconnectFromHost();
}

void SimServer::ReloadRecords() {
    SimRecords fresh;
    std::string error;
    if (LoadSimRecords(options_.recordsPath, fresh, error)) {
        TakeRecords(std::move(fresh));
    } else {
        std::fprintf(stderr, "drovix-routersim: %s (keeping the logs read before)\n", error.c_str());
    }
}

void SimServer::TakeRecords(SimRecords records) {
    const std::string& marker = options_.lineFeedMarker;
    if (!marker.empty()) {
        for (std::string& line : records.syslog) {
            for (auto at = line.find(marker); at != std::string::npos; at = line.find(marker, at + 1))
                line.replace(at, marker.size(), "\n");
        }
    }
    // The router's buffer holds the newest lines only: the oldest are gone from its pages.
    auto& lines = records.syslog;
    if (options_.ring > 0 && lines.size() > static_cast<size_t>(options_.ring))
        lines.erase(lines.begin(), lines.end() - options_.ring);
    records_ = std::move(records);
}

// page counts from 0, as the requests do; the records file counts from 1.
bool SimServer::PageFails(int page) const {
    return records_.failingPages.count(page + 1) > 0;
}

bool SimServer::Authorized(const std::string& authorization) const {
    const std::string scheme = "Basic ";
    if (authorization.compare(0, scheme.size(), scheme) != 0) return false;
    const QByteArray decoded =
        QByteArray::fromBase64(QByteArray::fromStdString(authorization.substr(scheme.size())));
    return decoded.toStdString() == options_.user + ":" + options_.password;
}

std::string SimServer::ClockText() const {
    QDateTime now = QDateTime::currentDateTime();
    if (records_.clock) {
        const std::string& c = *records_.clock;
        if (!c.empty() && (c[0] == '+' || c[0] == '-')) {
            now = now.addSecs(std::atoll(c.c_str()));
        } else {
            return RouterClockText(c);
        }
    }
    return RouterClockText(now.toString("yyyy-MM-dd hh:mm:ss").toStdString());
}

std::vector<std::string> SimServer::PageLines(int page) const {
    const auto& all = records_.syslog;  // already cut to the ring
    const size_t first = static_cast<size_t>(page) * static_cast<size_t>(options_.pageLines);
    if (first >= all.size()) return {};
    const size_t last = std::min(all.size(), first + static_cast<size_t>(options_.pageLines));
    return {all.begin() + static_cast<std::ptrdiff_t>(first),
            all.begin() + static_cast<std::ptrdiff_t>(last)};
}

SimServer::Answer SimServer::Respond(const std::string& target, const std::string& authorization) {
    ReloadRecords();
    if (!Authorized(authorization)) return {401, options_.bare401 ? std::string() : UnauthorizedPage()};

    const auto question = target.find('?');
    const std::string path = target.substr(0, question);
    const std::string query = question == std::string::npos ? std::string() : target.substr(question + 1);
    const SimLayout layout = options_.layout;
    const bool newFamily = IsNewFamily(layout);

    std::string body;
    if (path == "/" || path == "/index.htm") {
        body = RootPage(layout);
    } else if (path == "/inLogTable.htm") {
        body = IncomingPage(records_.incoming);
    } else if (path == "/outLogTable.htm") {
        body = OutgoingPage(records_.outgoing);
    } else if (path == (newFamily ? "/RouterStatus.htm" : "/Status.htm")) {
        body = StatusPage(layout, records_.wan.value_or(options_.wan), ClockText());
    } else if (!options_.noSyslog && newFamily && path == "/Gozila.cgi") {
        // A select request that fails leaves the page selected before.
        const int page = PageNumber(QueryValue(query, "hid_sysLogPageNum"));
        if (PageFails(page)) return {200, {}};
        selectedPage_ = page;
        body = SelectPage(layout);
    } else if (!options_.noSyslog && newFamily && path == "/SysLog.htm") {
        body = SysLogPage(layout, PageLines(selectedPage_), selectedPage_);
    } else if (!options_.noSyslog && !newFamily && path == "/Group.cgi") {
        const std::string page = QueryValue(query, "Log_Page_Num");
        if (!page.empty() && layout == SimLayout::Firewall) {
            if (PageFails(PageNumber(page))) return {200, {}};
            body = SysLogPage(layout, PageLines(PageNumber(page)), PageNumber(page));
        } else {
            selectedPage_ = 0;
            body = SelectPage(layout);
        }
    } else if (!options_.noSyslog && layout == SimLayout::Firewall && path == "/SysLogTable.htm") {
        body = SysLogPage(layout, PageLines(selectedPage_), selectedPage_);
    } else if (!options_.noSyslog && layout == SimLayout::Plain && path == "/VPNLog.htm") {
        if (PageFails(0)) return {200, {}};
        body = SysLogPage(layout, records_.syslog, 0);
    } else {
        return {404, NotFoundPage()};
    }
    if (options_.oversize && body.size() < kOversizeBytes) {
        body += "<!--" + std::string(kOversizeBytes - body.size(), 'x') + "-->\n";
    }
    if (options_.crlf) {
        for (auto at = body.find('\n'); at != std::string::npos; at = body.find('\n', at + 2))
            body.insert(at, 1, '\r');
    }
    return {200, body};
}
