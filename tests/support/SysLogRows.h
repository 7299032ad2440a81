#pragma once
#include <string>
#include <vector>

#include "form/RecordGrid.h"
#include "form/SysLogRecord.h"
#include "syslog/SysLogLists.h"

// Fills a System Log list with rows of cells in column order (date, time, dir, prot, rem addr,
// rem url, r port, local addr, l port, message, tag, key); missing cells stay empty, so an empty
// row is a separator.
inline void FillSysLogRows(RecordGrid& list, const std::vector<std::vector<std::string>>& rows) {
    list.SetCols(SysLogColumns);
    list.SetRows(static_cast<int>(rows.size()) + 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        for (size_t c = 0; c < rows[i].size(); ++c)
            list.SetTextMatrix(static_cast<int>(i) + 1, static_cast<int>(c), rows[i][c]);
    }
}

// As FillSysLogRows, with every record that names no tag of its own tagged "R", as the refresh
// leaves the router's records; empty rows stay separators.
inline void FillRouterRows(RecordGrid& list, const std::vector<std::vector<std::string>>& rows) {
    FillSysLogRows(list, rows);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].empty() && rows[i].size() <= SysLogRecord::RowTag)
            list.SetTextMatrix(static_cast<int>(i) + 1, SysLogRecord::RowTag, "R");
    }
}

// One column of the list's records, top to bottom.
inline std::vector<std::string> ColumnOf(const RecordGrid& list, int col) {
    std::vector<std::string> texts;
    for (int r = 1; r < list.Rows(); ++r) texts.emplace_back(list.TextMatrix(r, col));
    return texts;
}
