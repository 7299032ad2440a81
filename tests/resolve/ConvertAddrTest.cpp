#include <gtest/gtest.h>

#include <array>

#include "ResolveTestHelpers.h"
#include "resolve/AddressConversion.h"
#include "resolve/LookupCache.h"

namespace {

struct ConvertForm : ResolveForm {
    ConvertForm() {
        F().ConvertIPInEffect = true;
        F().ConvertURLInEffect = true;
        F().CCacheFailures.Value = true;
        F().BQuit.Caption = "&Exit";
        F().WanAddress = "24.1.1.1";
        resolver->Name("10.0.0.1", "Host.One");
        resolver->Name("10.0.0.3", "three.example");
        resolver->Name("24.1.1.1", "wan.example");
        resolver->Name("192.168.1.5", "Desk");
        resolver->Address("name.example", "10.9.9.9");
    }
    // Fills column `column` of a list with the given cells, one per record row.
    void Fill(RecordGrid& list, int cols, int column, const std::vector<std::string>& cells) {
        list.SetCols(cols);
        list.SetRows(static_cast<int>(cells.size()) + 1);
        for (size_t i = 0; i < cells.size(); ++i)
            list.SetTextMatrix(static_cast<int>(i) + 1, column, cells[i]);
    }
    std::string CacheFile() { return ReadFileBytes(dir.file("IPcache.txt")); }
};

}  // namespace

TEST(ConvertAddr, StandardListGetsNamesInParentheses) {
    ConvertForm t;
    RecordGrid& in = t.F().InLog;
    t.Fill(in, 5, 2, {"10.0.0.1", "", "10.0.0.2", "name.example", "10.0.0.1"});
    t.F().OutLog.SetRows(1);
    ConvertAddr(t.F(), t.F().OutLog, 3);  // a list of no records: nothing to do
    std::vector<std::string> captions;
    t.frontend.onDoEvents = [&] { captions.push_back(t.F().LNoLogs.Caption); };
    bool busyWhileLookingUp = true;
    t.resolver->onLookup = [&](const std::string&) {
        busyWhileLookingUp &= t.F().Busy && t.F().BQuit.Caption == "Cancel" && t.F().LNoLogs.Visible &&
                              t.frontend.pointer == MousePointer::Hourglass;
    };

    ConvertAddr(t.F(), in, 2);

    EXPECT_EQ(in.TextMatrix(1, 2), "10.0.0.1(host.one)");
    EXPECT_EQ(in.TextMatrix(2, 2), "");
    EXPECT_EQ(in.TextMatrix(3, 2), "10.0.0.2");
    EXPECT_EQ(in.TextMatrix(4, 2), "name.example(10.9.9.9)");
    // The repeated address is answered from the recent lookups.
    EXPECT_EQ(in.TextMatrix(5, 2), "10.0.0.1(host.one)");
    EXPECT_EQ(t.resolver->Calls("10.0.0.1"), 1);
    EXPECT_EQ(t.resolver->TotalCalls(), 3);
    EXPECT_TRUE(busyWhileLookingUp);
    EXPECT_EQ(t.CacheFile(), "10.0.0.2\r\n");
    EXPECT_EQ(CacheLookup(t.F(), "host.one"), "10.0.0.1");
    EXPECT_EQ(CacheLookup(t.F(), "10.0.0.2"), NotFound);

    EXPECT_NE(std::find(captions.begin(), captions.end(),
                        "Converting IP-URL's  4 / 4  (to stop: click 'Cancel' once, then wait)"),
              captions.end());
    EXPECT_FALSE(t.F().LNoLogs.Visible);
    EXPECT_FALSE(t.F().TProgress.Visible);
    EXPECT_EQ(t.F().BQuit.Caption, "&Exit");
    EXPECT_FALSE(t.F().Busy);
    EXPECT_EQ(t.frontend.pointer, MousePointer::Default);
    EXPECT_TRUE(t.frontend.messages.empty());
}

