#include "ui/Help.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "form/MainForm.h"
#include "ui/HelpTexts.h"

namespace {

// The explanation starts in column 19 of a help line.
constexpr std::size_t kKeyWidth = 18;
constexpr int kMinimumPaneSize = 400;
constexpr long long kClockKnownBelow = 1000000;

const char* const kCompareNote =
    "^NOTE: only records that are currently displayed and highlighted (in light blue) can be added to the SB "
    "logs.  The timeframe and inclusion of Drovix's optional History files determine which records are "
    "available for display.  Your 'Display' choices determine which of the included records actually are "
    "displayed.^If you select \"Compare with SB logs\", Drovix will compare the displayed records with the "
    "SB "
    "logs and your SB \"Don't Log\" lists, and highlight the ones that should be added to the SB logs.";

// What the open pane says between two explanations, rather than standing there blank.
const char* const kPointAtAnOption = "Move the mouse pointer to any option to see an explanation of its use.";

// " " and the pilcrow (a Latin-1 byte, like every text of the engine): the whole text is visible.
const char* const kEndMark = " \xB6";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Below the panel, as wide as the button row and down to the bottom of the window.
void PlaceHelpPane(MainForm& F) {
    const Frame& panel = F.OptionsFrame;
    Label& pane = F.LHelp;
    pane.Left = panel.Left;
    pane.Top = panel.Top + panel.Height + 2 * panel.Left;
    pane.Width = std::max(F.BQuit.Left + F.BQuit.Width - pane.Left, kMinimumPaneSize);
    pane.Height = std::max(F.Window.Height - pane.Top - panel.Left, kMinimumPaneSize);
}

std::string ExpandMarkers(const MainForm& F, std::string text) {
    if (EndsWith(text, "~")) {
        text.pop_back();
        text += kCompareNote;
    } else if (EndsWith(text, "~+")) {
        text.resize(text.size() - 2);
        text += RouterClockSentence(F.RouterClockOffset);
    }
    std::string out;
    out.reserve(text.size() + 32);
    for (char c : text) {
        if (c == '^') {
            out += "\n\n";
        } else {
            out += c;
        }
    }
    return out;
}

void ShowWhileOptionsOpen(MainForm& F, const char* key) {
    HelpShow(F, F.OptionsFrame.Visible ? key : "");
}

}  // namespace

void HelpLoad(MainForm& F) {
    auto& list = F.options.HelpList;
    list.clear();
    for (const HelpEntry& e : HelpEntries()) {
        std::string line = e.key;
        line.resize(std::max(kKeyWidth, line.size() + 1), ' ');
        list.push_back(line + e.text);
    }
}

void HelpShow(MainForm& F, const std::string& key) {
    auto& last = F.options.LastHelpKey;
    if (key == last) return;
    if (key.empty()) {
        last.clear();
        F.LHelp.Caption = F.OptionsFrame.Visible ? kPointAtAnOption : "";
        if (!F.OptionsFrame.Visible) F.LHelp.Visible = false;
        return;
    }
    PlaceHelpPane(F);
    last = key;
    // The blank after the key keeps "pw" from finding "pwsomething".
    const std::string wanted = Lower(key) + " ";
    for (const std::string& line : F.options.HelpList) {
        if (Lower(line.substr(0, wanted.size())) != wanted) continue;
        const std::size_t start = line.find_first_not_of(' ', wanted.size());
        const std::string text = start == std::string::npos ? std::string() : line.substr(start);
        F.LHelp.Caption = ExpandMarkers(F, text) + kEndMark;
        F.LHelp.Visible = true;
        return;
    }
}

std::string RouterClockSentence(long long offset) {
    if (std::llabs(offset) >= kClockKnownBelow) return {};
    std::string comparison;
    if (offset == 0) {
        comparison = "matched";
    } else {
        const long long seconds = std::llabs(offset);
        comparison = "was about " + std::to_string(seconds) + (seconds == 1 ? " second" : " seconds") +
                     (offset > 0 ? " earlier than" : " later than");
    }
    return "^A few moments ago, your Router's clock " + comparison + " your computer's clock.";
}

void Form_MouseMove(MainForm& F) {
    HelpShow(F, "");
}
void OptionsFrame_MouseMove(MainForm& F) {
    HelpShow(F, "");
}
void BRun_MouseMove(MainForm& F) {
    ShowWhileOptionsOpen(F, "brun");
}
void BOptions_MouseMove(MainForm& F) {
    ShowWhileOptionsOpen(F, "boptions");
}
void BQuit_MouseMove(MainForm& F) {
    ShowWhileOptionsOpen(F, "bquit");
}
void BCancelOptions_MouseMove(MainForm& F) {
    HelpShow(F, "bcanceloptions");
}
