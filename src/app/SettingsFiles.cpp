#include "app/SettingsFiles.h"

#include <QFileInfo>

#include "files/FileBytes.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"

SettingsFileRead ReadSettingsFile(MainForm& F, const std::string& name, std::string& bytes) {
    bytes.clear();
    const std::string path = F.ProgramDir + name;
    if (!QFileInfo::exists(QString::fromStdString(path))) return SettingsFileRead::Missing;
    std::string error;
    if (ReadFileBytes(path, bytes, &error)) return SettingsFileRead::Read;
    bytes.clear();
    ReportProblem(F, "Drovix could not read \"" + path + "\": " + error, MsgIcon::Exclamation, MsgButtons::OK,
                  drovix::ErrorTitle);
    return SettingsFileRead::Unreadable;
}