// With "Cache failures" on, the listed failures are not asked again (a listed 10.1.2.34 also covers
// 10.1.2.3); with it off the file is neither read nor written. Nothing new failed either way, so
// the file stays as it was. A caller that was busy before still is.
TEST(ConvertAddr, CachedFailuresAreNotLookedUpAgain) {
    for (const bool cacheOn : {true, false}) {
        ConvertForm t;
        t.F().CCacheFailures.Value = cacheOn;
        t.F().Busy = true;
        const std::string listed = "10.1.2.34\r\nname.example\r\n";
        WriteFileBytes(t.dir.file("IPcache.txt"), listed);
        t.Fill(t.F().InLog, 5, 2, {"10.1.2.3", "name.example", "10.0.0.1"});
        ConvertAddr(t.F(), t.F().InLog, 2);
        EXPECT_EQ(t.resolver->Calls("10.1.2.3"), cacheOn ? 0 : 1);
        EXPECT_EQ(t.resolver->Calls("name.example"), cacheOn ? 0 : 1);
        EXPECT_EQ(t.F().InLog.TextMatrix(3, 2), "10.0.0.1(host.one)");
        EXPECT_EQ(t.CacheFile(), listed);
        EXPECT_TRUE(t.F().Busy);
    }
}

TEST(ConvertAddr, LongCacheIsNotRewrittenWhenNothingFailed) {
    ConvertForm t;
    std::string big;
    while (big.size() < 90000) big += "172.16.0.1\r\n";
    WriteFileBytes(t.dir.file("IPcache.txt"), big);
    t.Fill(t.F().InLog, 5, 2, {"10.0.0.1"});
    ConvertAddr(t.F(), t.F().InLog, 2);
    EXPECT_EQ(t.CacheFile().size(), big.size());

    // A failure makes it rewritten, trimmed to the newest entries.
    t.Fill(t.F().InLog, 5, 2, {"10.0.0.77"});
    ConvertAddr(t.F(), t.F().InLog, 2);
    const std::string after = t.CacheFile();
    EXPECT_LE(after.size(), 80000u);
    EXPECT_EQ(after.substr(after.size() - 11), "10.0.0.77\r\n");
    EXPECT_EQ(after.substr(0, 12), "172.16.0.1\r\n");
}

TEST(ConvertAddr, DirectionSwitchedOffIsNotRecordedAsAFailure) {
    ConvertForm t;
    t.F().ConvertIPInEffect = false;
    t.Fill(t.F().InLog, 5, 2, {"10.0.0.1", "name.example"});
    ConvertAddr(t.F(), t.F().InLog, 2);
    EXPECT_EQ(t.F().InLog.TextMatrix(1, 2), "10.0.0.1");
    EXPECT_EQ(t.F().InLog.TextMatrix(2, 2), "name.example(10.9.9.9)");
    EXPECT_EQ(t.resolver->Calls("10.0.0.1"), 0);
    // Turning the direction on later still finds the name.
    EXPECT_FALSE(FileExists(t.dir.file("IPcache.txt")));
    EXPECT_EQ(CacheLookup(t.F(), "10.0.0.1"), "");

    t.F().ConvertURLInEffect = false;
    t.Fill(t.F().InLog, 5, 2, {"name.other"});
    ConvertAddr(t.F(), t.F().InLog, 2);
    EXPECT_EQ(t.resolver->TotalCalls(), 1);
}

TEST(ConvertAddr, CancelStopsAfterCurrentLookupAndStillSavesCache) {
    ConvertForm t;
    t.Fill(t.F().InLog, 5, 2, {"10.0.0.1", "10.0.0.2", "10.0.0.3"});
    t.resolver->onLookup = [&](const std::string& key) {
        if (key == "10.0.0.2") t.F().QuitRequested = true;
    };
    ConvertAddr(t.F(), t.F().InLog, 2);
    EXPECT_EQ(t.F().InLog.TextMatrix(1, 2), "10.0.0.1(host.one)");
    EXPECT_EQ(t.F().InLog.TextMatrix(3, 2), "10.0.0.3");
    EXPECT_EQ(t.resolver->Calls("10.0.0.3"), 0);
    EXPECT_EQ(t.CacheFile(), "10.0.0.2\r\n");
    EXPECT_FALSE(t.F().QuitRequested);
    EXPECT_EQ(t.F().BQuit.Caption, "&Exit");
}

