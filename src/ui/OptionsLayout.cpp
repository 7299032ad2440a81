#include "ui/OptionsLayout.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "form/MainForm.h"

namespace {

constexpr int kPad = 150;          // inside the panel's border
constexpr int kRow = 330;          // distance between rows
constexpr int kFieldHeight = 285;  // text boxes
constexpr int kCheckHeight = 255;  // check boxes, option buttons, labels
constexpr int kButtonHeight = 330;
constexpr int kIndicator = 330;  // a check box's square (or an option's circle) and the gap after it
constexpr int kTextSlack = 90;   // fonts are not measured to the last pixel
constexpr int kGap = 120;        // between a label and its field
constexpr int kColumnGap = 300;  // between the two groups on the right

// Captions with "&" show the letter underlined, not the "&" itself.
int CaptionWidth(MainForm& F, const std::string& caption) {
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return F.ui.TextWidth(shown) + kTextSlack;
}

int RowTop(int row) {
    return kPad + row * kRow;
}

void Place(Control& c, int left, int top, int width, int height) {
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
}

// A check box or option button at the start of a row; returns its right edge.
template <typename Box>
int PlaceBox(MainForm& F, Box& box, int left, int row) {
    Place(box, left, RowTop(row), kIndicator + CaptionWidth(F, box.Caption), kCheckHeight);
    return box.Left + box.Width;
}

// A label whose text lines up with the text inside a field on the same row; returns its right edge.
int PlaceLabel(MainForm& F, Label& label, int left, int row) {
    Place(label, left, RowTop(row) + (kFieldHeight - kCheckHeight) / 2 + 15, CaptionWidth(F, label.Caption),
          kCheckHeight);
    return label.Left + label.Width;
}

// A button beside the check box of its row, centred on it; returns its right edge.
int PlaceButton(MainForm& F, Button& button, int left, int row) {
    Place(button, left, RowTop(row) - (kButtonHeight - kCheckHeight) / 2,
          CaptionWidth(F, button.Caption) + 2 * kGap, kButtonHeight);
    return button.Left + button.Width;
}

int PlaceField(MainForm& F, TextBox& field, int left, int row, int characters) {
    const int width = F.ui.TextWidth(std::string(characters, '0')) + 2 * kTextSlack;
    Place(field, left, RowTop(row), width, kFieldHeight);
    return field.Left + field.Width;
}

// Left part: what every router needs. Returns the right edge of the widest control.
int LayoutLeftPart(MainForm& F) {
    const int labelWidth = std::max({CaptionWidth(F, F.LUserID.Caption), CaptionWidth(F, F.LIPAddr.Caption),
                                     CaptionWidth(F, F.LPW.Caption)});
    const int fieldLeft = kPad + labelWidth + kGap;
    int right = 0;
    auto grow = [&](int edge) { right = std::max(right, edge); };

    int row = 0;
    for (auto [label, field] :
         {std::pair{&F.LUserID, &F.UserID}, std::pair{&F.LIPAddr, &F.IPAddr}, std::pair{&F.LPW, &F.PW}}) {
        PlaceLabel(F, *label, kPad, row);
        label->Width = labelWidth;
        grow(PlaceField(F, *field, fieldLeft, row, 15));
        ++row;
    }
    int x = PlaceBox(F, F.SavePW, fieldLeft, row);
    grow(PlaceButton(F, F.BTestConnection, x + kGap, row));
    ++row;
    ++row;  // a blank row sets the router's logon apart

    grow(PlaceBox(F, F.CkConvertIP, kPad, row++));
    grow(PlaceBox(F, F.CkConvertURL, kPad, row++));
    grow(PlaceBox(F, F.CCacheFailures, kPad + kIndicator, row++));

    x = kPad;
    for (auto [label, field] :
         {std::pair{&F.LRouterWait, &F.RouterWait}, std::pair{&F.LRouterRetry, &F.RouterRetry},
          std::pair{&F.LRouterDelay, &F.RouterDelay}}) {
        x = PlaceLabel(F, *label, x, row) + kGap / 2;
        x = PlaceField(F, *field, x, row, 1) + kGap * 2;
    }
    grow(x - kGap * 2);
    ++row;

    grow(PlaceBox(F, F.CompAddr, kPad, row++));
    x = PlaceBox(F, F.CompSB, kPad, row);
    grow(PlaceButton(F, F.BOpenLogFolder, x + kGap, row));
    ++row;
    grow(PlaceBox(F, F.CompDX, kPad, row++));
    grow(PlaceBox(F, F.CSysLog, kPad, row++));
    grow(PlaceBox(F, F.CkTimer, kPad, row++));
    return right;
}

// Right part: the System Log options. Returns the right edge of the widest control.
int LayoutRightPart(MainForm& F, int left) {
    int right = 0;
    auto grow = [&](int edge) { right = std::max(right, edge); };

    int row = 0;
    int x = PlaceBox(F, F.CSaveSysLog, left, row);
    Place(F.BReplaceToday, x + kGap, RowTop(row) - (kButtonHeight - kCheckHeight) / 2,
          CaptionWidth(F, F.BReplaceToday.Caption) + 2 * kGap, kButtonHeight);
    grow(F.BReplaceToday.Left + F.BReplaceToday.Width);
    ++row;
    grow(PlaceBox(F, F.CmnW, left, row++));

    // The caption of the thread count starts with a blank: it reads on from the number.
    x = PlaceField(F, F.mnThreads, left, row, 3);
    grow(PlaceLabel(F, F.LnThreads, x, row));
    ++row;
    x = PlaceLabel(F, F.LmaxTdiff, left, row) + kGap / 2;
    grow(PlaceField(F, F.MaxTdiff, x, row, 5));
    row += 2;

    const int groupTop = row;
    PlaceLabel(F, F.LTimeframe, left, row++);
    int includeRight = F.LTimeframe.Left + F.LTimeframe.Width;
    for (auto& option : F.Include) includeRight = std::max(includeRight, PlaceBox(F, option, left, row++));
    ++row;
    includeRight = std::max(includeRight, PlaceLabel(F, F.LAutorun, left, row));

    const int displayLeft = includeRight + kColumnGap;
    row = groupTop;
    grow(PlaceLabel(F, F.LDisplay, displayLeft, row++));
    for (auto& box : F.ShowMessages) grow(PlaceBox(F, box, displayLeft, row++));
    return right;
}

}  // namespace

