#include "form/OsServices.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimeZone>
#include <QTimer>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <thread>

#include "LocalZone.h"

namespace {

TEST(GuessRouterAddress, FirstPrivateNetworkAddressGivesItsRouter) {
    EXPECT_EQ(GuessRouterAddress({"10.1.2.3"}), "10.1.2.3");
    EXPECT_EQ(GuessRouterAddress({"10.1.2.3", "192.168.0.7"}), "192.168.0.1");
    EXPECT_EQ(GuessRouterAddress({"192.168.5.23", "192.168.9.9"}), "192.168.5.1");
    EXPECT_EQ(GuessRouterAddress({"192.168.44.200"}), "192.168.44.1");
    // Without a "192.168." address the last address seen is the guess.
    EXPECT_EQ(GuessRouterAddress({"10.1.2.3", "172.16.0.9"}), "172.16.0.9");
    // A "192.168." text without a further dot still means the usual router.
    EXPECT_EQ(GuessRouterAddress({"192.168.5"}), "192.168.1.1");
    EXPECT_EQ(GuessRouterAddress({}), "192.168.1.1");
    // Fixed-size adapter texts are cut at their first zero.
    EXPECT_EQ(GuessRouterAddress({std::string("192.168.3.4\0\0\0\0\0", 16)}), "192.168.3.1");
    EXPECT_EQ(GuessRouterAddress({std::string("\0garbage", 8)}), "192.168.1.1");
}

TEST(GuessRouterAddress, ThisComputerNeverGuessesItsLoopback) {
    const std::string guess = LocalIPAddresses();
    EXPECT_FALSE(guess.empty());
    EXPECT_NE(guess.rfind("127.", 0), 0u) << guess;
}

TEST(GetUTC, MinutesToAddToLocalTime) {
    const QTimeZone eastern("EST5EDT");
    ASSERT_TRUE(eastern.isValid());
    // Five hours west of UTC: 240 minutes in daylight-saving time, 300 outside it.
    EXPECT_EQ(GetUTCAt(QDateTime(QDate(2026, 7, 15), QTime(12, 0), eastern)), 240);
    EXPECT_EQ(GetUTCAt(QDateTime(QDate(2026, 1, 15), QTime(12, 0), eastern)), 300);
    EXPECT_EQ(GetUTCAt(QDateTime(QDate(2026, 7, 15), QTime(12, 0), QTimeZone("Asia/Kolkata"))), -330);
    EXPECT_EQ(GetUTCAt(QDateTime(QDate(2026, 7, 15), QTime(12, 0), QTimeZone::utc())), 0);

    // The program's local time follows the system's zone.
    LocalZone zone("EST5EDT");
    EXPECT_EQ(GetUTCAt(QDateTime(QDate(2026, 7, 15), QTime(12, 0))), 240);
    const int now = GetUTC(0);
    EXPECT_TRUE(now == 240 || now == 300) << now;
}

TEST(WaitMs, ClampsItsDuration) {
    EXPECT_EQ(WaitMsDuration(0), 50);
    EXPECT_EQ(WaitMsDuration(-5), 50);
    EXPECT_EQ(WaitMsDuration(1), 1);
    EXPECT_EQ(WaitMsDuration(6000000), 6000000);
    EXPECT_EQ(WaitMsDuration(6000001), 60000);
    EXPECT_EQ(WaitMsDuration(7000000), 60000);
}

TEST(WaitMs, EventsRunDuringTheWaitAndWorkersWaitToo) {
    bool handled = false;
    QElapsedTimer handledAfter;
    qint64 handledAtMs = -1;
    handledAfter.start();
    QTimer::singleShot(0, [&] {
        handled = true;
        handledAtMs = handledAfter.elapsed();
    });
    WaitMs(100);
    qint64 waited = handledAfter.elapsed();
    EXPECT_TRUE(handled) << "a queued event must run inside the wait, not after it";
    EXPECT_GE(waited, 95);
    EXPECT_LT(handledAtMs, waited);

    // Nested waits (an event handler that itself waits) each last their own time.
    bool innerDone = false;
    QTimer::singleShot(0, [&] {
        WaitMs(30);
        innerDone = true;
    });
    WaitMs(60);
    EXPECT_TRUE(innerDone);

    // Worker threads wait too.
    std::thread worker([&] {
        QElapsedTimer t;
        t.start();
        WaitMs(40);
        waited = t.elapsed();
    });
    worker.join();
    EXPECT_GE(waited, 38);
}

}  // namespace
