#include "form/Progress.h"

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

    // How many segments show, -1 when they do not form one run from the left.
    int FilledSegments() {
        int n = 0;
        while (n < ProgressSegments && F().SProgress[n].Visible) ++n;
        for (int i = n; i < ProgressSegments; ++i)
            if (F().SProgress[i].Visible) return -1;
        return n;
    }

    TestForm T;
};

// The bar starts hidden, its equal segments side by side. Each report fills the bar from the left (nonsense fractions stay inside it) and shows its
// caption, an empty one included; a negative one hides it all. Every report lets events run with
// the state it set up.
TEST_F(ProgressTest, FractionsFillTheBarAndEveryReportLetsEventsRun) {
    ASSERT_EQ(static_cast<int>(F().SProgress.size()), ProgressSegments);
    EXPECT_FALSE(F().TProgress.Visible);
    EXPECT_EQ(FilledSegments(), 0);
    for (int i = 1; i < ProgressSegments; ++i) {
        EXPECT_EQ(F().SProgress[i].Width, F().SProgress[0].Width);
        EXPECT_GT(F().SProgress[i].Left, F().SProgress[i - 1].Left + F().SProgress[i - 1].Width - 1);
    }
    EXPECT_EQ(F().SProgress[0].Left, F().LIPA.Left);

    const int half = 1 + static_cast<int>(0.5 * (ProgressSegments - 1));
    const struct {
        double fraction;
        const char* text;
        int segments;
    } reports[] = {{0, "Contacting Router", 1},
                   {1, "Contacting Router", ProgressSegments},
                   {-1, "", 0},
                   {0.1, "Comparing to SB logs", 1 + static_cast<int>(0.1 * (ProgressSegments - 1))},
                   {0.5, "", half},
                   {-1, "", 0},
                   {std::numeric_limits<double>::quiet_NaN(), "x", 1},
                   {1e300, "x", ProgressSegments},
                   {-1, "", 0},
                   {std::numeric_limits<double>::infinity(), "x", ProgressSegments},
                   {-1, "", 0},
                   {7.5, "Reading", ProgressSegments}};
    std::vector<std::string> captionsSeen;
    T.frontend.onDoEvents = [&] { captionsSeen.push_back(F().TProgress.Text); };
    for (const auto& r : reports) {
        ShowProgress(F(), r.fraction, r.text);
        EXPECT_EQ(FilledSegments(), r.segments) << r.fraction;
        EXPECT_EQ(F().TProgress.Visible, r.segments > 0) << r.fraction;
        if (r.fraction >= 0) {
            EXPECT_EQ(F().TProgress.Text, r.text) << r.fraction;
        }
    }
    EXPECT_EQ(captionsSeen.size(), std::size(reports));
    EXPECT_EQ(captionsSeen.back(), "Reading");
    EXPECT_EQ(F().TProgress.Left, F().LIPA.Left);
    EXPECT_EQ(F().TProgress.Top, F().CurrWanAddr.Top);
}

}  // namespace
