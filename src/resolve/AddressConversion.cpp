#include "resolve/AddressConversion.h"

#include "form/EventPacer.h"
#include "form/MainForm.h"
#include "form/OsServices.h"
#include "form/Progress.h"
#include "resolve/LookupCache.h"
#include "resolve/NameLookup.h"
#include "text/AddressText.h"

namespace {

// System Log list columns.
constexpr int RemoteAddressColumn = 4;
constexpr int RemoteNameColumn = 5;
constexpr int LocalAddressColumn = 7;

// One run of ConvertAddr over one column of one list.
class ColumnConversion {
  public:
    ColumnConversion(MainForm& F, RecordGrid& list, int column)
        : F(F), list(list), column(column), sysLog(&list == &F.SysLog) {
        cache.enabled = F.CCacheFailures.Value;
    }

    void Run() {
        if (!LoadFailureCache(F, cache)) return;
        const bool wasBusy = F.Busy;
        F.Busy = true;
        F.QuitRequested = false;
        const std::string quitCaption = F.BQuit.Caption;
        F.BQuit.Caption = "Cancel";
        ShowStatusLabel();
        ConvertRows();
        F.LNoLogs.Visible = false;
        SaveFailureCache(F, cache);
        F.BQuit.Caption = quitCaption;
        F.QuitRequested = false;
        // A caller that was busy before (the System Log refresh) still is.
        F.Busy = wasBusy;
    }

  private:
    std::string_view Cell(int row, int col) const { return list.TextMatrix(row, col); }

    bool IsOwnWanAddress(std::string_view text) const {
        return !F.WanAddress.empty() && text == F.WanAddress;
    }

    // Whether a System Log row needs a lookup in this run; used to count the work ahead.
    bool SysLogRowPlanned(int row) const {
        const std::string_view remote = Cell(row, RemoteAddressColumn);
        const std::string_view name = Cell(row, RemoteNameColumn);
        if (!remote.empty() && name.empty() && !InFailureCache(cache, remote)) return true;
        if (remote.empty() && !name.empty() && !InFailureCache(cache, name)) return true;
        const std::string_view local = Cell(row, LocalAddressColumn);
        return column == LocalAddressColumn && !local.empty() && !IsOwnWanAddress(local);
    }

    void ShowStatusLabel() {
        planned = 0;
        for (int row = 1; row < list.Rows(); ++row) {
            if (sysLog ? SysLogRowPlanned(row) : !Cell(row, column).empty()) ++planned;
        }
        if (sysLog) {
            F.LNoLogs.Left = F.SysStats.Left;
            F.LNoLogs.Top = F.SysStats.Top;
            F.LNoLogs.Width = F.SysStats.Width;
            F.LNoLogs.Height = F.SysStats.Height;
        } else {
            const Button& beside = F.BSaveHilited;
            F.LNoLogs.Left = beside.Left + beside.Width + 120;
            F.LNoLogs.Top = beside.Top;
            F.LNoLogs.Height = beside.Height;
            F.LNoLogs.Width = F.ui.TextWidth(
                "Converting IP-URL's  00000 / 00000  (to stop: click 'Cancel' once, then wait)");
        }
        F.LNoLogs.Visible = true;
        F.ui.DoEvents();
    }

    double Fraction() const { return planned > 0 ? static_cast<double>(done) / planned : 0.0; }

    bool Skipped(int row, const std::string& addr) const {
        if (addr.empty()) return true;
        if (sysLog) {
            if (column == RemoteAddressColumn && !Cell(row, RemoteNameColumn).empty()) return true;
            if (column == RemoteNameColumn && !Cell(row, RemoteAddressColumn).empty()) return true;
            // The router's own WAN address is neither looked up nor annotated.
            if (column == LocalAddressColumn && IsOwnWanAddress(addr)) return true;
        }
        return InFailureCache(cache, addr);
    }

