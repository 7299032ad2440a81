#include "stdlog/StdLogParser.h"

#include <algorithm>
#include <map>
#include <string>

#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "form/Progress.h"
#include "resolve/AddressConversion.h"
#include "router/PageSource.h"
#include "router/RouterContact.h"
#include "router/RouterProblem.h"
#include "sblog/SbLogFolder.h"
#include "stdlog/CompareSBLogs.h"
#include "stdlog/ConvertPorts.h"
#include "stdlog/CopyData.h"

namespace {

constexpr std::string_view kRowMarkerWithCell = "<tr bgcolor=cccccc align=middle><td>";
// The column titles that open the Incoming and the Outgoing table.
constexpr std::string_view kInTitle = "Destination Port Number";
constexpr std::string_view kOutTitle = "Service/Port Number";
// Space the list keeps for its border and vertical scroll bar.
constexpr int kListChrome = 312;

void ShowRouterProblem(MainForm& F, const std::string& text) {
    F.WindowState = 0;
    ReportProblem(F, text, MsgIcon::None);
}

// Whether a table has a data row after its column title.
bool HasRows(std::string_view page, std::string_view columnTitle) {
    const std::size_t title = page.find(columnTitle);
    return title != std::string_view::npos &&
           page.find(kRowMarkerWithCell, title + 1) != std::string_view::npos;
}

// Whether either page is a log table at all, even one without rows.
bool HoldsLogTable(std::string_view inPage, std::string_view outPage) {
    return inPage.find(kInTitle) != std::string_view::npos ||
           outPage.find(kOutTitle) != std::string_view::npos;
}

void SetListsVisible(MainForm& F, bool visible) {
    F.InLog.Visible = visible;
    F.InCaption.Visible = visible;
    F.OutLog.Visible = visible;
    F.OutCaption.Visible = visible;
}

void ShowNoLogs(MainForm& F) {
    SetListsVisible(F, false);
    // The router has no records now; records of an earlier refresh must not stay behind in the
    // hidden lists, where "Save All" would write them into Stillbeacon's folder a second time.
    F.InLog.SetRows(1);
    F.OutLog.SetRows(1);
    F.LNoLogs.Top = F.BSaveHilited.Top + F.BSaveHilited.Height + 120;
    F.LNoLogs.Caption = "Logs are empty or unavailable";
    F.LNoLogs.Visible = true;
}

// A date and a time with a little room, an address and the port columns' headers.
constexpr const char* kDateSample = "8888/88/888";
constexpr const char* kTimeSample = "88:88:888";
constexpr const char* kAddressSample = "000.000.000.000";
constexpr const char* kInPortSample = "Lcl Port x";
constexpr const char* kOutLocalSample = "Local Addr xxx";
constexpr const char* kOutPortSample = "Rem Port xx";
// The margins a list draws around each cell's text.
constexpr int kCellMargin = 120;

// Header only, header texts centred, the two stamp columns sized for a date (yyyy/mm/dd) and a
// time.
void ResetList(MainForm& F, RecordGrid& list, std::initializer_list<const char*> headers) {
    list.SetRedraw(false);
    list.SetCols(static_cast<int>(headers.size()));
    list.SetRows(1);
    int c = 0;
    for (const char* h : headers) {
        list.SetTextMatrix(0, c, h);
        list.SetCellAlignmentAt(0, c, RecordGrid::Alignment::Center);
        ++c;
    }
    list.SetColWidth(0, F.ui.TextWidth(kDateSample));
    list.SetColWidth(1, F.ui.TextWidth(kTimeSample));
    list.SetColAlignment(0, RecordGrid::Alignment::General);
    list.SetColAlignment(1, RecordGrid::Alignment::Left);
}

// The widths the person set win; the address column takes what the others leave of the list's
// width, but never less than an address or its header needs (a list not laid out yet has no
// width), unless the person set it too.
void FitColumns(MainForm& F, RecordGrid& list, int addressColumn, const std::map<int, int>& setByHand) {
    for (const auto& [col, twips] : setByHand) list.SetColWidth(col, twips);
    if (setByHand.count(addressColumn)) return;
    int others = 0;
    for (int c = 0; c < list.Cols(); ++c)
        if (c != addressColumn) others += list.ColWidth(c);
    const int least =
        std::max(F.ui.TextWidth(kAddressSample), F.ui.TextWidth(list.TextMatrix(0, addressColumn)));
    list.SetColWidth(addressColumn, std::max(list.Width - others - kListChrome, least));
}

void FillIncoming(MainForm& F, std::string_view page, bool hasRows) {
    RecordGrid& list = F.InLog;
    ResetList(F, list, {"Date ", "Time ", "Remote Addr ", "Lcl Port "});
    list.SetColWidth(3, F.ui.TextWidth(kInPortSample));
    FitColumns(F, list, 2, F.display.InLogWidths);
    if (!hasRows) {
        F.InCaption.Caption = "Incoming Log (empty)";
    } else {
        CopyData(F, list, 2, page);
        ShowProgress(F, 0.25, "Lookup Incoming Addresses");
        ConvertAddr(F, list, 2);
        F.InCaption.Caption = "Incoming Log  (" + std::to_string(list.Rows() - 1) + " entries)";
    }
    list.SetRedraw(true);
}

void FillOutgoing(MainForm& F, std::string_view page, bool hasRows) {
    RecordGrid& list = F.OutLog;
    ResetList(F, list, {"Date ", "Time ", "Local Addr ", "Remote URL/IP ", "Rem Port "});
    list.SetColWidth(2, F.ui.TextWidth(kOutLocalSample));
    list.SetColWidth(4, F.ui.TextWidth(kOutPortSample));
    FitColumns(F, list, 3, F.display.OutLogWidths);
    if (!hasRows) {
        F.OutCaption.Caption = "Outgoing log (empty)";
    } else {
        CopyData(F, list, 2, page);
        ShowProgress(F, 0.75, "Lookup Outgoing addresses");
        ConvertAddr(F, list, 3);
        ConvertPorts(list, 4);
        F.OutCaption.Caption = "Outgoing log (" + std::to_string(list.Rows() - 1) + " entries)";
    }
    list.SetRedraw(true);
}

// What the unattended run's summary line reports of this refresh. The comparison ends quietly
// when it cannot list Stillbeacon's folder; the line says so instead of showing no flags.
void NoteSummary(MainForm& F) {
    RunSummary& s = F.Summary;
    s.Read = RunSummary::Source::StandardLogs;
    s.InListed = F.InLog.Rows() - 1;
    s.OutListed = F.OutLog.Rows() - 1;
    // Counts of an earlier refresh stay behind when this one had nothing to compare.
    s.InFlagged = s.InListed > 0 ? F.stdlog.InFlagCount : 0;
    s.OutFlagged = s.OutListed > 0 ? F.stdlog.OutFlagCount : 0;
    s.NotCompared.clear();
    if (!F.CompSB.Value) {
        s.NotCompared = "\"Compare with SB logs\" is off";
    } else if (s.InListed + s.OutListed > 0) {
        s.NotCompared = SbLogFolderProblem(F);
    }
}

}  // namespace

