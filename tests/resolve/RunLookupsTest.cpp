#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "ResolveTestHelpers.h"
#include "form/OsServices.h"
#include "resolve/LookupDispatcher.h"
#include "resolve/RunLookups.h"
#include "resolve/SysLogLookups.h"

using namespace std::chrono_literals;

namespace {

LookupTable Table(const std::vector<std::string>& addresses) {
    LookupTable table;
    for (const auto& a : addresses) table.push_back({a, ""});
    return table;
}

// Waits (letting events run) until the condition holds or a generous limit passes.
template <typename Condition>
bool WaitUntil(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 10000) return false;
        WaitMs(10);
    }
    return true;
}

struct DispatchForm : ResolveForm {
    DispatchForm() { F().resolve.LookupTimeLimit = 8000ms; }
    const FastLookUp& window() { return F().resolve.fastLookUp; }
    long Count(FastLookUp::Counter c) { return window().LStatus[c]; }
};

}  // namespace

// 0 asks for the default of 30 workers, more than 120 get 120; later calls keep the first count.
TEST(RunLookups, WorkerCountIsFixedAtTheFirstCall) {
    for (const auto& [asked, workers] : std::vector<std::pair<int, int>>{{0, 30}, {200, 120}}) {
        DispatchForm t;
        LookupTable table = Table({"10.0.0.1"});
        EXPECT_EQ(RunLookups(t.F(), table, asked, true, false, false), 0);
        EXPECT_EQ(RunLookups(t.F(), table, 5, true, false, false), 0);
        EXPECT_EQ(t.F().resolve.dispatcher->WorkerCount, workers);
        EXPECT_EQ(t.window().Indicators.size(), static_cast<size_t>(workers));
        EXPECT_EQ(t.F().resolve.dispatcher->FreeCount, workers);
    }
}

TEST(RunLookups, FindsNamesOnceAndCountsEveryKindOfEntry) {
    DispatchForm t;
    t.resolver->Name("10.0.0.1", "One.Example");
    t.resolver->Name("10.0.0.2", "two.example");
    t.resolver->DelayAll(20ms);
    LookupTable table = Table({"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.1", "10.0.0.3", "10.0.0.4"});
    table[5].name = "already.known";
    table[2].name = "10.0.0.3";  // a name equal to its address is unknown
    std::vector<bool> visible;
    t.frontend.onDoEvents = [&] { visible.push_back(t.window().Visible); };

    EXPECT_EQ(RunLookups(t.F(), table, 4, true, false, true, 600, 700), 0);

    EXPECT_EQ(table[0].name, "one.example");
    EXPECT_EQ(table[1].name, "two.example");
    EXPECT_EQ(table[2].name, "");
    EXPECT_EQ(table[3].name, "one.example");
    EXPECT_EQ(table[4].name, "");
    EXPECT_EQ(table[5].name, "already.known");
    EXPECT_EQ(t.resolver->Calls("10.0.0.1"), 1);
    EXPECT_EQ(t.resolver->Calls("10.0.0.3"), 1);
    EXPECT_EQ(t.resolver->Calls("10.0.0.4"), 0);
    EXPECT_EQ(t.Count(FastLookUp::Entries), 6);
    EXPECT_EQ(t.Count(FastLookUp::GivenOut), 3);
    EXPECT_EQ(t.Count(FastLookUp::Found), 3);
    EXPECT_EQ(t.Count(FastLookUp::Failed), 2);
    EXPECT_EQ(t.Count(FastLookUp::Skipped), 2);
    EXPECT_EQ(t.Count(FastLookUp::Busy), 0);
    EXPECT_EQ(std::count(t.window().Indicators.begin(), t.window().Indicators.end(), FastLookUp::Done), 3);
    EXPECT_FALSE(visible.empty());
    EXPECT_TRUE(visible.front());
    EXPECT_FALSE(t.window().Visible);
    EXPECT_EQ(t.window().Left, 600);
    EXPECT_EQ(t.window().Top, 700);
}

