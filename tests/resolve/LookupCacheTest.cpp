#include <gtest/gtest.h>

#include "ResolveTestHelpers.h"
#include "resolve/LookupCache.h"

TEST(RecentLookups, AnswersBothWaysFirstEntryFirstAndStopsRecordingWhenFull) {
    RecentLookups recent;
    EXPECT_EQ(CacheLookup(recent, "10.0.0.1"), "");
    RecordLookup(recent, "10.0.0.1", "one.example");
    RecordLookup(recent, "two.example", "10.0.0.2");
    RecordLookup(recent, "10.0.0.3", NotFound);
    RecordLookup(recent, "10.0.0.1", "later.example");
    EXPECT_EQ(CacheLookup(recent, "10.0.0.1"), "one.example");
    EXPECT_EQ(CacheLookup(recent, "one.example"), "10.0.0.1");
    EXPECT_EQ(CacheLookup(recent, "10.0.0.2"), "two.example");
    EXPECT_EQ(CacheLookup(recent, "10.0.0.3"), NotFound);
    EXPECT_EQ(CacheLookup(recent, "ONE.example"), "");
    EXPECT_EQ(CacheLookup(recent, "10.0.0"), "");

    for (int i = 4; i < 300; ++i)
        RecordLookup(recent, "key" + std::to_string(i), "value" + std::to_string(i));
    EXPECT_EQ(recent.RecentCount, 256);
    EXPECT_EQ(CacheLookup(recent, "value255"), "key255");
    EXPECT_EQ(CacheLookup(recent, "key256"), "");
}

TEST(FailureCache, TrimKeepsNewestLinesFromALineStart) {
    const std::string small(80000, 'x');
    EXPECT_EQ(TrimFailureCache(small), small);

    // The CR of the first line stands exactly at position n - 80,000: that line goes, the rest
    // stays whole.
    std::string rest = "123456789\r\nabcdef\r\n";
    for (int i = 0; i < 7998; ++i) rest += "10.0." + std::to_string(i % 10) + ".1\r\n";
    ASSERT_EQ(rest.size(), 79999u);
    EXPECT_EQ(TrimFailureCache("first.one\r\n" + rest), rest);

    // One character more after it: that CR now stands before the limit, so the next line goes too.
    EXPECT_EQ(TrimFailureCache("first.one\r\nx" + rest), rest.substr(11));
}

TEST(FailureCacheFile, WriteErrorIsReported) {
    ResolveForm t;
    t.F().ProgramDir = t.dir.path() + "missing-folder/";
    FailureCache cache;
    cache.enabled = true;
    AppendFailure(cache, "10.0.0.1");
    EXPECT_FALSE(SaveFailureCache(t.F(), cache));
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_TRUE(t.frontend.messages[0].text.rfind("Error ", 0) == 0);
    // One line: the file, its folder and the system's reason.
    EXPECT_NE(t.frontend.messages[0].text.find(" in 'ConvertAddr' opening cache file IPcache.txt in folder " +
                                               t.F().ProgramDir + ": "),
              std::string::npos);
    EXPECT_EQ(t.frontend.messages[0].text.find('\n'), std::string::npos);
}
