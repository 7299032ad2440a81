#include <gtest/gtest.h>

#include "RouterTestForm.h"
#include "router/PageFetcher.h"
#include "router/RouterPages.h"
#include "router/WanMonitor.h"
#include "support/RouterSim.h"

// The page addresses of each layout are followed by the refresh tests, request by request; left
// here is a newer-family router found where an earlier probe saw no firewall word.
TEST(RouterPages, NewerFamilyWinsOverAMissingFirewallWord) {
    RouterTestForm t;
    MainForm& F = t.F();
    F.IPAddr.Text = "192.168.1.1";
    F.router.NoFirewallWord = true;
    F.router.NewFamily = true;
    CreateURLs(F);
    EXPECT_EQ(F.router.StatusURL, "http://192.168.1.1/RouterStatus.htm");
    EXPECT_EQ(F.router.SysLogPageURL, "http://192.168.1.1/SysLog.htm");
}

// The probe tells the layouts apart; it carries the logon inside the address, and only the newer
// family keeps that mode afterwards. A router that answers nothing counts as the one-page kind.
TEST(RouterPages, ProbeRecognisesEachLayoutAndSetsTheCredentialMode) {
    struct Case {
        std::vector<std::string> options;
        bool newFamily, noFirewallWord;
        std::string pagePath;
    };
    const std::vector<Case> cases = {{{"--layout", "firewall"}, false, false, "/SysLogTable.htm"},
                                     {{"--layout", "wag54g"}, true, false, "/SysLog.htm"},
                                     {{"--layout", "befsx41"}, true, false, "/SysLog.htm"},
                                     {{"--layout", "plain"}, false, true, "/VPNLog.htm"},
                                     {{"--empty"}, false, true, "/VPNLog.htm"}};
    for (const Case& c : cases) {
        RouterSim sim(c.options);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        for (int mode = 0; mode <= 3; ++mode) {
            const std::string what = c.options.back() + " mode " + std::to_string(mode);
            RouterTestForm t;
            MainForm& F = t.F();
            F.RouterRetry.Text = "1";
            F.IPAddr.Text = sim.Address();
            F.AltAuth = mode;
            CreateURLs(F);
            CheckWAG54G(F);
            EXPECT_EQ(F.router.NewFamily, c.newFamily) << what;
            EXPECT_EQ(F.router.NoFirewallWord, c.noFirewallWord) << what;
            EXPECT_EQ(F.router.SysLogPageURL, sim.Url(c.pagePath)) << what;
            EXPECT_EQ(F.AltAuth, c.newFamily && mode == 0 ? 1 : mode) << what;
        }
    }
}

TEST(RouterPages, NewerFamilyIsProbedOnceAndTheStandardLayoutAtEveryRefresh) {
    for (const std::string layout : {"befsx41", "firewall"}) {
        RouterSim sim({"--layout", layout, "--verbose"});
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        MainForm& F = t.F();
        F.IPAddr.Text = sim.Address();
        CreateURLs(F);
        for (int refresh = 0; refresh < 3; ++refresh) {
            if (!F.router.NewFamily) CheckWAG54G(F);  // as every refresh does
        }
        EXPECT_EQ(Count(sim.Output(), "GET / 200"), layout == "firewall" ? 3 : 1) << layout;
    }
}

// A scripted page source stands in for the router: the layout probe and the WAN check read it.
TEST(RouterPages, ProceduresReadThroughThePageSource) {
    RouterTestForm t;
    MainForm& F = t.F();
    F.IPAddr.Text = "10.0.0.1";
    CreateURLs(F);
    std::vector<std::string> asked;
    F.router.Pages = [&](const std::string& url) -> std::string {
        asked.push_back(url);
        if (url == "http://10.0.0.1") return "<title>WAG54G</title> wag54g";
        return "Internet IP Address: <B>203.0.113.5</B>";
    };
    CheckWAG54G(F);
    EXPECT_TRUE(F.router.NewFamily);
    EXPECT_EQ(GetWan(F), "203.0.113.5");
    EXPECT_EQ(asked, (std::vector<std::string>{"http://10.0.0.1", "http://10.0.0.1/RouterStatus.htm"}));
}
