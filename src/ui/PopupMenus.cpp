#include "ui/PopupMenus.h"

#include <algorithm>
#include <functional>
#include <map>

#include "form/MainForm.h"
#include "form/SysLogRecord.h"
#include "resolve/AddressConversion.h"
#include "syslog/RecordMarking.h"
#include "ui/SortBy.h"

namespace {

using R = SysLogRecord;

// The System Log menu opens a little up and left of the pointer, so the first item is under it.
constexpr int kSysMenuOffset = 72;

void OpenMenu(MainForm& F, const PopupMenu& menu, int x, int y) {
    // LLookup, shown by the lookup item, stays on the cell the mouse rests on afterwards.
    F.display.LookupList = nullptr;
    const std::string chosen = F.ui.ShowPopupMenu(menu, x, y);
    if (!chosen.empty()) PopupMenuItem_Click(F, chosen);
}

// The standard lists: the row under the mouse becomes current whatever the button, so a click
// on the header row (or below the last row) never opens the menu for an earlier record.
void StandardListMouseUp(MainForm& F, RecordGrid& list, int addressColumn, const PopupMenu& menu,
                         const GridPoint& at) {
    if (at.Row < 0) return;
    list.SetRow(at.Row);
    list.SetCol(addressColumn);
    if (at.Row >= 1) OpenMenu(F, menu, list.Left + at.X, list.Top + at.Y);
}

void CopyCell(MainForm& F, const RecordGrid& list, int column) {
    F.ui.SetClipboardText(CopyText(list.TextMatrix(list.Row(), column)));
}

// A cell as one field of a tab-separated line: its own tabs and line breaks would split it.
std::string Field(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

std::string ListedRowsText(const RecordGrid& list) {
    std::string text;
    for (int row = 0; row < list.Rows(); ++row) {
        if (row > 0 && list.RowHeight(row) == 0) continue;  // filtered out
        std::string line;
        bool first = true, blank = true;
        for (int c = 0; c < list.Cols(); ++c) {
            if (list.ColWidth(c) <= 0) continue;  // a column kept for the program alone
            if (!first) line += '\t';
            first = false;
            line += Field(std::string(list.TextMatrix(row, c)));
            blank = blank && list.TextMatrix(row, c).empty();
        }
        if (row == 0 || !blank) text += line + "\r\n";  // a day separator carries nothing to paste
    }
    return text;
}

std::string CopyText(std::string_view cell) {
    return std::string(cell.substr(0, cell.find('(')));
}

bool SysLogCellOpensMenu(const RecordGrid& list, int row, int col) {
    if (row < 1 || row >= list.Rows()) return false;
    if (col != R::RemAddr && col != R::RemURL && col != R::Message) return false;
    const std::string_view text = list.TextMatrix(row, col);
    return !text.empty() && text != "?";
}

void InLog_MouseUp(MainForm& F, const GridPoint& at) {
    StandardListMouseUp(F, F.InLog, 2, F.mpopIn, at);
}

void OutLog_MouseUp(MainForm& F, const GridPoint& at) {
    StandardListMouseUp(F, F.OutLog, 3, F.mpopOut, at);
}

void SysLog_MouseUp(MainForm& F, const GridPoint& at) {
    RecordGrid& list = F.SysLog;
    if (at.Row == 0 && at.Col >= 0) {
        if (F.BSaveHilited.Enabled) {
            F.ui.MsgBox(
                "You can't change the record sequence while records are waiting to be added to the SB logs.",
                MsgIcon::Exclamation, MsgButtons::OK, F.Title);
            return;
        }
        SortBy(F, at.Col, 0);
        return;
    }
    // A click never scrolls the list.
    const int top = list.TopRow();
    SysLog_Click(F, at);
    list.SetTopRow(top);
}

void SysLog_Click(MainForm& F, const GridPoint& at) {
    RecordGrid& list = F.SysLog;
    if (at.Row < 1 || at.Col < 0 || at.Row >= list.Rows() || at.Col >= list.Cols()) return;
    list.SetRow(at.Row);
    list.SetCol(at.Col);
    if (!SysLogCellOpensMenu(list, at.Row, at.Col)) return;
    // Only an address can be looked up.
    for (MenuItem& item : F.mpopsys.Items) {
        if (item.Name == "mpopSysLookup") item.Visible = at.Col != R::Message;
    }
    OpenMenu(F, F.mpopsys, list.Left + at.X - kSysMenuOffset, list.Top + at.Y - kSysMenuOffset);
}

void mpopInCopy_Click(MainForm& F) {
    CopyCell(F, F.InLog, 2);
}
void mpopOutCopy_Click(MainForm& F) {
    CopyCell(F, F.OutLog, 3);
}
void mpopSysCopy_Click(MainForm& F) {
    CopyCell(F, F.SysLog, F.SysLog.Col());
}
void mpopInCopyRows_Click(MainForm& F) {
    F.ui.SetClipboardText(ListedRowsText(F.InLog));
}
void mpopOutCopyRows_Click(MainForm& F) {
    F.ui.SetClipboardText(ListedRowsText(F.OutLog));
}
void mpopSysCopyRows_Click(MainForm& F) {
    F.ui.SetClipboardText(ListedRowsText(F.SysLog));
}
void mpopInLookup_Click(MainForm& F) {
    IpUrlLookup(F, F.InLog, 2);
}
void mpopOutLookup_Click(MainForm& F) {
    IpUrlLookup(F, F.OutLog, 3);
}
void mpopSysLookup_Click(MainForm& F) {
    IpUrlLookup(F, F.SysLog, F.SysLog.Col());
}

void mpopSysMark_Click(MainForm& F) {
    SysMark(F, MarkThis);
}
void mpopSysMarkAll_Click(MainForm& F) {
    SysMark(F, MarkAllSimilar);
}
void mpopSysUnmark_Click(MainForm& F) {
    SysMark(F, UnmarkThis);
}
void mpopSysUnmarkAll_Click(MainForm& F) {
    SysMark(F, UnmarkAllSimilar);
}

void PopupMenuItem_Click(MainForm& F, const std::string& item) {
    static const std::map<std::string, std::function<void(MainForm&)>> handlers = {
        {"mpopInLookup", mpopInLookup_Click},         {"mpopInCopy", mpopInCopy_Click},
        {"mpopOutLookup", mpopOutLookup_Click},       {"mpopOutCopy", mpopOutCopy_Click},
        {"mpopSysLookup", mpopSysLookup_Click},       {"mpopSysCopy", mpopSysCopy_Click},
        {"mpopInCopyRows", mpopInCopyRows_Click},     {"mpopOutCopyRows", mpopOutCopyRows_Click},
        {"mpopSysCopyRows", mpopSysCopyRows_Click},   {"mpopSysMark", mpopSysMark_Click},
        {"mpopSysMarkAll", mpopSysMarkAll_Click},     {"mpopSysUnmark", mpopSysUnmark_Click},
        {"mpopSysUnmarkAll", mpopSysUnmarkAll_Click},
    };
    const auto found = handlers.find(item);
    if (found != handlers.end()) found->second(F);
}
