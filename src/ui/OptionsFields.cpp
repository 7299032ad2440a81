#include "ui/OptionsFields.h"

#include <cmath>
#include <string>

#include "form/Constants.h"
#include "form/MainForm.h"
#include "ui/Help.h"

namespace {

long long Rounded(const std::string& text) {
    return std::llround(LeadingNumber(text));
}

// Router timings are one digit, 1 to 9; anything else (empty, "0", a letter) gets the default.
void KeepDigit(TextBox& field, const char* fallback) {
    const std::string& t = field.Text;
    if (t.size() != 1 || t[0] < '1' || t[0] > '9') field.Text = fallback;
}

void MarkChanged(MainForm& F) {
    F.SettingsChanged = true;
}

}  // namespace

void UserID_Change(MainForm& F) {
    MarkChanged(F);
}

void IPAddr_Change(MainForm& F) {
    if (F.IPAddr.Text != F.options.AddressAtOpen && !F.IPAddr.Text.empty() && !F.PW.Text.empty())
        MarkChanged(F);
}

void PW_Change(MainForm& F) {
    if (F.PW.Text == F.options.PasswordAtOpen && !F.PW.Text.empty()) return;
    if (!F.PW.Text.empty() && !F.IPAddr.Text.empty()) {
        F.SavePW.Enabled = true;
        MarkChanged(F);
    } else {
        // Unchecking a saved password is a change of its own: the saved copy must go.
        if (F.SavePW.Value) MarkChanged(F);
        F.SavePW.Enabled = false;
        F.SavePW.Value = false;
    }
}

void MaxTdiff_Change(MainForm& F) {
    MarkChanged(F);
}
void RouterWait_Change(MainForm& F) {
    MarkChanged(F);
}
void RouterRetry_Change(MainForm& F) {
    MarkChanged(F);
}
void RouterDelay_Change(MainForm& F) {
    MarkChanged(F);
}
void SavePW_Click(MainForm& F) {
    MarkChanged(F);
}
void CCacheFailures_Click(MainForm& F) {
    MarkChanged(F);
}
void CompDX_Click(MainForm& F) {
    MarkChanged(F);
}
void CmnW_Click(MainForm& F) {
    MarkChanged(F);
}

void Include_Click(MainForm& F, int index) {
    if (index < 0 || index >= static_cast<int>(F.Include.size())) return;
    for (int i = 0; i < static_cast<int>(F.Include.size()); ++i) F.Include[i].Value = i == index;
    MarkChanged(F);
}

void ShowMessages_Click(MainForm& F, int index) {
    if (index < 0 || index >= static_cast<int>(F.ShowMessages.size())) return;
    MarkChanged(F);
}

std::optional<long long> AcceptedTimeDifference(std::string_view text) {
    const long long seconds = std::llround(LeadingNumber(text));
    if (seconds < 1 || seconds > drovix::MaxTimeDifference) return std::nullopt;
    return seconds;
}

// The field keeps the whole number it accepted, which is what the settings file keeps.
void MaxTdiff_LostFocus(MainForm& F) {
    const auto seconds = AcceptedTimeDifference(F.MaxTdiff.Text);
    F.MaxTdiff.Text = seconds ? std::to_string(*seconds) : "30";
}

void mnThreads_LostFocus(MainForm& F) {
    const long long v = Rounded(F.mnThreads.Text);
    if (v < 0 || v > drovix::MaxLookupThreads) {
        F.mnThreads.Text = std::to_string(F.LookupThreads);
        F.FocusedControl = "mnThreads";
        return;
    }
    F.mnThreads.Text = std::to_string(v);
    if (v != F.LookupThreads) MarkChanged(F);
}

void RouterWait_LostFocus(MainForm& F) {
    KeepDigit(F.RouterWait, drovix::DefaultRouterWait);
}
void RouterRetry_LostFocus(MainForm& F) {
    KeepDigit(F.RouterRetry, drovix::DefaultRouterRetry);
}
void RouterDelay_LostFocus(MainForm& F) {
    KeepDigit(F.RouterDelay, drovix::DefaultRouterDelay);
}

void IPAddr_KeyUp(MainForm& F, int key) {
    if (key == KeyEnter) F.FocusedControl = "PW";
}

void PW_GotFocus(MainForm& F) {
    HelpShow(F, "pw");
}
