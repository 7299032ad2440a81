#include <gtest/gtest.h>

#include "ResolveTestHelpers.h"
#include "resolve/LookupCache.h"

TEST(RecentLookups, AnswersBothWaysFirstEntryFirst) {
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
}

TEST(RecentLookups, StopsRecordingWhenFullButKeepsAnswering) {
    RecentLookups recent;
    for (int i = 0; i < 300; ++i)
        RecordLookup(recent, "key" + std::to_string(i), "value" + std::to_string(i));
    EXPECT_EQ(recent.RecentCount, 256);
    EXPECT_EQ(CacheLookup(recent, "key0"), "value0");
    EXPECT_EQ(CacheLookup(recent, "value255"), "key255");
    EXPECT_EQ(CacheLookup(recent, "key256"), "");
}

TEST(FailureCache, MembershipIsAPlainSubstringTest) {
    FailureCache cache;
    cache.enabled = true;
    AppendFailure(cache, "10.1.2.34");
    EXPECT_EQ(cache.text, "10.1.2.34\r\n");
    EXPECT_TRUE(cache.changed);
    EXPECT_TRUE(InFailureCache(cache, "10.1.2.34"));
    EXPECT_TRUE(InFailureCache(cache, "10.1.2.3"));
    EXPECT_TRUE(InFailureCache(cache, "0.1.2.34"));
    EXPECT_FALSE(InFailureCache(cache, "10.1.2.35"));
    EXPECT_FALSE(InFailureCache(cache, ""));
    cache.enabled = false;
    EXPECT_FALSE(InFailureCache(cache, "10.1.2.34"));
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

TEST(FailureCacheFile, LoadsWholeFileAndSavesOnlyWhenChanged) {
    ResolveForm t;
    const std::string path = FailureCachePath(t.F());
    EXPECT_EQ(path, t.dir.file("IPcache.txt"));

    FailureCache cache;
    cache.enabled = true;
    ASSERT_TRUE(LoadFailureCache(t.F(), cache));  // no file: empty cache
    EXPECT_EQ(cache.text, "");
    ASSERT_TRUE(SaveFailureCache(t.F(), cache));
    EXPECT_FALSE(FileExists(path));

    AppendFailure(cache, "10.0.0.1");
    AppendFailure(cache, std::string("h\xE9te.example"));
    ASSERT_TRUE(SaveFailureCache(t.F(), cache));
    EXPECT_EQ(ReadFileBytes(path), std::string("10.0.0.1\r\nh\xE9te.example\r\n"));

    FailureCache again;
    again.enabled = true;
    ASSERT_TRUE(LoadFailureCache(t.F(), again));
    EXPECT_EQ(again.text, cache.text);
    EXPECT_FALSE(again.changed);

    FailureCache disabled;
    ASSERT_TRUE(LoadFailureCache(t.F(), disabled));
    EXPECT_EQ(disabled.text, "");
    EXPECT_TRUE(t.frontend.messages.empty());
}

TEST(FailureCacheFile, WriteErrorIsReportedAndOldFileKept) {
    ResolveForm t;
    t.F().ProgramDir = t.dir.path() + "missing-folder/";
    t.F().AutoMode = true;
    FailureCache cache;
    cache.enabled = true;
    AppendFailure(cache, "10.0.0.1");
    EXPECT_FALSE(SaveFailureCache(t.F(), cache));
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_TRUE(t.frontend.messages[0].text.rfind("Error ", 0) == 0);
    EXPECT_NE(t.frontend.messages[0].text.find(" in 'ConvertAddr' opening cache file"), std::string::npos);
    EXPECT_FALSE(t.F().AutoMode);
    EXPECT_TRUE(t.frontend.windowShown);
}
