#include <gtest/gtest.h>

#include "TestForm.h"
#include "ui/Help.h"
#include "ui/HelpTexts.h"

namespace {

const std::string kPilcrow = " \xB6";

class HelpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HelpLoad(F);
        F.OptionsFrame.Visible = true;
        F.OptionsFrame.Left = 120;
        F.OptionsFrame.Top = 600;
        F.OptionsFrame.Height = 4000;
        F.BQuit.Left = 10000;
        F.BQuit.Width = 1200;
        F.Window.Height = 9000;
    }
    TestForm T;
    MainForm& F = T.F();
};

TEST_F(HelpTest, EveryEntryIsWholeAndSpeaksOfThisPlatform) {
    for (const HelpEntry& e : HelpEntries()) {
        HelpShow(F, e.key);
        const std::string& shown = F.LHelp.Caption;
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown.substr(shown.size() - 2), kPilcrow) << e.key;
        EXPECT_EQ(shown.find('~'), std::string::npos) << e.key;
        EXPECT_EQ(shown.find('^'), std::string::npos) << e.key;
        // This platform's words: no drive letters, no other system's scheduler.
        EXPECT_EQ(shown.find(":\\"), std::string::npos) << e.key;
        EXPECT_EQ(shown.find("Task Scheduler"), std::string::npos) << e.key;
    }
    HelpShow(F, "lautorun");
    EXPECT_NE(F.LHelp.Caption.find("systemctl --user enable --now drovix.timer"), std::string::npos);
    EXPECT_NE(F.LHelp.Caption.find("crontab -e"), std::string::npos);
}

TEST_F(HelpTest, TheCompareNoteFollowsMarkedEntries) {
    HelpShow(F, "inbound");
    EXPECT_EQ(
        F.LHelp.Caption,
        "Display all included INBOUND messages.  Highly recommended.\n\nNOTE: only records that are "
        "currently "
        "displayed and highlighted (in light blue) can be added to the SB logs.  The timeframe and inclusion "
        "of "
        "Drovix's optional History files determine which records are available for display.  Your 'Display' "
        "choices determine which of the included records actually are displayed.\n\nIf you select \"Compare "
        "with SB logs\", Drovix will compare the displayed records with the SB logs and your SB \"Don't "
        "Log\" "
        "lists, and highlight the ones that should be added to the SB logs." +
            kPilcrow);
    HelpShow(F, "compsb");
    EXPECT_EQ(F.LHelp.Caption.find("NOTE: only records"), std::string::npos) << "compsb carries no marker";
}

// Controls pass their own name, so keys are matched whole and in any case; a key without an entry
// keeps the text shown, and the key shown already is not drawn again.
TEST_F(HelpTest, KeysMatchWholeInAnyCaseAndOnlyANewKeyRedraws) {
    HelpShow(F, "PW");
    EXPECT_EQ(F.LHelp.Caption.rfind("The password of your Router", 0), 0u) << F.LHelp.Caption;
    HelpShow(F, "savepw");
    EXPECT_EQ(F.LHelp.Caption.rfind("If checked, Drovix remembers", 0), 0u);
    HelpShow(F, "include");  // a prefix of four keys, not a key
    EXPECT_EQ(F.LHelp.Caption.rfind("If checked, Drovix remembers", 0), 0u);
    HelpShow(F, "brun");
    EXPECT_EQ(F.LHelp.Caption.rfind("If checked, Drovix remembers", 0), 0u);
    EXPECT_EQ(F.options.LastHelpKey, "brun");

    HelpShow(F, "maxtdiff");
    F.LHelp.Caption = "drawn by hand";
    HelpShow(F, "maxtdiff");
    EXPECT_EQ(F.LHelp.Caption, "drawn by hand");
    HelpShow(F, "pw");
    HelpShow(F, "maxtdiff");
    EXPECT_NE(F.LHelp.Caption, "drawn by hand");
}

TEST_F(HelpTest, TheClockSentenceTellsHowFarTheRouterIsOff) {
    struct Case {
        long long offset;
        std::string sentence;
    } cases[] = {
        {1, "A few moments ago, your Router's clock was about 1 second earlier than your computer's clock."},
        {-5, "A few moments ago, your Router's clock was about 5 seconds later than your computer's clock."},
        {0, "A few moments ago, your Router's clock matched your computer's clock."},
        {999999,
         "A few moments ago, your Router's clock was about 999999 seconds earlier than your computer's "
         "clock."},
    };
    for (const Case& c : cases) {
        F.RouterClockOffset = c.offset;
        HelpShow(F, "");
        HelpShow(F, "maxtdiff");
        EXPECT_NE(F.LHelp.Caption.find("range is 1-86399.\n\n" + c.sentence + kPilcrow), std::string::npos)
            << c.offset << ": " << F.LHelp.Caption;
    }
    for (long long unknown : {999999999LL, 1000000LL, -1000000LL}) {
        F.RouterClockOffset = unknown;
        HelpShow(F, "");
        HelpShow(F, "maxtdiff");
        EXPECT_EQ(F.LHelp.Caption.substr(F.LHelp.Caption.size() - 19), "range is 1-86399." + kPilcrow)
            << unknown;
    }
}

TEST_F(HelpTest, ThePaneSitsBelowThePanelAndReachesTheExitButtonAndTheWindowBottom) {
    HelpShow(F, "compaddr");
    EXPECT_EQ(F.LHelp.Left, 120);
    EXPECT_EQ(F.LHelp.Top, 600 + 4000 + 240);
    EXPECT_EQ(F.LHelp.Width, 11200 - 120);
    EXPECT_EQ(F.LHelp.Height, 9000 - 4840 - 120);

    F.Window.Height = 4000;  // shorter than the panel: the pane keeps a readable minimum
    F.BQuit.Width = F.BQuit.Left = 0;
    HelpShow(F, "compsb");
    EXPECT_EQ(F.LHelp.Width, 400);
    EXPECT_EQ(F.LHelp.Height, 400);
}

TEST_F(HelpTest, TheEmptyKeyLeavesTheOpenPaneAHintAndHidesItOnlyWithThePanelClosed) {
    HelpShow(F, "cmnw");
    EXPECT_NE(F.LHelp.Caption.find("\n\nThe \"SBmNW.LOG\" file is also maintained by Stillbeacon"),
              std::string::npos);
    OptionsFrame_MouseMove(F);
    EXPECT_EQ(F.LHelp.Caption, "Move the mouse pointer to any option to see an explanation of its use.");
    EXPECT_TRUE(F.LHelp.Visible);

    HelpShow(F, "cmnw");
    F.OptionsFrame.Visible = false;
    Form_MouseMove(F);
    EXPECT_FALSE(F.LHelp.Visible);
}

TEST_F(HelpTest, MainButtonsExplainThemselvesOnlyWhileThePanelIsOpen) {
    BQuit_MouseMove(F);
    EXPECT_EQ(F.LHelp.Caption.rfind("Stop Drovix", 0), 0u);
    BOptions_MouseMove(F);
    EXPECT_EQ(F.LHelp.Caption.rfind("Save these Options", 0), 0u);
    EXPECT_NE(F.LHelp.Caption.find("Every explanation ends with:" + kPilcrow), std::string::npos);

    F.OptionsFrame.Visible = false;
    BQuit_MouseMove(F);
    EXPECT_EQ(F.options.LastHelpKey, "");
    EXPECT_FALSE(F.LHelp.Visible);
}

}  // namespace
