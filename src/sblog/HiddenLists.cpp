#include "sblog/HiddenLists.h"

#include <algorithm>

#include "form/MainForm.h"

namespace {

bool EntryMatches(std::string_view entry, std::string_view address) {
    if (!entry.starts_with("M ")) {
        // An empty entry (a bare "-" line in the hide list) names nothing; taken literally it
        // would be contained in every address and hide them all.
        return !entry.empty() && (entry.find(address) != std::string_view::npos ||
                                  address.find(entry) != std::string_view::npos);
    }
    std::string_view p = entry.substr(2);
    if (!p.ends_with(':')) return address == p;
    p.remove_suffix(1);
    if (p.starts_with(':')) {
        p.remove_prefix(1);
        return !p.empty() && address.find(p) != std::string_view::npos;
    }
    return !p.empty() && address.starts_with(p);
}

}  // namespace

bool CkSBAddr(const std::vector<std::string>& addrList, std::string_view address) {
    if (address.empty()) return false;
    return std::any_of(addrList.begin(), addrList.end(),
                       [&](const std::string& e) { return EntryMatches(e, address); });
}

bool CkSBPort(const std::vector<std::string>& portList, std::string_view port) {
    return std::find(portList.begin(), portList.end(), port) != portList.end();
}

namespace {

std::string_view BeforeParen(std::string_view cell) {
    return cell.substr(0, cell.find('('));
}

// "80 - http" gives "http"; a cell without " - " is taken whole.
std::string_view AfterDash(std::string_view cell) {
    const std::size_t p = cell.find(" - ");
    return p == std::string_view::npos ? cell : cell.substr(p + 3);
}

}  // namespace

bool HidesIncomingRow(const MainForm& F, const RecordGrid& list, int row) {
    const std::string_view port = list.TextMatrix(row, 3);
    return CkSBAddr(F.SBAddrList, BeforeParen(list.TextMatrix(row, 2))) || CkSBPort(F.SBRPortList, port) ||
           CkSBPort(F.SBLPortList, port);
}

bool HidesOutgoingRow(const MainForm& F, const RecordGrid& list, int row) {
    return CkSBAddr(F.SBAddrList, BeforeParen(list.TextMatrix(row, 3))) ||
           CkSBPort(F.SBRPortList, AfterDash(list.TextMatrix(row, 4)));
}
