#include "ui/SortBy.h"

#include <cctype>
#include <cstdlib>

#include "form/MainForm.h"
#include "form/SysLogRecord.h"
#include "text/AddressText.h"

namespace {

using R = SysLogRecord;

bool IsPortColumn(int column) {
    return column == R::RPort || column == R::LPort;
}

int BaseOrder(int column) {
    return IsPortColumn(column) ? NumericAscending : TextAscending;
}

bool IsAscending(int order) {
    return order == GenericAscending || order == NumericAscending || order == TextAscending;
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

template <typename Row>
std::string SortText(const Row& row, int column) {
    const std::string& text = row[static_cast<size_t>(column)].text;
    if (column != R::RemAddr) return text;
    return AddressSortText(text, row[R::Date].text, row[R::Time].text) + " " + text;
}

}  // namespace

int ChooseSortOrder(int column, int how, int lastColumn, int lastOrder) {
    const int base = BaseOrder(column);
    if (how == 0) {
        if (column == lastColumn) return IsAscending(lastOrder) ? base + 1 : base;
        return column == R::Date || column == R::Time ? base + 1 : base;
    }
    if (how >= GenericAscending && how <= TextDescending) return IsAscending(how) ? base : base + 1;
    return base;
}

std::string AddressSortText(const std::string& address, const std::string& date, const std::string& time) {
    std::string groups;
    const std::string bare = address.substr(0, address.find('('));
    if (IsIPAddress(bare)) {
        size_t start = 0;
        for (int g = 0; g < 4; ++g) {
            const size_t dot = bare.find('.', start);
            const std::string part = bare.substr(start, dot == std::string::npos ? dot : dot - start);
            groups += std::string(3 - std::min<size_t>(part.size(), 3), '0') + part;
            start = dot + 1;
        }
    } else {
        groups.assign(12, ' ');  // not an address: before every address
    }
    return groups + date + time.substr(0, 8);
}

void SortSysLogRows(RecordGrid& list, int column, int order) {
    if (column < 0 || column >= list.Cols()) return;
    const bool withNext = column < list.Cols() - 2;
    const bool descending = !IsAscending(order);
    auto compare = [&](const auto& a, const auto& b) {
        int c = CompareTexts(SortText(a, column), SortText(b, column), order);
        if (c == 0 && withNext) c = CompareTexts(SortText(a, column + 1), SortText(b, column + 1), order);
        return c;
    };
    list.SortRows(
        1, [&](const auto& a, const auto& b) { return descending ? compare(b, a) < 0 : compare(a, b) < 0; });
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
}
