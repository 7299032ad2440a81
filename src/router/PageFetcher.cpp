#include "router/PageFetcher.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <cctype>
#include <memory>

#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/OsServices.h"
#include "router/FetchTrace.h"
#include "router/RouterLogon.h"

namespace {

constexpr qint64 kMaxPageBytes = 1048576;
constexpr int kPollMs = 15;
constexpr int kPauseSliceMs = 50;
constexpr int kTransferGraceMs = 250;

// A one-digit option field "1".."9"; anything else counts as its default (a one-digit text too).
int OptionDigit(const TextBox& box, const char* fallback) {
    const std::string& t = box.Text;
    return t.size() == 1 && t[0] >= '1' && t[0] <= '9' ? t[0] - '0' : fallback[0] - '0';
}

QNetworkAccessManager& Network(MainForm& F) {
    if (!F.router.Network) {
        F.router.Network = std::make_unique<QNetworkAccessManager>();
        // A direct connection: the router is on the local network, never behind a proxy.
        F.router.Network->setProxy(QNetworkProxy::NoProxy);
    }
    return *F.router.Network;
}

// Keeps count of the fetches on the stack (the WAN monitor skips a check while one runs).
struct ActiveFetch {
    explicit ActiveFetch(MainForm& f) : F(f) { ++F.router.ActiveFetches; }
    ~ActiveFetch() { --F.router.ActiveFetches; }
    MainForm& F;
};

// What arrives for one request: the body up to the page limit, and whether the request ended.
// waiter is the wait in progress, woken as soon as the request is done.
struct Arrival {
    std::string body;
    bool finished = false;
    bool full = false;
    // How the request ended: its network error (with the system's words) and the HTTP status.
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    std::string errorText;
    int status = 0;
    QEventLoop* waiter = nullptr;

    void Wake() const {
        if (waiter != nullptr) waiter->quit();
    }
};

// The transfer broke off (time-out, reset, early close): what came is a piece of a page, not a
// page. Answers with an HTTP error status (a refused logon) still carry their whole body.
bool CutShort(const QNetworkReply& reply) {
    const QNetworkReply::NetworkError error = reply.error();
    return error != QNetworkReply::NoError && error <= QNetworkReply::UnknownNetworkError;
}

// One request in flight. Owns its reply and deletes it itself: deferred deletion would not run
// inside the nested waits of a long refresh.
class Request {
  public:
    Request(MainForm& F, const QNetworkRequest& request) : F_(F), arrival_(std::make_shared<Arrival>()) {
        reply_ = Network(F).get(request);
        // Whatever the router sends, no more than a page waits unread in the reply.
        reply_->setReadBufferSize(kMaxPageBytes);
        F.router.ActiveReplies.insert(reply_);
        auto arrival = arrival_;
        QNetworkReply* reply = reply_;
        auto take = [reply, arrival] {
            if (!reply->isOpen()) return;
            const qint64 room = kMaxPageBytes - static_cast<qint64>(arrival->body.size());
            if (room > 0) arrival->body += reply->read(room).toStdString();
            if (static_cast<qint64>(arrival->body.size()) >= kMaxPageBytes) {
                arrival->full = true;
                reply->skip(reply->bytesAvailable());
                arrival->Wake();
            }
        };
        QObject::connect(reply_, &QNetworkReply::readyRead, take);
        QObject::connect(reply_, &QNetworkReply::finished, [take, arrival, reply] {
            take();
            arrival->error = reply->error();
            arrival->errorText = reply->errorString().toStdString();
            arrival->status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            if (!arrival->full && CutShort(*reply)) arrival->body.clear();
            arrival->finished = true;
            arrival->Wake();
        });
    }
    ~Request() {
        F_.router.ActiveReplies.erase(reply_);
        reply_->disconnect();
        const bool cutOff = reply_->isRunning() || reply_->error() == QNetworkReply::OperationCanceledError;
        if (cutOff) reply_->abort();
        delete reply_;
        // An aborted reply does not give its connection back: the connection goes on taking the
        // rest of the body (an endless one for ever), and after a few such pages no connection to
        // the router is left for the next request. A fresh manager closes them all.
        if (cutOff && F_.router.ActiveReplies.empty()) F_.router.Network.reset();
    }
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    // Ended, or holds a whole page's worth of bytes.
    bool Done() const { return arrival_->finished || arrival_->full; }

