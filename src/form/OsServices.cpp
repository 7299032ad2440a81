#include "form/OsServices.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QNetworkInterface>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

namespace {

// Seconds east of UTC that the local clock shows at a moment.
long long LocalOffsetAt(long long moment) {
    const auto t = static_cast<std::time_t>(moment);
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

}  // namespace

std::string GuessRouterAddress(const std::vector<std::string>& adapterAddresses) {
    std::string result;
    for (const auto& raw : adapterAddresses) {
        const std::string address = TrimNull(raw);
        if (address.rfind("192.168.", 0) == 0) {
            const auto dot = address.find('.', 8);
            return dot == std::string::npos ? "192.168.1.1" : address.substr(0, dot + 1) + "1";
        }
        result = address;
    }
    return result.empty() ? "192.168.1.1" : result;
}

std::string LocalIPAddresses() {
    std::vector<std::string> addresses;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        // The loopback interface is no network adapter: its 127.0.0.1 would be taken for the router.
        if (iface.flags().testFlag(QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                // Only the first IPv4 address of each adapter counts.
                addresses.push_back(entry.ip().toString().toStdString());
                break;
            }
        }
    }
    return GuessRouterAddress(addresses);
}

bool WinVer() {
    return true;
}

int GetUTC(int /*kind*/) {
    return GetUTCAt(QDateTime::currentDateTime());
}

int GetUTCAt(const QDateTime& local) {
    return -local.offsetFromUtc() / 60;
}

std::vector<long long> LocalTimeMoments(long long wallSeconds) {
    // Read as UTC, the clock face is less than a day from every moment it stands for, so the
    // offsets a day either side are the only ones that can apply.
    constexpr long long OneDay = 86400;
    const long long before = LocalOffsetAt(wallSeconds - OneDay);
    const long long after = LocalOffsetAt(wallSeconds + OneDay);
    std::vector<long long> moments;
    for (const long long offset : {before, after}) {
        const long long moment = wallSeconds - offset;
        if (LocalOffsetAt(moment) == offset &&
            std::find(moments.begin(), moments.end(), moment) == moments.end())
            moments.push_back(moment);
    }
    if (moments.empty()) moments.push_back(wallSeconds - before);
    std::sort(moments.begin(), moments.end());
    return moments;
}

std::string TrimNull(const std::string& text) {
    const auto zero = text.find('\0');
    return zero == std::string::npos ? text : text.substr(0, zero);
}

int WaitMsDuration(int ms) {
    if (ms < 1) return 50;
    if (ms > 6000000) return 60000;
    return ms;
}

void WaitMs(int ms) {
    const int duration = WaitMsDuration(ms);
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(duration));
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(duration);
    loop.exec();
}