void ProcessStdLogs(MainForm& F) {
    std::string inPage, outPage;
    {
        RouterContact contact(F);
        inPage = FetchPage(F, F.router.InLogURL);
        if (!contact.Cancelled() && !F.UnloadRequested) outPage = FetchPage(F, F.router.OutLogURL);
        // A refresh the person cancelled leaves the lists as they were, and is no failure.
        if (contact.Cancelled()) return;
    }
    if (F.UnloadRequested) return;
    ProcessStdLogPages(F, inPage, outPage);
}

void ProcessStdLogPages(MainForm& F, std::string_view inPage, std::string_view outPage) {
    SetListsVisible(F, true);
    F.SysLog.Visible = false;
    F.SysStats.Visible = false;
    F.SysCaption.Visible = false;

    // A refusal first: a router that refuses the logon without a page is reachable all the same.
    if (LogonRefused(F, inPage) || LogonRefused(F, outPage)) {
        ShowRouterProblem(F, "Missing or invalid Password: " + RefusedLogonDetail(F));
        return;
    }
    if (inPage.empty() || outPage.empty()) {
        ShowRouterProblem(F, CantContactRouterText(F));
        return;
    }

    const bool inRows = HasRows(inPage, kInTitle);
    const bool outRows = HasRows(outPage, kOutTitle);
    if (!inRows && !outRows) {
        ShowNoLogs(F);
        // A login page, a redirect or garbage in place of both tables is not an empty log: a
        // scheduler must learn that the router was not read rather than see "0 listed".
        if (F.AutoMode && !HoldsLogTable(inPage, outPage)) {
            ShowRouterProblem(F, "Logs are empty or unavailable: the Router's pages hold no log table");
            return;
        }
        NoteSummary(F);
        return;
    }
    SetListsVisible(F, true);
    F.LNoLogs.Visible = false;

    ShowProgress(F, 0, "Processing Incoming Log");
    FillIncoming(F, inPage, inRows);
    if (F.UnloadRequested) return;
    ShowProgress(F, 0.5, "Processing Outgoing Log");
    FillOutgoing(F, outPage, outRows);
    if (F.UnloadRequested) return;

    ShowProgress(F, -1, "");
    F.ui.DoEvents();
    if (F.UnloadRequested) return;
    if (F.CompSB.Value) CompareSBLogs(F);
    NoteSummary(F);
}

int IncomingListWidthNeeded(MainForm& F) {
    const std::map<int, int>& setByHand = F.display.InLogWidths;
    const char* samples[] = {kDateSample, kTimeSample, kAddressSample, kInPortSample};
    int width = kListChrome;
    for (int c = 0; c < 4; ++c) {
        const auto set = setByHand.find(c);
        width += (set != setByHand.end() ? set->second : F.ui.TextWidth(samples[c])) + kCellMargin;
    }
    return width;
}