    // Lets window events run until the request is done or at most ms have passed: the limit only
    // bounds how late a stop or a time-out is noticed, a finished reply ends the wait at once.
    void Wait(int ms) {
        if (Done()) return;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(ms);
        arrival_->waiter = &loop;
        loop.exec();
        arrival_->waiter = nullptr;
    }
    std::string Page() const { return arrival_->body; }
    const Arrival& Ending() const { return *arrival_; }

  private:
    MainForm& F_;
    QNetworkReply* reply_;
    std::shared_ptr<Arrival> arrival_;
};

// The window is closing or the transfers were cancelled: no more waiting of any kind.
bool MustStop(const MainForm& F, unsigned generation) {
    return F.UnloadRequested || F.router.CancelGeneration != generation;
}

// The pause between tries, cut short when the fetch must stop.
void Pause(MainForm& F, int ms, unsigned generation) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms && !MustStop(F, generation)) {
        WaitMs(static_cast<int>(std::min<qint64>(kPauseSliceMs, ms - timer.elapsed())));
    }
}

QNetworkRequest BuildRequest(const std::string& address, const FetchOptions& options) {
    QNetworkRequest request(
        QUrl(QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size()))));
    // A little longer than the wait, so that the wait decides when the last try is over and the
    // request's own time-out ends the earlier ones just after it.
    request.setTransferTimeout(options.waitSeconds * 1000 + kTransferGraceMs);
    request.setRawHeader("Authorization",
                         QByteArray::fromStdString(BasicAuthorization({options.user, options.password})));
    // Only the logon of this fetch counts: no remembered credentials may stand in for a refused one.
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return request;
}

bool UsableAddress(const std::string& address) {
    if (address.rfind("http://", 0) != 0) return false;
    const QUrl url(QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size())));
    return url.isValid() && !url.host().isEmpty();
}

enum class TryEnd { Page, Empty, GiveUp };

struct TryResult {
    TryEnd end;
    std::string page;
    std::string failure;  // why no page came, in words
    int status = 0;       // the HTTP status of the answer, 0 when none came
};

std::string NoAnswer(int waitSeconds) {
    return "no answer within " + std::to_string(waitSeconds) + (waitSeconds == 1 ? " second" : " seconds");
}

// Why a request ended without a page, in the words a person reads in a message.
std::string FailureWords(const Arrival& a, int waitSeconds) {
    switch (a.error) {
        case QNetworkReply::ConnectionRefusedError:
            return "connection refused";
        case QNetworkReply::TimeoutError:
        case QNetworkReply::OperationCanceledError:
            return NoAnswer(waitSeconds);
        case QNetworkReply::HostNotFoundError:
            return "host not found";
        case QNetworkReply::RemoteHostClosedError:
            return "the Router closed the connection";
        default:
            break;
    }
    if (a.status == 200 || (a.status == 0 && a.error == QNetworkReply::NoError))
        return "the Router sent an empty page";
    if (a.status != 0)
        return "the Router answered with HTTP status " + std::to_string(a.status) + " and an empty page";
    // The system's own words ("Network unreachable", "No route to host"), as a clause.
    std::string words = a.errorText;
    if (!words.empty()) words[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(words[0])));
    return words;
}

