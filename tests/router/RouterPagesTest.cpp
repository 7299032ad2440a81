#include <gtest/gtest.h>

#include "RouterTestForm.h"
#include "router/PageFetcher.h"
#include "router/RouterPages.h"
#include "router/WanMonitor.h"
#include "support/RouterSim.h"

namespace {

const std::string kTwoLines =
    "[syslog]\n2026-12-06 08:00:01 @sys System started\n"
    "2026-12-06 08:14:22 TCP from 198.51.100.23:4123 to 192.168.1.100:80\n";

}  // namespace

TEST(RouterPages, AddressesFollowTheRouterAddressAndLayout) {
    RouterTestForm t;
    MainForm& F = t.F();
    RouterState& R = F.router;
    F.IPAddr.Text = "10.0.0.1";
    CreateURLs(F);
    EXPECT_EQ(R.ProbeURL, "http://10.0.0.1");
    EXPECT_EQ(R.InLogURL, "http://10.0.0.1/inLogTable.htm");
    EXPECT_EQ(R.OutLogURL, "http://10.0.0.1/outLogTable.htm");
    EXPECT_EQ(R.StatusURL, "http://10.0.0.1/Status.htm");
    EXPECT_EQ(R.SysLogSelectURL, "http://10.0.0.1/Group.cgi?LogType=0&LogClear=0");
    EXPECT_EQ(R.SysLogPageURL, "http://10.0.0.1/SysLogTable.htm");

    R.NoFirewallWord = true;
    CreateURLs(F);
    EXPECT_EQ(R.StatusURL, "http://10.0.0.1/Status.htm");
    EXPECT_EQ(R.SysLogSelectURL, "http://10.0.0.1/Group.cgi?LogType=0&LogClear=0");
    EXPECT_EQ(R.SysLogPageURL, "http://10.0.0.1/VPNLog.htm");

    // The newer family wins over the missing firewall word.
    R.NewFamily = true;
    F.IPAddr.Text = "192.168.1.1";
    CreateURLs(F);
    EXPECT_EQ(R.InLogURL, "http://192.168.1.1/inLogTable.htm");
    EXPECT_EQ(R.StatusURL, "http://192.168.1.1/RouterStatus.htm");
    EXPECT_EQ(
        R.SysLogSelectURL,
        "http://192.168.1.1/Gozila.cgi?SysLog.htm=0&hid_returnPoint=hid_sysLogPageNum&hid_sysLogPageNum=0"
        "&hid_sysLogClear=0&sel_sysLogType=0");
    EXPECT_EQ(R.SysLogPageURL, "http://192.168.1.1/SysLog.htm");
}

TEST(RouterPages, ProbeRecognisesEachLayoutAndItsSystemLogAnswers) {
    struct Case {
        std::string layout;
        bool newFamily, noFirewallWord;
        std::string pagePath, marker;
    };
    const std::vector<Case> cases = {{"firewall", false, false, "/SysLogTable.htm", "('SysLogTable.htm'"},
                                     {"wag54g", true, false, "/SysLog.htm", "('SysLog.htm'"},
                                     {"befsx41", true, false, "/SysLog.htm", "('SysLog.htm'"},
                                     {"plain", false, true, "/VPNLog.htm", "location.replace('VPNLog.htm')"}};
    for (const Case& c : cases) {
        RouterSim sim({"--layout", c.layout}, kTwoLines);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        MainForm& F = t.F();
        F.IPAddr.Text = sim.Address();
        CreateURLs(F);
        CheckWAG54G(F);
        EXPECT_EQ(F.router.NewFamily, c.newFamily) << c.layout;
        EXPECT_EQ(F.router.NoFirewallWord, c.noFirewallWord) << c.layout;
        EXPECT_EQ(F.router.SysLogPageURL, sim.Url(c.pagePath)) << c.layout;

        // The address pair of a refresh: the select answers, the page holds the log.
        EXPECT_FALSE(GetHtml(F, F.router.SysLogSelectURL).empty()) << c.layout;
        const std::string page = GetHtml(F, F.router.SysLogPageURL);
        EXPECT_NE(page.find(c.marker), std::string::npos) << c.layout;
        EXPECT_NE(page.find("TCP from 198.51.100.23:4123 to 192.168.1.100:80\n<br>"), std::string::npos)
            << c.layout;
        EXPECT_EQ(page.find("Error 404 Not Found"), std::string::npos) << c.layout;
        EXPECT_NE(GetHtml(F, F.router.StatusURL).find("Current Time:"), std::string::npos) << c.layout;
    }
}

TEST(RouterPages, ProbeChangesTheCredentialModeOnlyForTheNewerFamily) {
    for (const std::string layout : {"wag54g", "firewall", "plain"}) {
        RouterSim sim({"--layout", layout});
        ASSERT_TRUE(sim.Started()) << sim.Error();
        for (int mode = 0; mode <= 3; ++mode) {
            RouterTestForm t;
            MainForm& F = t.F();
            F.IPAddr.Text = sim.Address();
            F.AltAuth = mode;
            CreateURLs(F);
            CheckWAG54G(F);
            const int expected = layout == "wag54g" && mode == 0 ? 1 : mode;
            EXPECT_EQ(F.AltAuth, expected) << layout << " mode " << mode;
            // The probe itself carried the logon inside the address.
            if (mode != 2) {
                EXPECT_FALSE(F.router.CredentialURL.empty()) << layout << " mode " << mode;
            }
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

TEST(RouterPages, UnreachableRouterSelectsTheVpnLogForTheRun) {
    RouterSim sim({"--empty"});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    MainForm& F = t.F();
    F.RouterRetry.Text = "1";
    F.IPAddr.Text = sim.Address();
    CreateURLs(F);
    CheckWAG54G(F);
    EXPECT_TRUE(F.router.NoFirewallWord);
    EXPECT_FALSE(F.router.NewFamily);
    EXPECT_EQ(F.router.SysLogPageURL, sim.Url("/VPNLog.htm"));
    EXPECT_EQ(F.AltAuth, 0);
}

TEST(RouterPages, RouterWithoutSystemLogAnswersNotFound) {
    RouterSim sim({"--no-syslog"}, kTwoLines);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    MainForm& F = t.F();
    F.IPAddr.Text = sim.Address();
    CreateURLs(F);
    CheckWAG54G(F);
    EXPECT_NE(GetHtml(F, F.router.SysLogSelectURL).find("Error 404 Not Found"), std::string::npos);
    EXPECT_NE(GetHtml(F, F.router.SysLogPageURL).find("Error 404 Not Found"), std::string::npos);
    EXPECT_NE(GetHtml(F, F.router.InLogURL).find("Destination Port Number"), std::string::npos);
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