void LayoutOptionsPanel(MainForm& F) {
    const bool wasFull = F.OptionsFullWidth > 0 && F.OptionsFrame.Width == F.OptionsFullWidth;
    F.OptionsNarrowWidth = LayoutLeftPart(F) + kPad;
    F.OptionsFullWidth = LayoutRightPart(F, F.OptionsNarrowWidth + kPad) + kPad;

    int bottom = 0;
    for (const Control* c :
         {static_cast<const Control*>(&F.CkTimer), static_cast<const Control*>(&F.ShowMessages[6])}) {
        bottom = std::max(bottom, c->Top + c->Height);
    }
    F.OptionsFrame.Height = bottom + kPad;
    F.OptionsFrame.Width = wasFull ? F.OptionsFullWidth : F.OptionsNarrowWidth;
}

void SetupOptionsControls(MainForm& F) {
    F.LUserID.Caption = "Logon ID";
    F.LIPAddr.Caption = "  Router's LAN addr";
    F.LPW.Caption = "Password";
    F.PW.PasswordChar = true;
    F.SavePW.Caption = "Save Password";

    F.LnThreads.Caption = " concurrent lookups";
    F.mnThreads.MaxLength = 3;
    F.CkConvertIP.Caption = "Convert IP's to URL's";
    F.CkConvertURL.Caption = "Convert URL's to IP's";
    F.CCacheFailures.Caption = "Cache failures";
    F.CCacheFailures.Enabled = F.CkConvertIP.Value || F.CkConvertURL.Value;

    F.LRouterWait.Caption = "Wait";
    F.LRouterRetry.Caption = "Retry";
    F.LRouterDelay.Caption = "Delay";
    for (TextBox* t : {&F.RouterWait, &F.RouterRetry, &F.RouterDelay}) t->MaxLength = 1;

    F.CSysLog.Caption = "Use Router's System Log";
    F.CSaveSysLog.Caption = "Maintain DX history files";
    F.BReplaceToday.Caption = "Re-do Today";
    F.BTestConnection.Caption = "Test connection";
    F.BTestConnection.ToolTipText =
        "Log on to the Router with the address and password above and tell what it has";
    F.CkTimer.Caption = "Run unattended every 10 minutes";
    F.CkTimer.ToolTipText =
        "Switches the systemd user timer drovix.timer on or off (drovix /auto every 10 minutes)";
    F.BOpenLogFolder.Caption = "Open log folder";
    F.BOpenLogFolder.ToolTipText = "Show Stillbeacon's log folder in the file manager";
    F.CmnW.Caption = "Create mNW log file";
    F.CompAddr.Caption = "Monitor WAN Address";
    F.CompSB.Caption = "Compare with SB logs";
    F.CompDX.Caption = "Compare with other DX logs";
    F.CompDX.ToolTipText = "If checked, do not highlight events found in other Drovix logs";
    F.LmaxTdiff.Caption = "Discrepancies up to seconds are OK";
    F.MaxTdiff.MaxLength = 5;

    F.LTimeframe.Caption = "Include";
    const char* const timeframes[] = {"All", "New to DX", "2 days", "1 Week"};
    for (std::size_t i = 0; i < F.Include.size(); ++i) {
        F.Include[i].Caption = timeframes[i];
    }
    F.LDisplay.Caption = "Display";
    const char* const kinds[] = {"Inbound",    "Outbound",      "Messages", "Warnings",
                                 "DX history", "Unlogged only", "Ignored"};
    for (std::size_t i = 0; i < F.ShowMessages.size(); ++i) {
        F.ShowMessages[i].Caption = kinds[i];
    }
    F.LAutorun.Caption = "Auto-update SB logs";

    F.BCancelOptions.Caption = "&Cancel";
    F.BCancelOptions.ToolTipText = "Keep previous Setup";
    F.BCancelOptions.Visible = false;
    F.BOptions.Caption = "&Options";
    F.BOptions.ToolTipText = "Change options";

    // The System Log controls appear when a router with a System Log is found.
    for (Control* c :
         std::initializer_list<Control*>{&F.CSysLog, &F.CSaveSysLog, &F.CmnW, &F.BReplaceToday, &F.LAutorun,
                                         &F.mnThreads, &F.LnThreads, &F.MaxTdiff, &F.LmaxTdiff}) {
        c->Visible = false;
    }
    F.ShowMessages[5].Enabled = false;
    F.OptionsFrame.Visible = false;
    F.LHelp.Visible = false;
    F.LSetUp.Visible = false;
    F.OptionsFrame.Width = 0;
    LayoutOptionsPanel(F);
}