TryResult OneTry(MainForm& F, TraceLog& trace, const std::string& address, const FetchOptions& options,
                 bool lastTry, unsigned generation) {
    Request request(F, BuildRequest(address, options));
    F.ui.DoEvents();
    QElapsedTimer started;
    started.start();
    while (!request.Done()) {
        request.Wait(kPollMs);
        if (MustStop(F, generation)) return {TryEnd::GiveUp, {}, {}, 0};
        if (request.Done()) break;
        if (started.elapsed() > options.waitSeconds * 1000LL) {
            trace.Line(TraceTime(F.clock.Now()) + " Page request timed out");
            // Earlier tries wait on: the request's own time-out ends them just after.
            if (lastTry || F.QuitRequested) return {TryEnd::GiveUp, {}, NoAnswer(options.waitSeconds), 0};
        }
    }
    std::string page = request.Page();
    if (!page.empty()) return {TryEnd::Page, std::move(page), {}, 0};
    return {TryEnd::Empty, {}, FailureWords(request.Ending(), options.waitSeconds), request.Ending().status};
}

void TracePage(MainForm& F, TraceLog& trace, const std::string& copyName, const std::string& page) {
    trace.Line("Html file = " + copyName);
    trace.Line(TraceTime(F.clock.Now()) + " " + page.substr(0, 200));
    trace.Close();
    WritePageCopy(copyName, page);
}

}  // namespace

FetchOptions FetchOptionsOf(const MainForm& F) {
    FetchOptions options;
    options.user = F.UserID.Text.empty() ? std::string("admin") : F.UserID.Text;
    options.password = F.PW.Text;
    options.waitSeconds = OptionDigit(F.RouterWait, drovix::DefaultRouterWait);
    options.tries = OptionDigit(F.RouterRetry, drovix::DefaultRouterRetry);
    options.pauseSeconds = OptionDigit(F.RouterDelay, drovix::DefaultRouterDelay);
    options.trace = F.TraceOn;
    options.tracePath = F.TracePath;
    options.copyFolder = F.ProgramDir;
    return options;
}

std::string GetHtml(MainForm& F, const std::string& url, const FetchOptions& options) {
    F.router.LastFetchFailure = "no address to fetch";
    F.router.LastFetchStatus = 0;
    if (url.empty() || F.UnloadRequested) return {};
    ActiveFetch active(F);
    const unsigned generation = F.router.CancelGeneration;
    const std::string shownAddress = AddressWithoutLogon(url);

    TraceLog trace(options.trace, options.tracePath);
    std::string copyName;
    if (options.trace) {
        F.router.PageCopyCounter = F.router.PageCopyCounter >= 32767 ? 1 : F.router.PageCopyCounter + 1;
        copyName = PageCopyName(options.copyFolder, F.router.PageCopyCounter, url);
        trace.Line("");
        trace.Line(TraceTime(F.clock.Now()) + " " + shownAddress);
    }

    if (!UsableAddress(url)) {
        trace.Line(TraceTime(F.clock.Now()) + " page request failed");
        F.router.LastFetchFailure = "\"" + F.IPAddr.Text + "\" is not a router address";
        return {};
    }
    F.router.LastFetchFailure = "stopped";
    std::string page;
    for (int attempt = 1; attempt <= options.tries; ++attempt) {
        trace.Line(TraceTime(F.clock.Now()) + " try " + std::to_string(attempt));
        const bool lastTry = attempt == options.tries;
        TryResult result = OneTry(F, trace, url, options, lastTry, generation);
        if (!result.failure.empty()) F.router.LastFetchFailure = result.failure;
        F.router.LastFetchStatus = result.status;
        if (result.end == TryEnd::GiveUp) return {};
        if (result.end == TryEnd::Page) {
            page = std::move(result.page);
            break;
        }
        // No pause after the last try, nor when a stop was asked for: nothing would follow it.
        if (lastTry || F.QuitRequested) break;
        trace.Line(TraceTime(F.clock.Now()) + " waiting before retrying");
        Pause(F, options.pauseSeconds * 1000, generation);
        if (MustStop(F, generation)) return {};
    }
    if (!page.empty()) F.router.LastFetchFailure.clear();
    if (!page.empty() && trace.On()) TracePage(F, trace, copyName, page);
    return page;
}

void CancelTransfers(MainForm& F) {
    ++F.router.CancelGeneration;
    // Copy first: an aborted reply reports at once, and its owner may be watching.
    const std::set<QNetworkReply*> running = F.router.ActiveReplies;
    for (QNetworkReply* reply : running) reply->abort();
}
