#include "resolve/SysLogLookups.h"

#include <vector>

#include "form/MainForm.h"
#include "resolve/RunLookups.h"

namespace {
constexpr int DirColumn = 2;
constexpr int RemoteAddressColumn = 4;
constexpr int RemoteNameColumn = 5;
}  // namespace

int LookupSysLogNames(MainForm& F, RecordGrid& list, bool show, int left, int top) {
    LookupTable table;
    std::vector<int> rows;
    for (int row = 1; row < list.Rows(); ++row) {
        const std::string_view dir = list.TextMatrix(row, DirColumn);
        const std::string_view address = list.TextMatrix(row, RemoteAddressColumn);
        const std::string_view name = list.TextMatrix(row, RemoteNameColumn);
        if ((dir != "I" && dir != "P") || address.empty() || !(name.empty() || name == address)) continue;
        table.push_back({std::string(address), std::string(name)});
        rows.push_back(row);
    }
    if (table.empty()) return 0;
    const int result = RunLookups(F, table, F.LookupThreads, F.WinNT5, F.ResolveNetBios, show, left, top);
    for (size_t k = 0; k < rows.size(); ++k) {
        const std::string& name = table[k].name;
        // Entries the run did not reach (after Cancel) keep what they had.
        if (name != list.TextMatrix(rows[k], RemoteAddressColumn))
            list.SetTextMatrix(rows[k], RemoteNameColumn, name);
    }
    return result;
}
