#include "ui/SortBy.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <vector>

#include "form/Colours.h"
#include "form/MainForm.h"
#include "form/SysLogRecord.h"
#include "syslog/SysLogFinish.h"
#include "text/AddressText.h"
#include "ui/SysLogFilter.h"

namespace {

using R = SysLogRecord;

bool IsPortColumn(int column) {
    return column == R::RPort || column == R::LPort;
}

int BaseOrder(int column) {
    return IsPortColumn(column) ? NumericAscending : TextAscending;
}

// The number a cell starts with; a cell that starts with none counts as 0.
double LeadingNumber(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

bool IsNumber(const std::string& text) {
    if (text.empty()) return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return *end == '\0';
}

int CompareNumbers(double a, double b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

int CompareIgnoringCase(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return CompareNumbers(static_cast<double>(a.size()), static_cast<double>(b.size()));
}

int CompareTexts(const std::string& a, const std::string& b, int order) {
    switch (order) {
        case NumericAscending:
        case NumericDescending:
            return CompareNumbers(LeadingNumber(a), LeadingNumber(b));
        case TextAscending:
        case TextDescending:
            return CompareIgnoringCase(a, b);
        default:
            if (IsNumber(a) && IsNumber(b)) return CompareNumbers(LeadingNumber(a), LeadingNumber(b));
            return a.compare(b) < 0 ? -1 : a == b ? 0 : 1;
    }
}

std::string SortText(const RecordGrid& list, int row, int column) {
    const std::string_view text = list.TextMatrix(row, column);
    if (column != R::RemAddr) return std::string(text);
    std::string key = AddressSortText(text, list.TextMatrix(row, R::Date), list.TextMatrix(row, R::Time));
    key += ' ';
    key += text;
    return key;
}

// Order of two sort keys, whole numbers written without leading zeros.
bool KeyLess(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// For each separator, the record it was put before when the list was built (in the order of the
// sort keys, oldest first); -1 when no record came after it.
std::map<int, int> SeparatorAnchors(const RecordGrid& list) {
    std::vector<int> built;
    for (int row = 1; row < list.Rows(); ++row) built.push_back(row);
    std::stable_sort(built.begin(), built.end(), [&](int a, int b) {
        return KeyLess(list.TextMatrix(a, R::SortKey), list.TextMatrix(b, R::SortKey));
    });
    std::map<int, int> anchors;
    std::vector<int> waiting;
    for (int row : built) {
        if (IsSeparatorRow(list, row)) {
            waiting.push_back(row);
            continue;
        }
        for (int separator : waiting) anchors[separator] = row;
        waiting.clear();
    }
    for (int separator : waiting) anchors[separator] = -1;
    return anchors;
}

// The separators put back among the records sorted by date. A day separator stands where its day
// (the date of the record it was built before) begins: oldest first before the first record of
// that day or later, newest first before the first record of an earlier day. The new records'
// separator stays next to the record it was built before (oldest first right before it, newest
// first right after it), so the rows around it stay in time order.
std::vector<int> WithSeparatorsInTime(const RecordGrid& list, const std::vector<int>& records,
                                      const std::vector<int>& separators, bool descending) {
    std::map<int, std::vector<int>> byAnchor;
    std::vector<std::pair<std::string, int>> days;  // (the day it begins, separator), in build order
    for (const auto& [separator, anchor] : SeparatorAnchors(list)) {
        if (anchor >= 0 && list.CellBackColorAt(separator, R::Date) == DayChangeColour) {
            days.emplace_back(list.TextMatrix(anchor, R::Date), separator);
        } else {
            byAnchor[anchor].push_back(separator);
        }
    }
    if (descending) {
        for (auto& [anchor, group] : byAnchor) std::reverse(group.begin(), group.end());
        std::reverse(days.begin(), days.end());
    }
    std::vector<int> rows;
    rows.reserve(records.size() + separators.size());
    auto put = [&](int anchor) {
        const auto found = byAnchor.find(anchor);
        if (found != byAnchor.end()) rows.insert(rows.end(), found->second.begin(), found->second.end());
    };
    auto putDaysBefore = [&](std::string_view date) {
        for (auto& [day, separator] : days) {
            if (separator < 0 || (descending ? !(date < day) : date < day)) continue;
            rows.push_back(separator);
            separator = -1;
        }
    };
    if (descending) put(-1);
    for (int record : records) {
        putDaysBefore(list.TextMatrix(record, R::Date));
        if (!descending) put(record);
        rows.push_back(record);
        if (descending) put(record);
    }
    for (const auto& [day, separator] : days)
        if (separator >= 0) rows.push_back(separator);
    if (!descending) put(-1);
    return rows;
}

}  // namespace

int ChooseSortOrder(int column, int how, int lastColumn, int lastOrder) {
    const int base = BaseOrder(column);
    if (how == 0) {
        if (column == lastColumn) return IsAscendingOrder(lastOrder) ? base + 1 : base;
        return column == R::Date || column == R::Time ? base + 1 : base;
    }
    if (how >= GenericAscending && how <= TextDescending) return IsAscendingOrder(how) ? base : base + 1;
    return base;
}

std::string AddressSortText(std::string_view address, std::string_view date, std::string_view time) {
    std::string groups;
    const std::string_view bare = address.substr(0, address.find('('));
    if (IsIPAddress(bare)) {
        size_t start = 0;
        for (int g = 0; g < 4; ++g) {
            const size_t dot = bare.find('.', start);
            const std::string_view part = bare.substr(start, dot == std::string_view::npos ? dot : dot - start);
            groups.append(3 - std::min<size_t>(part.size(), 3), '0');
            groups += part;
            start = dot + 1;
        }
    } else {
        groups.assign(12, ' ');  // not an address: before every address
    }
    groups += date;
    groups += time.substr(0, 8);
    return groups;
}

void SortSysLogRows(RecordGrid& list, int column, int order) {
    if (column < 0 || column >= list.Cols()) return;
    const bool withNext = column < list.Cols() - 2;
    const bool descending = !IsAscendingOrder(order);
    std::vector<int> records, separators;
    std::vector<std::string> first(static_cast<size_t>(list.Rows())), second(first.size());
    for (int row = 1; row < list.Rows(); ++row) {
        (IsSeparatorRow(list, row) ? separators : records).push_back(row);
        first[static_cast<size_t>(row)] = SortText(list, row, column);
        if (withNext) second[static_cast<size_t>(row)] = SortText(list, row, column + 1);
    }
    auto compare = [&](int a, int b) {
        const auto i = static_cast<size_t>(a), j = static_cast<size_t>(b);
        const int c = CompareTexts(first[i], first[j], order);
        return c != 0 ? c : CompareTexts(second[i], second[j], order);
    };
    std::stable_sort(records.begin(), records.end(),
                     [&](int a, int b) { return descending ? compare(b, a) < 0 : compare(a, b) < 0; });

    const bool byDate = column == R::Date;
    for (int separator : separators) list.SetRowHeight(separator, byDate ? SeparatorRowHeight : 0);
    std::vector<int> rows = records;
    if (byDate) {
        rows = WithSeparatorsInTime(list, records, separators, descending);
    } else {
        rows.insert(rows.end(), separators.begin(), separators.end());
    }
    list.KeepRows(rows);
}

void SortBy(MainForm& F, int column, int how) {
    RecordGrid& list = F.SysLog;
    if (!list.HasRecords() || column < 0 || column >= list.Cols()) return;
    const int order = ChooseSortOrder(column, how, F.display.SortColumn, F.display.SortOrder);
    SortSysLogRows(list, column, order);
    list.SetTopRow(1);
    list.SetRow(0);
    list.SetCol(column);
    F.display.SortColumn = column;
    F.display.SortOrder = order;
    SysFilter_Change(F);  // the sort moved the rows the filter hides and set the separators anew
}
