#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QElapsedTimer>

#include "RouterTestForm.h"
#include "router/PageSource.h"
#include "support/RouterSim.h"

namespace {

constexpr std::size_t kCap = 1048576;

long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// What the simulator reports of each connection the client closed: the bytes it had sent.
std::vector<long long> ClosedAfterBytes(const std::string& output) {
    std::vector<long long> sent;
    const std::string label = "closed after ";
    for (auto at = output.find(label); at != std::string::npos; at = output.find(label, at + 1))
        sent.push_back(std::stoll(output.substr(at + label.size())));
    return sent;
}

std::string FetchFrom(RouterSim& sim, RouterTestForm& t) {
    t.F().RouterRetry.Text = "1";
    t.F().TraceOn = true;
    return FetchPage(t.F(), sim.Url("/inLogTable.htm"));
}

}  // namespace

// More capped pages than the network layer keeps connections to one router: each fetch must drop
// its connection, or the later ones find none free and time out.
TEST(HostileRouter, BodiesWithoutEndOrFarOverTheCapAreCutAtTheCapAndTheirConnectionsDropped) {
    constexpr int kFetches = 8;
    for (const char* mode : {"endless", "huge"}) {
        RouterSim sim({"--hostile", mode, "--verbose"}, "[incoming]\n198.51.100.7|80\n");
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        const long peakBefore = PeakKiB();
        for (int i = 0; i < kFetches; ++i) {
            const std::string page = FetchFrom(sim, t);
            ASSERT_EQ(page.size(), kCap) << mode << " fetch " << i;
            EXPECT_NE(page.find("<td>198.51.100.7</td>"), std::string::npos) << mode;
        }
        EXPECT_TRUE(t.F().router.ActiveReplies.empty());
        // The 256 MiB body is never read whole, neither into memory nor off the connection (the
        // bound leaves room for the freed pages a sanitizer holds back).
        EXPECT_LT(PeakKiB() - peakBefore, 160 * 1024) << mode;
        std::vector<long long> closedAfter;
        QElapsedTimer waited;
        waited.start();
        while (closedAfter.size() < kFetches && waited.elapsed() < 5000)
            closedAfter = ClosedAfterBytes(sim.Output());
        ASSERT_EQ(closedAfter.size(), static_cast<size_t>(kFetches)) << mode << ": " << sim.Output();
        for (const long long sent : closedAfter) EXPECT_LT(sent, 64LL << 20) << mode;
    }
}

TEST(HostileRouter, BrokenAnswersGiveAnEmptyPageAfterTheTries) {
    for (const char* mode : {"garbage-status", "stall"}) {
        RouterSim sim({"--hostile", mode}, "[incoming]\n198.51.100.7|80\n");
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        t.F().RouterRetry.Text = "2";
        // Half a table is not a table: a stalled transfer that times out counts as no answer.
        EXPECT_EQ(FetchPage(t.F(), sim.Url("/inLogTable.htm")), "") << mode;
    }
}

TEST(HostileRouter, OddButCompleteAnswersAreReturnedAsTheyCame) {
    {
        RouterSim sim({"--hostile", "redirect", "--verbose"});
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        EXPECT_EQ(FetchFrom(sim, t), "<html>Moved</html>\r\n\r\n");
        EXPECT_EQ(sim.Output().find("/redirected"), std::string::npos) << "the redirect was followed";
    }
    {
        RouterSim sim({"--hostile", "binary"});
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        const std::string page = FetchFrom(sim, t);
        EXPECT_EQ(page.size(), 4096u);
        EXPECT_EQ(page[100], '\xA0');
        EXPECT_EQ(page[200], '\0');
    }
    {
        RouterSim sim({"--hostile", "garbage-headers"});
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        EXPECT_LE(FetchFrom(sim, t).size(), kCap);
    }
}
