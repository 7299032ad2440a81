#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "form/Colours.h"
#include "form/RecordGrid.h"

// Shared by the standard-log tests: the hand-written fixtures and lists built row by row.

inline std::string StdLogTestData(const std::string& name) {
    return ReadFileBytes(std::string(DROVIX_TEST_DATA) + "/stdlog/" + name);
}

// Header row plus one row per entry; each entry gives every column of the row.
inline void FillList(RecordGrid& list, int cols, std::initializer_list<std::vector<std::string>> rows) {
    list.SetCols(cols);
    list.SetRows(1);
    for (const auto& cells : rows) {
        const int r = list.Rows();
        list.SetRows(r + 1);
        for (int c = 0; c < cols && c < static_cast<int>(cells.size()); ++c)
            list.SetTextMatrix(r, c, cells[c]);
    }
}

// Lines joined with CR LF, as Stillbeacon writes its files.
inline std::string CrLfLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

// What a comparison left on each record of a list: its stamp ("unstamped" when it has none) and,
// unless it is white, its colour; one list to compare a whole outcome at once.
inline std::vector<std::string> Marks(const RecordGrid& list) {
    std::vector<std::string> marks;
    for (int r = 1; r < list.Rows(); ++r) {
        const std::string stamp = std::string(list.TextMatrix(r, 0)) + " " + std::string(list.TextMatrix(r, 1));
        const Colour colour = list.CellBackColorAt(r, 0);
        marks.push_back((stamp == " " ? "unstamped" : stamp) +
                        (colour == FlagColour ? " flagged" : colour == IgnoreColour ? " hidden" : ""));
    }
    return marks;
}
