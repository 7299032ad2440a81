#include "sblog/DontLogLists.h"

#include "form/MainForm.h"
#include "text/SettingsText.h"

namespace {

// An empty entry would match every address (every text contains the empty text), so a bare
// marker line hides nothing rather than everything.
void AddEntry(std::vector<std::string>& list, std::string entry) {
    if (!entry.empty()) list.push_back(std::move(entry));
}

}  // namespace

void ApplyDontLogLists(MainForm& F, std::string_view hideaddr, std::string_view hideport) {
    F.SBAddrList.clear();
    F.SBRPortList.clear();
    F.SBLPortList.clear();

    // "-" marks an address entry; a "*" right after it is Stillbeacon's own wildcard mark.
    for (const std::string& line : SplitLines(hideaddr)) {
        if (line.empty() || line[0] != '-') continue;
        std::string entry = line.substr(1);
        if (!entry.empty() && entry[0] == '*') entry.erase(0, 1);
        AddEntry(F.SBAddrList, std::move(entry));
    }

    // "RN" and "LN" lines name remote and local ports; the third character is a separator.
    for (const std::string& line : SplitLines(hideport)) {
        if (line.rfind("~", 0) == 0) continue;
        const std::string port = line.size() > 3 ? line.substr(3) : std::string();
        if (line.rfind("RN", 0) == 0) {
            AddEntry(F.SBRPortList, port);
        } else if (line.rfind("LN", 0) == 0) {
            AddEntry(F.SBLPortList, port);
        }
    }
}
