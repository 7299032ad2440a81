#include "ui/Layout.h"

#include <algorithm>

#include "form/MainForm.h"
#include "form/Progress.h"
#include "stdlog/StdLogParser.h"
#include "syslog/SysLogLists.h"
#include "ui/ListMouse.h"
#include "ui/StatusLine.h"

namespace {

constexpr int kMargin = 48;
constexpr int kButtonTop = 120;
constexpr int kButtonHeight = 375;
constexpr int kGap = 120;
constexpr int kCaptionHeight = 255;
constexpr int kLabelHeight = 285;
constexpr int kStatsHeight = 690;  // the header and the one row of values
constexpr int kFilterWidth = 3600;

void Place(Control& c, int left, int top, int width, int height) {
    c.Left = left;
    c.Top = top;
    c.Width = std::max(width, 0);
    c.Height = std::max(height, 0);
}

void Place(RecordGrid& g, int left, int top, int width, int height) {
    g.Left = left;
    g.Top = top;
    g.Width = std::max(width, 0);
    g.Height = std::max(height, 0);
}

// The button row along the top, with the WAN address (or the progress display) beside it.
void PlaceButtonRow(MainForm& F, int width) {
    int x = kGap;
    // A button is at least its design width, wider when its caption needs it ("Update mNW log").
    auto next = [&](Button& b, int w) {
        w = std::max(w, F.ui.TextWidth(b.Caption) + 2 * kGap);
        Place(b, x, kButtonTop, w, kButtonHeight);
        x += w + kGap;
    };
    next(F.BRun, 1215);
    next(F.BSaveAll, 1215);
    next(F.BSaveHilited, 1575);
    next(F.BOptions, 1215);
    Place(F.BCancelOptions, x, kButtonTop, 1215, kButtonHeight);
    Place(F.BQuit, width - kGap - 1215, kButtonTop, 1215, kButtonHeight);

    const int wanLeft = x + kGap;
    const int labelWidth = F.ui.TextWidth(F.LIPA.Caption) + kGap;
    Place(F.LIPA, wanLeft, kButtonTop + 45, labelWidth, kLabelHeight);
    Place(F.CurrWanAddr, wanLeft + labelWidth, kButtonTop + 45, F.ui.TextWidth("000.000.000.000") + kGap,
          kLabelHeight);
    F.ProgressWidth = std::max(F.BQuit.Left - kGap - wanLeft, 1200);
    LayoutProgress(F);
}

void PlaceStandardLists(MainForm& F, int width, int height) {
    const int top = F.BSaveAll.Top + F.BSaveAll.Height + 108;
    const int innerWidth = width - 2 * kMargin;
    if (width >= height * 3 / 2 && innerWidth * 36 / 100 >= IncomingListWidthNeeded(F)) {
        // Wide window: the two lists side by side, 36 % of the width for the Incoming list, as
        // long as that holds its dates and addresses whole.
        const int inWidth = innerWidth * 36 / 100;
        const int listHeight = height - top - kCaptionHeight - kMargin;
        Place(F.InCaption, kMargin, top, inWidth, kCaptionHeight);
        Place(F.InLog, kMargin, top + kCaptionHeight, inWidth, listHeight);
        const int outLeft = kMargin + inWidth + kMargin;
        Place(F.OutCaption, outLeft, top, width - outLeft - kMargin, kCaptionHeight);
        Place(F.OutLog, outLeft, top + kCaptionHeight, width - outLeft - kMargin, listHeight);
    } else {
        const int listHeight = (height - top - 2 * kCaptionHeight - 96 - kMargin) / 2;
        Place(F.InCaption, kMargin, top, innerWidth, kCaptionHeight);
        Place(F.InLog, kMargin, top + kCaptionHeight, innerWidth, listHeight);
        const int outTop = F.InLog.Top + F.InLog.Height + 96;
        Place(F.OutCaption, kMargin, outTop, innerWidth, kCaptionHeight);
        Place(F.OutLog, kMargin, outTop + kCaptionHeight, innerWidth,
              height - outTop - kCaptionHeight - kMargin);
    }
}

void PlaceSysLogLists(MainForm& F, int width, int height) {
    const int captionTop = F.BSaveAll.Top + F.BSaveAll.Height + 108;
    // The filter box at the right end of the caption's line, as high as a text field.
    const int filterWidth = std::min(kFilterWidth, (width - 2 * kMargin) / 3);
    Place(F.SysFilter, width - kMargin - filterWidth, captionTop - (kLabelHeight - kCaptionHeight),
          filterWidth, kLabelHeight);
    Place(F.SysCaption, kMargin, captionTop, F.SysFilter.Left - kGap - kMargin, kCaptionHeight);
    const int top = captionTop + kCaptionHeight;
    Place(F.SysStats, kMargin, top, width - 2 * kMargin, kStatsHeight);
    FitStatsColumns(F);
    const int listTop = top + kStatsHeight + kMargin;
    Place(F.SysLog, kMargin, listTop, width - 2 * kMargin, height - listTop - kMargin);
}

}  // namespace

void ChangeLayout(MainForm& F) {
    const int width = std::max(F.Window.Width, MinimumWindowWidth);
    const int windowHeight = std::max(F.Window.Height, MinimumWindowHeight);
    PlaceStatusLine(F, width, windowHeight);
    const int height = windowHeight - StatusLineHeight;
    PlaceButtonRow(F, width);

    F.OptionsFrame.Left = kGap;
    F.OptionsFrame.Top = F.BSaveAll.Top + F.BSaveAll.Height + 108;

    if (F.SysLog.Visible || F.SysStats.Visible) {
        PlaceSysLogLists(F, width, height);
    } else {
        PlaceStandardLists(F, width, height);
    }
    // The notice and the conversion progress sit below the buttons, where the lists start.
    Place(F.LNoLogs, kMargin, F.BSaveHilited.Top + F.BSaveHilited.Height + 120, width - 2 * kMargin,
          kLabelHeight);
}

void Form_Resize(MainForm& F) {
    // The cells move under a lookup answer.
    HideLookupAnswer(F);
    if (F.WindowState == 0) {
        F.Window.Width = std::max(F.Window.Width, MinimumWindowWidth);
        F.Window.Height = std::max(F.Window.Height, MinimumWindowHeight);
    }
    ChangeLayout(F);
}
