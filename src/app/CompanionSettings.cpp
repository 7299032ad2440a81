#include "app/CompanionSettings.h"

#include <QDir>
#include <string_view>

#include "app/SettingsFiles.h"
#include "form/MainForm.h"
#include "sblog/DontLogLists.h"
#include "text/SettingsText.h"

namespace {

// Stillbeacon keeps its folder as an absolute path; a relative one is taken from the folder
// both programs share. An empty value would name the root folder, so it keeps the default.
void ApplyLogDir(MainForm& F, const std::string& value) {
    if (value.empty()) return;
    std::string folder = value;
    if (folder.front() != '/') {
        folder =
            QDir(QString::fromStdString(F.ProgramDir)).filePath(QString::fromStdString(value)).toStdString();
    }
    if (folder.back() != '/') folder += '/';
    F.SbLogDir = folder;
}

// The rest of a line from a 1-based character position, as Stillbeacon writes "KEY value".
std::string_view From(std::string_view line, size_t position) {
    return position - 1 < line.size() ? line.substr(position - 1) : std::string_view();
}

}  // namespace

void ReadStillbeaconIni(MainForm& F) {
    std::string bytes;
    F.SbSettingsFound = ReadSettingsFile(F, "Stillbeacon.ini", bytes) == SettingsFileRead::Read;
    ApplyStillbeaconIni(F, bytes);
}

void ApplyStillbeaconIni(MainForm& F, std::string_view bytes) {
    F.SbLogDir = F.ProgramDir;
    F.LogResolve = false;
    F.ResolveNetBios = false;
    F.UseSubtypes = false;
    F.Categorize = 0;

    for (const std::string& line : SplitLines(bytes)) {
        const std::string upper = UpperAscii(line);
        auto startsWith = [&](std::string_view key) { return upper.rfind(key, 0) == 0; };
        if (startsWith("LOGDIR")) {
            ApplyLogDir(F, TrimBlanks(From(line, 7)));
        } else if (startsWith("LRESOLVE")) {
            F.LogResolve = LeadingNumber(From(line, 9)) == 1;
        } else if (startsWith("RESOLVENETBIOS")) {
            F.ResolveNetBios = LeadingNumber(From(line, 16)) == 1;
        } else if (startsWith("USESUBTYPES")) {
            F.UseSubtypes = LeadingNumber(From(line, 13)) == 1;
        } else if (startsWith("CATEGORIZE")) {
            F.Categorize = WholeIntOrZero(LeadingNumber(From(line, 12)));
        }
    }
}

void ReadDontLogLists(MainForm& F) {
    std::string hideaddr;
    std::string hideport;
    ReadSettingsFile(F, "Hideaddr.txt", hideaddr);
    ReadSettingsFile(F, "Hideport.txt", hideport);
    ApplyDontLogLists(F, hideaddr, hideport);
}