TEST(ConvertAddr, SysLogColumnsFillTheirPartners) {
    ConvertForm t;
    // Dir, remote address, remote name and local address, in System Log columns 2, 4, 5 and 7.
    const std::vector<std::array<std::string, 4>> rows = {{"I", "10.0.0.1", "", "192.168.1.5"},
                                                          {"I", "10.0.0.3", "known.example", "24.1.1.1"},
                                                          {"O", "", "name.example", "192.168.1.5"},
                                                          {"I", "10.0.0.2", "", ""}};
    RecordGrid& sys = t.F().SysLog;
    sys.SetCols(12);
    sys.SetRows(static_cast<int>(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < 4; ++c)
            sys.SetTextMatrix(static_cast<int>(r) + 1, std::array{2, 4, 5, 7}[c], rows[r][c]);
    }
    ConvertAddr(t.F(), sys, 4);
    EXPECT_EQ(sys.TextMatrix(1, 5), "host.one");
    EXPECT_EQ(sys.TextMatrix(2, 5), "known.example");
    EXPECT_EQ(t.resolver->Calls("10.0.0.3"), 0);
    EXPECT_EQ(sys.TextMatrix(4, 5), "");

    ConvertAddr(t.F(), sys, 7);
    EXPECT_EQ(sys.TextMatrix(1, 7), "192.168.1.5(desk)");
    EXPECT_EQ(sys.TextMatrix(3, 7), "192.168.1.5(desk)");
    // The router's own WAN address is neither looked up nor annotated.
    EXPECT_EQ(sys.TextMatrix(2, 7), "24.1.1.1");
    EXPECT_EQ(t.resolver->Calls("24.1.1.1"), 0);
    EXPECT_EQ(t.resolver->Calls("192.168.1.5"), 1);

    ConvertAddr(t.F(), sys, 5);
    EXPECT_EQ(sys.TextMatrix(3, 4), "10.9.9.9");
    EXPECT_EQ(t.resolver->Calls("known.example"), 0);
    EXPECT_EQ(t.CacheFile(), "10.0.0.2\r\n");
}

TEST(IpUrlLookup, LooksUpTheTextBeforeTheParenthesisAndPlacesTheAnswer) {
    ConvertForm t;
    RecordGrid& out = t.F().OutLog;
    out.SetCols(5);
    out.SetRows(4);
    out.Left = 300;
    out.Top = 1000;
    for (int c = 0; c < 5; ++c) out.SetColWidth(c, 1000);
    out.SetTextMatrix(2, 3, "10.0.0.1(host.one)");
    out.SetRow(2);
    IpUrlLookup(t.F(), out, 3);
    EXPECT_EQ(t.F().LLookup.Text, "10.0.0.1  ==>  host.one");
    EXPECT_TRUE(t.F().LLookup.Visible);
    EXPECT_EQ(t.F().LLookup.Left, 300 + 3 * 1000);
    EXPECT_EQ(t.F().LLookup.Top, 1000 + 2 * RecordGrid::DefaultRowHeight);
    EXPECT_EQ(t.resolver->Calls("10.0.0.1"), 1);

    // The name found answers the reverse question without a new lookup.
    out.SetTextMatrix(2, 3, "host.one");
    IpUrlLookup(t.F(), out, 3);
    EXPECT_EQ(t.F().LLookup.Text, "host.one  ==>  10.0.0.1");
    EXPECT_EQ(t.resolver->TotalCalls(), 1);

    out.SetTextMatrix(2, 3, "10.0.0.99");
    IpUrlLookup(t.F(), out, 3);
    EXPECT_EQ(t.F().LLookup.Text, "Lookup did not find 10.0.0.99");
    EXPECT_EQ(t.frontend.pointer, MousePointer::Default);
}
