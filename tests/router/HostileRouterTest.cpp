#include <gtest/gtest.h>

#include "RouterTestForm.h"
#include "router/PageFetcher.h"
#include "support/RouterSim.h"

namespace {

constexpr std::size_t kCap = 1048576;

std::string FetchFrom(RouterSim& sim, RouterTestForm& t) {
    t.F().RouterRetry.Text = "1";
    t.F().TraceOn = true;
    return GetHtml(t.F(), sim.Url("/inLogTable.htm"));
}

}  // namespace

TEST(HostileRouter, BodiesWithoutEndOrFarOverTheCapAreCutAtTheCap) {
    for (const char* mode : {"endless", "huge"}) {
        RouterSim sim({"--hostile", mode}, "[incoming]\n198.51.100.7|80\n");
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        const std::string page = FetchFrom(sim, t);
        EXPECT_EQ(page.size(), kCap) << mode;
        EXPECT_NE(page.find("<td>198.51.100.7</td>"), std::string::npos) << mode;
        EXPECT_TRUE(t.F().router.ActiveReplies.empty());
    }
}

TEST(HostileRouter, BrokenAnswersGiveAnEmptyPageAfterTheTries) {
    for (const char* mode : {"garbage-status", "stall"}) {
        RouterSim sim({"--hostile", mode}, "[incoming]\n198.51.100.7|80\n");
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        t.F().RouterRetry.Text = "2";
        // Half a table is not a table: a stalled transfer that times out counts as no answer.
        EXPECT_EQ(GetHtml(t.F(), sim.Url("/inLogTable.htm")), "") << mode;
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
