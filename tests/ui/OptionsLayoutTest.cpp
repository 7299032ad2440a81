#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestForm.h"
#include "ui/OptionsLayout.h"

namespace {

struct Placed {
    std::string name;
    const Control* control;
    std::string caption;  // what must fit inside it
    bool sysLogOnly;
    int indicator;  // room a check box or option button needs before its caption
};

class OptionsLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override { SetupOptionsControls(F); }

    std::vector<Placed> Everything() {
        std::vector<Placed> all = {
            {"LUserID", &F.LUserID, F.LUserID.Caption, false, 0},
            {"UserID", &F.UserID, "admin.admin.adm", false, 0},
            {"LIPAddr", &F.LIPAddr, F.LIPAddr.Caption, false, 0},
            {"IPAddr", &F.IPAddr, "192.168.100.100", false, 0},
            {"LPW", &F.LPW, F.LPW.Caption, false, 0},
            {"PW", &F.PW, "", false, 0},
            {"SavePW", &F.SavePW, F.SavePW.Caption, false, 1},
            {"CkConvertIP", &F.CkConvertIP, F.CkConvertIP.Caption, false, 1},
            {"CkConvertURL", &F.CkConvertURL, F.CkConvertURL.Caption, false, 1},
            {"CCacheFailures", &F.CCacheFailures, F.CCacheFailures.Caption, false, 1},
            {"LRouterWait", &F.LRouterWait, F.LRouterWait.Caption, false, 0},
            {"RouterWait", &F.RouterWait, "9", false, 0},
            {"LRouterRetry", &F.LRouterRetry, F.LRouterRetry.Caption, false, 0},
            {"RouterRetry", &F.RouterRetry, "9", false, 0},
            {"LRouterDelay", &F.LRouterDelay, F.LRouterDelay.Caption, false, 0},
            {"RouterDelay", &F.RouterDelay, "9", false, 0},
            {"CompAddr", &F.CompAddr, F.CompAddr.Caption, false, 1},
            {"CompSB", &F.CompSB, F.CompSB.Caption, false, 1},
            {"CompDX", &F.CompDX, F.CompDX.Caption, false, 1},
            {"CSysLog", &F.CSysLog, F.CSysLog.Caption, false, 1},
            {"CSaveSysLog", &F.CSaveSysLog, F.CSaveSysLog.Caption, true, 1},
            {"BReplaceToday", &F.BReplaceToday, F.BReplaceToday.Caption, true, 0},
            {"CmnW", &F.CmnW, F.CmnW.Caption, true, 1},
            {"mnThreads", &F.mnThreads, "120", true, 0},
            {"LnThreads", &F.LnThreads, F.LnThreads.Caption, true, 0},
            {"LmaxTdiff", &F.LmaxTdiff, F.LmaxTdiff.Caption, true, 0},
            {"MaxTdiff", &F.MaxTdiff, "86399", true, 0},
            {"LTimeframe", &F.LTimeframe, F.LTimeframe.Caption, true, 0},
            {"LDisplay", &F.LDisplay, F.LDisplay.Caption, true, 0},
            {"LAutorun", &F.LAutorun, F.LAutorun.Caption, true, 0},
        };
        for (std::size_t i = 0; i < F.Include.size(); ++i) {
            all.push_back({"Include" + std::to_string(i), &F.Include[i], F.Include[i].Caption, true, 1});
        }
        for (std::size_t i = 0; i < F.ShowMessages.size(); ++i) {
            all.push_back(
                {"ShowMessages" + std::to_string(i), &F.ShowMessages[i], F.ShowMessages[i].Caption, true, 1});
        }
        return all;
    }

    TestForm T;
    MainForm& F = T.F();
};

TEST_F(OptionsLayoutTest, EveryCaptionFitsAndEveryControlHasAPlace) {
    for (const Placed& p : Everything()) {
        EXPECT_GT(p.control->Width, 0) << p.name;
        EXPECT_GT(p.control->Height, 0) << p.name;
        EXPECT_GE(p.control->Width, F.ui.TextWidth(p.caption) + p.indicator * 240)
            << p.name << " clips its text";
    }
}

TEST_F(OptionsLayoutTest, NoTwoControlsOverlap) {
    const auto all = Everything();
    for (std::size_t i = 0; i < all.size(); ++i) {
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const Control& a = *all[i].control;
            const Control& b = *all[j].control;
            const bool apart = a.Left + a.Width <= b.Left || b.Left + b.Width <= a.Left ||
                               a.Top + a.Height <= b.Top || b.Top + b.Height <= a.Top;
            EXPECT_TRUE(apart) << all[i].name << " overlaps " << all[j].name;
        }
    }
}

TEST_F(OptionsLayoutTest, TheNarrowPanelCutsOffExactlyTheSystemLogPart) {
    ASSERT_GT(F.OptionsNarrowWidth, 0);
    ASSERT_GT(F.OptionsFullWidth, F.OptionsNarrowWidth);
    EXPECT_EQ(F.OptionsFrame.Width, F.OptionsNarrowWidth) << "a new panel is narrow";
    for (const Placed& p : Everything()) {
        const Control& c = *p.control;
        EXPECT_GE(c.Left, 0) << p.name;
        EXPECT_LE(c.Top + c.Height, F.OptionsFrame.Height) << p.name;
        EXPECT_LE(c.Left + c.Width, F.OptionsFullWidth) << p.name;
        if (p.sysLogOnly) {
            EXPECT_GE(c.Left, F.OptionsNarrowWidth) << p.name << " shows in the narrow panel";
        } else {
            EXPECT_LE(c.Left + c.Width, F.OptionsNarrowWidth) << p.name << " is cut off by the narrow panel";
        }
    }
}

TEST_F(OptionsLayoutTest, FieldsLineUpUnderEachOtherAndGroupsStartLevel) {
    EXPECT_EQ(F.UserID.Left, F.IPAddr.Left);
    EXPECT_EQ(F.IPAddr.Left, F.PW.Left);
    EXPECT_EQ(F.SavePW.Left, F.PW.Left);
    EXPECT_EQ(F.LUserID.Left, F.LPW.Left);
    EXPECT_LT(F.LIPAddr.Left + F.LIPAddr.Width, F.IPAddr.Left);
    EXPECT_EQ(F.LTimeframe.Top, F.LDisplay.Top);
    for (std::size_t i = 1; i < F.ShowMessages.size(); ++i) {
        EXPECT_EQ(F.ShowMessages[i].Left, F.ShowMessages[0].Left);
        EXPECT_GT(F.ShowMessages[i].Top, F.ShowMessages[i - 1].Top);
    }
}

TEST_F(OptionsLayoutTest, AWiderFontWidensThePanelAndKeepsTheChosenWidth) {
    const int narrow = F.OptionsNarrowWidth;
    F.OptionsFrame.Width = F.OptionsFullWidth;
    struct WideFrontend : RecordingFrontend {
        int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * 150; }
    } wide;
    MainForm G(wide, T.clock);
    SetupOptionsControls(G);
    EXPECT_GT(G.OptionsNarrowWidth, narrow);
    LayoutOptionsPanel(F);
    EXPECT_EQ(F.OptionsFrame.Width, F.OptionsFullWidth) << "relayout keeps a full panel full";
}

}  // namespace
