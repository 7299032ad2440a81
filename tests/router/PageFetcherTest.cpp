#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include "RouterTestForm.h"
#include "router/FetchTrace.h"
#include "router/PageFetcher.h"
#include "router/PageSource.h"
#include "support/RouterSim.h"

namespace {

const std::string kRecords = "[incoming]\n198.51.100.7|80\n[outgoing]\n192.168.1.100|203.0.113.40|http\n";

qint64 TimedFetch(MainForm& F, const std::string& url, std::string& page) {
    QElapsedTimer timer;
    timer.start();
    page = FetchPage(F, url);
    return timer.elapsed();
}

std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const QString& n : QDir(QString::fromStdString(dir)).entryList(QDir::Files, QDir::Name))
        names.push_back(n.toStdString());
    return names;
}

}  // namespace

// A refused logon brings the router's refusal page after one try, in each mode.
TEST(PageFetcher, LogsOnInEveryCredentialModeEvenWithAwkwardPasswords) {
    const std::string password = "p@ss:w/rd?\xE9";
    // The simulator takes its arguments as UTF-8.
    RouterSim sim({"--password", "p@ss:w/rd?\xC3\xA9", "--verbose"}, kRecords);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    for (int mode = 0; mode <= 3; ++mode) {
        RouterTestForm t;
        t.F().PW.Text = password;
        t.F().AltAuth = mode;
        const std::string page = FetchPage(t.F(), sim.Url("/inLogTable.htm"));
        EXPECT_NE(page.find("<td>198.51.100.7</td><td>80</td>"), std::string::npos) << "mode " << mode;
        EXPECT_EQ(page.find("401 Authorization Required"), std::string::npos) << "mode " << mode;
        t.F().PW.Text = "wrong";
        EXPECT_NE(FetchPage(t.F(), sim.Url("/inLogTable.htm")).find("401 Authorization Required"),
                  std::string::npos)
            << "mode " << mode;
    }
    EXPECT_EQ(Count(sim.Output(), "GET /inLogTable.htm 401"), 4);
}

// An empty user name logs on as "admin", which the field shows from the first fetch on; the fetch
// itself takes its options as they stood when it started and writes none back.
TEST(PageFetcher, AnEmptyUserNameLogsOnAsAdmin) {
    RouterSim sim({}, kRecords);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    MainForm& F = t.F();
    F.UserID.Text.clear();
    const FetchOptions options = FetchOptionsOf(F);
    EXPECT_EQ(options.user, "admin");
    EXPECT_NE(GetHtml(F, sim.Url("/"), options).find("firewall"), std::string::npos);
    EXPECT_EQ(F.UserID.Text, "");
    EXPECT_NE(FetchPage(F, sim.Url("/")).find("firewall"), std::string::npos);
    EXPECT_EQ(F.UserID.Text, "admin");
}

// A silent router: each try but the last ends by the request's own time-out just after the wait,
// then one pause; the last is given up after the wait. Empty answers are tried again likewise.
TEST(PageFetcher, UnansweredOrEmptyTriesAreRepeatedWithOnePauseBetweenThem) {
    struct Case {
        std::vector<std::string> options;
        std::string tries;
        qint64 leastMs, mostMs;
        bool timesOut;
    };
    const std::vector<Case> cases = {{{"--delay", "600000"}, "1", 1000, 1900, true},
                                     {{"--delay", "600000"}, "2", 3000, 4500, true},
                                     {{"--empty"}, "2", 1000, 1900, false}};
    for (const Case& c : cases) {
        const std::string what = c.options[0] + ", " + c.tries + " tries";
        RouterSim sim(c.options, kRecords);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        t.F().RouterRetry.Text = c.tries;
        t.F().TraceOn = true;
        std::string page = "unchanged";
        const qint64 ms = TimedFetch(t.F(), sim.Url("/"), page);
        EXPECT_EQ(page, "") << what;
        EXPECT_GE(ms, c.leastMs) << what;
        EXPECT_LT(ms, c.mostMs) << what;
        const std::string trace = ReadFileBytes(t.F().TracePath);
        const int pauses = c.tries == "2" ? 1 : 0;
        EXPECT_EQ(Count(trace, " Page request timed out\r\n") > 0, c.timesOut) << what;
        EXPECT_EQ(Count(trace, " try 1\r\n"), 1) << what;
        EXPECT_EQ(Count(trace, " try 2\r\n"), pauses) << what;
        EXPECT_EQ(Count(trace, " waiting before retrying\r\n"), pauses) << what;
        EXPECT_EQ(Count(trace, "Html file"), 0) << what;
        // Why nothing came, for the message that names it.
        EXPECT_EQ(t.F().router.LastFetchFailure,
                  c.timesOut ? "no answer within 1 second" : "the Router sent an empty page")
            << what;
    }
}

TEST(PageFetcher, EmptyFirstAnswerIsRetriedAndTheSecondTryDelivers) {
    RouterSim sim({"--fail-first", "1"}, kRecords);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    EXPECT_NE(FetchPage(t.F(), sim.Url("/outLogTable.htm")).find("Service/Port Number"), std::string::npos);
}