    void ConvertRows() {
        for (int row = 1; row < list.Rows() && done < planned; ++row) {
            // A copy: the answer is written back into this row.
            const std::string addr(Cell(row, column));
            F.LNoLogs.Caption = "Converting IP-URL's  " + std::to_string(done + 1) + " / " +
                                std::to_string(planned) + "  (to stop: click 'Cancel' once, then wait)";
            if (sysLog && pacer.Due()) ShowProgress(F, Fraction(), "Lookup IP's");
            if (Skipped(row, addr)) continue;
            ++done;
            const auto result = Answer(addr);
            if (result) WriteAnswer(row, addr, *result);
            if (F.QuitRequested) break;
        }
    }

    // The name or address for addr, NUL when none was found; nothing when this run converts
    // neither the direction addr needs nor knew an answer before.
    std::optional<std::string> Answer(const std::string& addr) {
        const std::string known = CacheLookup(F, addr);
        if (!known.empty()) return known;
        F.ui.DoEvents();
        std::string result;
        if (IsIPAddress(addr)) {
            if (!F.ConvertIPInEffect) return std::nullopt;
            ShowProgress(F, Fraction(), "Lookup IP:  " + addr);
            result = NameByAddr(F, addr);
        } else {
            if (!F.ConvertURLInEffect) return std::nullopt;
            result = AddrByName(F, addr);
        }
        result = TrimNull(result);
        if (result.empty()) {
            result = NotFound;
            AppendFailure(cache, addr);
        }
        RecordLookup(F.resolve.recent, addr, result);
        return result;
    }

    void WriteAnswer(int row, const std::string& addr, const std::string& result) {
        const bool found = !result.empty() && result != NotFound;
        if (!sysLog) {
            if (found) list.SetTextMatrix(row, column, addr + "(" + result + ")");
            return;
        }
        const std::string value = found ? result : std::string();
        if (column == RemoteAddressColumn) {
            list.SetTextMatrix(row, RemoteNameColumn, value);
        } else if (column == RemoteNameColumn) {
            list.SetTextMatrix(row, RemoteAddressColumn, value);
        } else if (column == LocalAddressColumn && found && value != "?") {
            list.SetTextMatrix(row, column, addr + "(" + value + ")");
        }
    }

    MainForm& F;
    RecordGrid& list;
    const int column;
    const bool sysLog;
    FailureCache cache;
    EventPacer pacer;
    int planned = 0;
    int done = 0;
};

// Where a cell of a list stands on the window, in twips.
int CellLeft(const RecordGrid& list, int column) {
    int left = list.Left;
    for (int c = 0; c < column && c < list.Cols(); ++c) left += list.ColWidth(c);
    return left;
}

int CellTop(const RecordGrid& list, int row) {
    int top = list.Top + (list.Rows() > 0 ? list.RowHeight(0) : RecordGrid::DefaultRowHeight);
    for (int r = list.TopRow(); r < row; ++r) top += list.RowHeight(r);
    return top;
}

}  // namespace

void ConvertAddr(MainForm& F, RecordGrid& list, int column) {
    const MousePointer pointer = F.ui.GetMousePointer();
    F.ui.SetMousePointer(MousePointer::Hourglass);
    if (F.ConvertIPInEffect || F.ConvertURLInEffect) ColumnConversion(F, list, column).Run();
    ShowProgress(F, -1, "");
    F.ui.SetMousePointer(pointer);
}

void IpUrlLookup(MainForm& F, RecordGrid& list, int column) {
    F.ui.SetMousePointer(MousePointer::Hourglass);
    const int row = list.Row();
    std::string text(list.TextMatrix(row, column));
    const size_t paren = text.find('(');
    if (paren != std::string::npos) text.resize(paren);

    std::string result = CacheLookup(F, text);
    if (result.empty()) {
        result = TrimNull(IsIPAddress(text) ? NameByAddr(F, text) : AddrByName(F, text));
        if (result.empty()) result = NotFound;
        RecordLookup(F.resolve.recent, text, result);
    }
    const bool found = result != NotFound;
    F.LLookup.Text = found ? text + "  ==>  " + result : "Lookup did not find " + text;
    F.LLookup.Left = CellLeft(list, column);
    F.LLookup.Top = CellTop(list, row);
    F.LLookup.Width = F.ui.TextWidth("MMMM" + F.LLookup.Text);
    F.LLookup.Height = list.RowHeight(row);
    F.LLookup.Visible = true;
    F.ui.SetMousePointer(MousePointer::Default);
}
