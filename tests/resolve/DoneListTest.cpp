#include <gtest/gtest.h>

#include "resolve/DoneList.h"

TEST(DoneList, NewestFirstWithEveryNameFollowedByATab) {
    DoneList done;
    EXPECT_FALSE(done.Contains("10.0.0.1"));
    done.Add("10.0.0.1", "one.example");
    done.Add("10.0.0.2", "");
    EXPECT_EQ(done.Text(), "\t10.0.0.2\n\t10.0.0.1\none.example\t");
    EXPECT_EQ(done.Find("10.0.0.1"), "one.example");
    EXPECT_EQ(done.Find("10.0.0.2"), "");
    // Whole addresses only: a prefix of a listed address is not listed.
    EXPECT_FALSE(done.Contains("10.0.0."));
    EXPECT_FALSE(done.Contains("0.0.0.1"));
}

TEST(DoneList, TrimDropsOldestEntriesAtATab) {
    DoneList done;
    int n = 0;
    // 30,000 characters are kept whole.
    while (done.Text().size() < 29980) done.Add("10.2." + std::to_string(n++ % 250) + ".1", "x");
    done.Add("1.1.1.1", std::string(30000 - done.Text().size() - 9, 'y'));
    ASSERT_EQ(done.Text().size(), 30000u);
    std::string before = done.Text();
    done.Trim();
    EXPECT_EQ(done.Text(), before);

    done.Add("10.3.0.1", "host.example");
    before = done.Text();
    ASSERT_GE(before.size(), DoneList::TrimAt);
    done.Trim();
    const std::string& kept = done.Text();
    // A prefix of the old text, cut just after a tab at or beyond position 29,800 with no tab
    // between that position and the cut.
    EXPECT_EQ(before.compare(0, kept.size(), kept), 0);
    EXPECT_LT(kept.size(), before.size());
    EXPECT_GE(kept.size(), DoneList::KeepFrom);
    EXPECT_EQ(kept.back(), '\t');
    EXPECT_EQ(kept.find('\t', DoneList::KeepFrom - 1), kept.size() - 1);
    EXPECT_EQ(done.Find("10.3.0.1"), "host.example");
}
