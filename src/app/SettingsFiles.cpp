#include "app/SettingsFiles.h"

#include "files/FileBytes.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"

SettingsFileRead ReadSettingsFile(MainForm& F, const std::string& name, std::string& bytes) {
    bytes.clear();
    const std::string path = F.ProgramDir + name;
    const FileRead read = ReadFileBytes(path, bytes);
    if (read) return SettingsFileRead::Read;
    bytes.clear();
    if (read.Missing()) return SettingsFileRead::Missing;
    ReportProblem(F, "Drovix could not read \"" + path + "\": " + read.error, MsgIcon::Exclamation,
                  MsgButtons::OK, drovix::ErrorTitle);
    return SettingsFileRead::Unreadable;
}
