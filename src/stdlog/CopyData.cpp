#include "stdlog/CopyData.h"

#include <algorithm>
#include <string>
#include <vector>

#include "form/EventPacer.h"
#include "form/MainForm.h"

namespace {

constexpr std::string_view kRowMarker = "<tr bgcolor=cccccc align=middle>";
constexpr std::string_view kCellOpen = "<td>";
constexpr std::string_view kCellClose = "</td>";
constexpr std::string_view kTableEnd = "</table>";
constexpr std::size_t npos = std::string_view::npos;

// The row's texts are set in one go, the cells before firstColumn left empty.
void FillCells(RecordGrid& list, int row, int firstColumn, std::string_view rowText,
               std::vector<std::string_view>& texts) {
    const int last = list.Cols() - 1;
    texts.assign(static_cast<std::size_t>(std::max(last + 1, 0)), {});
    std::size_t from = 0;
    for (int c = firstColumn; c <= last; ++c) {
        const std::size_t open = rowText.find(kCellOpen, from);
        if (open == npos) break;  // no further cell: the rest of the row stays empty
        const std::size_t textStart = open + kCellOpen.size();
        const std::size_t close = rowText.find(kCellClose, textStart);
        if (close == npos) {
            // An unclosed cell stays empty; the search for the next cell goes on after it.
            from = open + 1;
            continue;
        }
        texts[static_cast<std::size_t>(c)] = rowText.substr(textStart, close - textStart);
        list.SetCellAlignmentAt(row, c,
                                c == last ? RecordGrid::Alignment::Right : RecordGrid::Alignment::Left);
        from = close + kCellClose.size();
    }
    list.SetRowTexts(row, texts);
}

}  // namespace

void CopyData(MainForm& F, RecordGrid& list, int firstColumn, std::string_view page) {
    std::size_t rowPos = page.find(kRowMarker);
    if (rowPos == npos) return;
    const std::size_t tableEnd = page.find(kTableEnd, rowPos);
    if (tableEnd == npos) return;
    // A page holds thousands of rows: window events run every few milliseconds, not per row.
    EventPacer pacer;
    std::vector<std::string_view> texts;
    while (rowPos < tableEnd) {
        if (pacer.Due()) F.ui.DoEvents();
        if (F.UnloadRequested) return;
        const std::size_t cellStart = page.find(kCellOpen, rowPos + kRowMarker.size());
        if (cellStart == npos || cellStart >= tableEnd) return;
        // A row ends where the next one starts, and never reaches past the end of its table.
        std::size_t nextRow = page.find(kRowMarker, cellStart);
        if (nextRow == npos || nextRow > tableEnd) nextRow = tableEnd;
        const std::string_view rowText = page.substr(cellStart, nextRow - cellStart);
        const int row = list.Rows();
        list.SetRows(row + 1);
        FillCells(list, row, firstColumn, rowText, texts);
        rowPos = nextRow;
    }
}