TEST(RunLookups, ManyAddressesOnFewWorkersAllGetTheirOwnName) {
    DispatchForm t;
    LookupTable table;
    for (int i = 0; i < 300; ++i) {
        const std::string address = "10.1." + std::to_string(i / 200) + "." + std::to_string(i % 200);
        t.resolver->Name(address, "Host" + std::to_string(i) + ".example");
        t.resolver->Delay(address, std::chrono::milliseconds(i % 7));
        table.push_back({address, ""});
    }
    EXPECT_EQ(RunLookups(t.F(), table, 8, true, false, false), 0);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(table[static_cast<size_t>(i)].name, "host" + std::to_string(i) + ".example");
    EXPECT_EQ(t.Count(FastLookUp::Found), 300);
    EXPECT_EQ(t.resolver->TotalCalls(), 300);
}

// Two lookups over the time limit are given up. One of them comes back while the run still waits
// for a free worker: its answer lands nowhere. The other's worker stays stuck into the next run,
// which must leave its slot alone and make do with the other worker.
TEST(RunLookups, SlowLookupIsAbandonedAndItsLateAnswerIgnored) {
    DispatchForm t;
    t.F().resolve.LookupTimeLimit = 150ms;
    for (const char* address : {"10.0.0.9", "10.0.0.8", "10.0.0.1", "10.0.0.2"})
        t.resolver->Name(address, std::string("host-") + address);
    t.resolver->Hold("10.0.0.9");
    t.resolver->Hold("10.0.0.8");
    bool released = false;
    t.frontend.onDoEvents = [&] {
        const auto& shown = t.window().Indicators;
        if (released || std::count(shown.begin(), shown.end(), FastLookUp::GivenUp) < 2) return;
        released = true;
        t.resolver->Release("10.0.0.8");
        for (const auto& slot : t.F().resolve.dispatcher->LookupSlots) {
            if (slot->givenAddress != "10.0.0.8") continue;
            EXPECT_TRUE(WaitUntil([&] { return slot->status.load() == LookupSlot::Finished; }));
        }
    };
    LookupTable table = Table({"10.0.0.9", "10.0.0.8", "10.0.0.1", "10.0.0.9"});
    EXPECT_EQ(RunLookups(t.F(), table, 2, true, false, true), 0);
    EXPECT_TRUE(released);
    EXPECT_EQ(table[0].name, "");
    EXPECT_EQ(table[1].name, "");
    EXPECT_EQ(table[2].name, "host-10.0.0.1");
    EXPECT_EQ(table[3].name, "");
    EXPECT_EQ(t.Count(FastLookUp::Found), 1);
    EXPECT_EQ(t.Count(FastLookUp::Failed), 3);  // the two abandoned lookups and the repeat
    EXPECT_EQ(t.Count(FastLookUp::Skipped), 1);
    EXPECT_EQ(t.resolver->Calls("10.0.0.9"), 1);

    t.frontend.onDoEvents = nullptr;
    LookupTable next = Table({"10.0.0.2", "10.0.0.1"});
    EXPECT_EQ(RunLookups(t.F(), next, 2, true, false, false), 0);
    EXPECT_EQ(next[0].name, "host-10.0.0.2");
    EXPECT_EQ(next[1].name, "host-10.0.0.1");
    EXPECT_EQ(t.F().resolve.dispatcher->FreeCount, 1);
    t.resolver->Release("10.0.0.9");
    EXPECT_TRUE(WaitUntil([&] { return t.resolver->Finished() == t.resolver->TotalCalls(); }));
}