TEST(PageFetcher, NoRouterAtTheAddressGivesAnEmptyPage) {
    int closedPort = 0;
    {
        RouterSim sim;
        ASSERT_TRUE(sim.Started()) << sim.Error();
        closedPort = sim.Port();
    }
    RouterTestForm t;
    t.F().RouterRetry.Text = "1";
    EXPECT_EQ(FetchPage(t.F(), "http://127.0.0.1:" + std::to_string(closedPort) + "/"), "");
    EXPECT_EQ(t.F().router.LastFetchFailure, "connection refused");
    EXPECT_EQ(FetchPage(t.F(), "ftp://127.0.0.1/"), "");
    EXPECT_EQ(FetchPage(t.F(), ""), "");
}

// A router that sends more than a page and never closes: the cap, not the time-out, ends the fetch.
TEST(PageFetcher, OversizedPageOnAConnectionHeldOpenIsReturnedAtTheCap) {
    RouterSim sim({"--oversize", "--hold-open"}, kRecords);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    t.F().RouterRetry.Text = "1";
    t.F().TraceOn = true;
    const std::string page = FetchPage(t.F(), sim.Url("/inLogTable.htm"));
    EXPECT_EQ(page.size(), 1048576u);
    EXPECT_NE(page.find("<td>198.51.100.7</td>"), std::string::npos);
    EXPECT_EQ(Count(ReadFileBytes(t.F().TracePath), "timed out"), 0);
}

TEST(PageFetcher, StopRequestsEndTheWait) {
    RouterSim sim({"--delay", "600000"}, kRecords);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    std::string page;
    {
        // Quit is honoured when the wait of a try runs out: no further tries, no pause.
        RouterTestForm t;
        t.F().RouterRetry.Text = "3";
        t.F().QuitRequested = true;
        const qint64 ms = TimedFetch(t.F(), sim.Url("/"), page);
        EXPECT_EQ(page, "");
        EXPECT_LT(ms, 1900);
    }
    // A closing window stops the fetch at once; so does cancelling the transfers. Nothing is left running.
    for (const bool cancel : {false, true}) {
        RouterTestForm t;
        MainForm& F = t.F();
        F.RouterWait.Text = "5";
        QTimer::singleShot(200, [&F, cancel] {
            if (cancel) CancelTransfers(F);
            F.UnloadRequested = !cancel;
        });
        const qint64 ms = TimedFetch(F, sim.Url("/"), page);
        EXPECT_EQ(page, "") << cancel;
        EXPECT_LT(ms, 1500) << cancel;
        EXPECT_TRUE(F.router.ActiveReplies.empty()) << cancel;
        EXPECT_EQ(F.router.ActiveFetches, 0) << cancel;
    }
}

TEST(PageFetcher, TraceRecordsEachFetchAndKeepsNumberedPageCopies) {
    RouterSim sim({"--password", "s3cret"}, "[syslog]\n2026-12-06 08:00:01 @sys System started\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    MainForm& F = t.F();
    F.TraceOn = true;
    F.PW.Text = "s3cret";
    F.AltAuth = 1;
    const std::string root = FetchPage(F, sim.Url("/"));
    FetchPage(F, sim.Url("/Group.cgi?LogType=0&LogClear=0"));
    const std::string log = FetchPage(F, sim.Url("/SysLogTable.htm"));
    ASSERT_FALSE(root.empty());
    ASSERT_NE(log.find("System started"), std::string::npos);

    const std::string host = "http;''127.0.0.1;" + std::to_string(sim.Port());
    const std::string rootCopy = "DXimage-001-" + host + "'.html";
    const std::string selectCopy = "DXimage-002-" + host + "'Group.cgi!LogType=0&LogClear=0.html";
    const std::string logCopy = "DXimage-003-" + host + "'SysLogTable.htm";
    const std::vector<std::string> expectedFiles = {rootCopy, selectCopy, logCopy, "Drovix_Trace.Log"};
    EXPECT_EQ(FolderEntries(F.ProgramDir), expectedFiles);
    EXPECT_EQ(ReadFileBytes(F.ProgramDir + rootCopy), root);
    EXPECT_EQ(ReadFileBytes(F.ProgramDir + logCopy), log);

    const std::string trace = ReadFileBytes(F.TracePath);
    const std::string time = TraceTime(F.clock.Now());
    const std::string firstFetch = "\r\n" + time + " " + sim.Url("/") + "\r\n" + time +
                                   " try 1\r\nHtml file = " + F.ProgramDir + rootCopy + "\r\n" + time + " " +
                                   root.substr(0, 200) + "\r\n";
    EXPECT_EQ(trace.substr(0, firstFetch.size()), firstFetch);
    EXPECT_EQ(Count(trace, "Html file = "), 3);
    EXPECT_EQ(trace.find("s3cret"), std::string::npos);
}
