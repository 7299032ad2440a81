#include <gtest/gtest.h>

#include "support/OptionsTestForm.h"
#include "ui/OptionsFields.h"

namespace {

const std::string kSettings = "MAXTIMEDIFF=45\r\nINCLUDEWEEK=1\r\nINCLUDETODAY=0\r\n";

class OptionsFieldsTest : public ::testing::Test {
  protected:
    OptionsTestForm T{kSettings};
    MainForm& F = T.F();
};

TEST_F(OptionsFieldsTest, TimeDifferenceValidator) {
    struct Case {
        const char* typed;
        const char* kept;
    } cases[] = {{"10", "10"},    {"1", "1"},     {"86399", "86399"}, {"0", "30"},    {"86401", "30"},
                 {"86400", "30"}, {"-5", "30"},   {"x", "30"},        {"", "30"},     {"0.4", "30"},
                 {"0.6", "1"},    {"45.5", "46"}, {"45 s", "45"},     {"45abc", "45"}};
    for (const Case& c : cases) {
        F.MaxTdiff.Text = c.typed;
        MaxTdiff_LostFocus(F);
        EXPECT_EQ(F.MaxTdiff.Text, c.kept) << "typed " << c.typed;
    }
}

TEST_F(OptionsFieldsTest, RouterTimingsTakeOneDigitFromOneToNine) {
    struct Case {
        TextBox* field;
        void (*validate)(MainForm&);
        const char* fallback;
    } fields[] = {{&F.RouterWait, RouterWait_LostFocus, "4"},
                  {&F.RouterRetry, RouterRetry_LostFocus, "2"},
                  {&F.RouterDelay, RouterDelay_LostFocus, "5"}};
    for (const Case& c : fields) {
        for (const char* bad : {"", "0", "x", " ", "10"}) {
            c.field->Text = bad;
            c.validate(F);
            EXPECT_EQ(c.field->Text, c.fallback) << "typed '" << bad << "'";
        }
        for (const char* good : {"1", "7", "9"}) {
            c.field->Text = good;
            c.validate(F);
            EXPECT_EQ(c.field->Text, good);
        }
    }
}

TEST_F(OptionsFieldsTest, TimeframeOptionsKeepExactlyOneChosen) {
    Include_Click(F, 1);
    int chosen = 0;
    for (auto& o : F.Include) chosen += o.Value;
    EXPECT_EQ(chosen, 1);
    EXPECT_TRUE(F.Include[1].Value);
    Include_Click(F, 7);  // no such option
    EXPECT_TRUE(F.Include[1].Value);
}

}  // namespace
