#include "ui/SysLogFilter.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "form/MainForm.h"
#include "form/SysLogRecord.h"
#include "syslog/SysLogFinish.h"

namespace {

using R = SysLogRecord;

std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool RecordHolds(const RecordGrid& list, int row, const std::string& folded) {
    for (int c = 0; c <= R::Message && c < list.Cols(); ++c) {
        if (Folded(std::string(list.TextMatrix(row, c))).find(folded) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

void SysFilter_Change(MainForm& F) {
    RecordGrid& list = F.SysLog;
    const std::string folded = Folded(F.SysFilter.Text);
    // Only a list sorted by date has its separators between the days.
    const int separatorHeight = folded.empty() && F.display.SortColumn == R::Date ? SeparatorRowHeight : 0;
    for (int row = 1; row < list.Rows(); ++row) {
        const bool separator = IsSeparatorRow(list, row);
        const int height = separator                                          ? separatorHeight
                           : folded.empty() || RecordHolds(list, row, folded) ? RecordGrid::DefaultRowHeight
                                                                              : 0;
        if (list.RowHeight(row) != height) list.SetRowHeight(row, height);
    }
    list.SetTopRow(1);
}

void SysFilter_Escape(MainForm& F) {
    if (F.SysFilter.Text.empty()) return;
    F.SysFilter.Text.clear();
    SysFilter_Change(F);
}
