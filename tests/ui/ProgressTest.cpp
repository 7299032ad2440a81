#include "ui/Progress.h"

#include <gtest/gtest.h>

#include <limits>

#include "TestForm.h"

namespace {

class ProgressTest : public ::testing::Test {
  protected:
    void SetUp() override {
        F().LIPA.Left = 6000;
        F().CurrWanAddr.Top = 120;
        F().CurrWanAddr.Height = 285;
        LayoutProgress(F());
    }
    MainForm& F() { return T.F(); }

    int VisibleSegments() {
        int n = 0;
        for (const Control& s : F().SProgress) n += s.Visible ? 1 : 0;
        return n;
    }
    // The visible segments form one run from the left.
    bool FilledFromTheLeft() {
        const int n = VisibleSegments();
        for (int i = 0; i < static_cast<int>(F().SProgress.size()); ++i) {
            if (F().SProgress[i].Visible != (i < n)) return false;
        }
        return true;
    }

    TestForm T;
};

TEST_F(ProgressTest, LayoutStartsHiddenWithEqualSegmentsSideBySide) {
    ASSERT_EQ(static_cast<int>(F().SProgress.size()), ProgressSegments);
    EXPECT_FALSE(F().TProgress.Visible);
    EXPECT_EQ(VisibleSegments(), 0);
    for (int i = 1; i < ProgressSegments; ++i) {
        EXPECT_EQ(F().SProgress[i].Width, F().SProgress[0].Width);
        EXPECT_GT(F().SProgress[i].Left, F().SProgress[i - 1].Left + F().SProgress[i - 1].Width - 1);
    }
    EXPECT_EQ(F().SProgress[0].Left, F().LIPA.Left);
}

TEST_F(ProgressTest, FractionFillsTheBar) {
    ShowProgress(F(), 0, "Contacting Router");
    EXPECT_TRUE(F().TProgress.Visible);
    EXPECT_EQ(F().TProgress.Text, "Contacting Router");
    EXPECT_EQ(F().TProgress.Left, F().LIPA.Left);
    EXPECT_EQ(F().TProgress.Top, F().CurrWanAddr.Top);
    EXPECT_EQ(VisibleSegments(), 1);
    EXPECT_TRUE(F().SProgress[0].Visible);

    ShowProgress(F(), 1, "Contacting Router");
    EXPECT_EQ(VisibleSegments(), ProgressSegments);

    ShowProgress(F(), -1, "");
    ShowProgress(F(), 7.5, "Reading");
    EXPECT_EQ(VisibleSegments(), ProgressSegments);
}

TEST_F(ProgressTest, EmptyTextAtHalfEmptiesTheCaptionAndFillsToTheMiddle) {
    ShowProgress(F(), 0.1, "Comparing to SB logs");
    ShowProgress(F(), 0.5, "");
    EXPECT_EQ(F().TProgress.Text, "");
    const int middle = static_cast<int>(0.5 * (ProgressSegments - 1));
    EXPECT_EQ(VisibleSegments(), middle + 1);
    EXPECT_TRUE(FilledFromTheLeft());
}

TEST_F(ProgressTest, NegativeHidesEverything) {
    ShowProgress(F(), 0.8, "Retrieving Router log pages");
    ShowProgress(F(), -1, "");
    EXPECT_FALSE(F().TProgress.Visible);
    EXPECT_EQ(VisibleSegments(), 0);
}

TEST_F(ProgressTest, NonsenseFractionsStayInsideTheBar) {
    ShowProgress(F(), std::numeric_limits<double>::quiet_NaN(), "x");
    EXPECT_TRUE(FilledFromTheLeft());
    EXPECT_LE(VisibleSegments(), 1);
    ShowProgress(F(), 1e300, "x");
    EXPECT_EQ(VisibleSegments(), ProgressSegments);
    ShowProgress(F(), std::numeric_limits<double>::infinity(), "x");
    EXPECT_EQ(VisibleSegments(), ProgressSegments);
}

TEST_F(ProgressTest, EveryCallLetsEventsRun) {
    // A click handled during the report must see the state the report set up.
    std::vector<std::string> captionsSeen;
    T.frontend.onDoEvents = [&] { captionsSeen.push_back(F().TProgress.Text); };
    ShowProgress(F(), 0.25, "step");
    ShowProgress(F(), -1, "");
    EXPECT_EQ(T.frontend.doEventsCalls, 2);
    EXPECT_EQ(captionsSeen, (std::vector<std::string>{"step", "step"}));
}

}  // namespace