TEST(RunLookups, CancelEndsTheRunAndLeavesRunningLookupsAlone) {
    DispatchForm t;
    for (int i = 1; i <= 6; ++i) {
        const std::string address = "10.0.0." + std::to_string(i);
        t.resolver->Name(address, "h" + std::to_string(i) + ".example");
        t.resolver->Hold(address);
    }
    LookupTable table = Table({"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5", "10.0.0.6"});
    int passes = 0;
    t.frontend.onDoEvents = [&] {
        if (++passes == 2) t.F().resolve.fastLookUp.BQuit_Click();
    };

    EXPECT_EQ(RunLookups(t.F(), table, 3, true, false, true), 1);
    EXPECT_FALSE(t.window().Visible);
    EXPECT_FALSE(t.window().CancelRequested);
    EXPECT_EQ(t.window().BQuit.Caption, "&Cancel");
    EXPECT_LT(t.Count(FastLookUp::GivenOut), 6);
    for (const auto& entry : table) EXPECT_EQ(entry.name, "");

    // Once the old lookups come back, their slots serve the next run and their answers are dropped.
    // That run waits for its slow last lookup with the button disabled: a click then is ignored.
    for (int i = 1; i <= 6; ++i) t.resolver->Release("10.0.0." + std::to_string(i));
    ASSERT_TRUE(WaitUntil([&] { return t.resolver->Finished() == t.resolver->TotalCalls(); }));
    t.resolver->Delay("10.0.0.4", 300ms);
    std::vector<std::string> captions;
    t.frontend.onDoEvents = [&] {
        if (t.window().BQuit.Enabled) return;
        captions.push_back(t.window().BQuit.Caption);
        t.F().resolve.fastLookUp.BQuit_Click();
    };
    LookupTable next = Table({"10.0.0.5", "10.0.0.6", "10.0.0.4"});
    EXPECT_EQ(RunLookups(t.F(), next, 3, true, false, false), 0);
    EXPECT_EQ(next[0].name, "h5.example");
    EXPECT_EQ(next[1].name, "h6.example");
    EXPECT_EQ(next[2].name, "h4.example");
    EXPECT_EQ(t.Count(FastLookUp::Found), 3);
    EXPECT_EQ(t.F().resolve.dispatcher->FreeCount, 3);
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.back(), "Waiting");
    EXPECT_TRUE(t.window().BQuit.Enabled);
    EXPECT_FALSE(t.window().CancelRequested);
}

TEST(RunLookups, ExitOnTheMainWindowCancelsToo) {
    DispatchForm t;
    t.F().QuitRequested = true;
    LookupTable table = Table({"10.0.0.1"});
    EXPECT_EQ(RunLookups(t.F(), table, 2, true, false, false), 1);
    EXPECT_EQ(t.resolver->TotalCalls(), 0);
    EXPECT_TRUE(t.F().QuitRequested);  // the caller's flag is the caller's to clear
}

TEST(RunLookups, EndingTheProgramWithAStuckLookupDoesNotWaitForIt) {
    auto resolver = std::make_shared<ScriptedResolver>();
    resolver->Hold("10.0.0.1");
    {
        DispatchForm t;
        t.F().resolve.resolver = resolver;
        t.F().resolve.LookupTimeLimit = 50ms;
        LookupTable table = Table({"10.0.0.1"});
        EXPECT_EQ(RunLookups(t.F(), table, 2, true, false, false), 0);
        EXPECT_EQ(t.Count(FastLookUp::Failed), 1);
    }  // the form goes away while a worker is still inside the resolver
    resolver->Release("10.0.0.1");
    EXPECT_TRUE(WaitUntil([&] { return resolver->Finished() == 1; }));
}

TEST(LookupSysLogNames, NamesRemoteAddressesOfInboundRows) {
    DispatchForm t;
    t.F().LookupThreads = 4;
    t.resolver->Name("10.0.0.1", "One.Example");
    t.resolver->Name("10.0.0.2", "two.example");
    t.resolver->Name("192.168.1.7", "lan.example");
    // Dir, remote address, remote name before and after; a name equal to the address is unknown.
    const std::vector<std::array<std::string, 4>> rows = {{"I", "10.0.0.1", "", "one.example"},
                                                          {"P", "10.0.0.2", "10.0.0.2", "two.example"},
                                                          {"O", "192.168.1.7", "", ""},
                                                          {"I", "10.0.0.3", "keep", "keep"},
                                                          {"M", "", "", ""},
                                                          {"I", "10.0.0.4", "", ""}};
    RecordGrid& sys = t.F().SysLog;
    sys.SetCols(12);
    sys.SetRows(static_cast<int>(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        sys.SetTextMatrix(row, 2, rows[r][0]);
        sys.SetTextMatrix(row, 4, rows[r][1]);
        sys.SetTextMatrix(row, 5, rows[r][2]);
    }
    EXPECT_EQ(LookupSysLogNames(t.F(), sys, false), 0);
    for (size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(sys.TextMatrix(static_cast<int>(r) + 1, 5), rows[r][3]) << r;
    EXPECT_EQ(t.resolver->TotalCalls(), 3);
}
