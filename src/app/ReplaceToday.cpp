#include "app/ReplaceToday.h"

#include "app/OptionsCommands.h"
#include "files/FileBytes.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "syslog/HistoryFiles.h"

void BReplaceToday_Click(MainForm& F) {
    // The refresh that rebuilds the day could not start now; the file must not go without it.
    if (F.Busy) return;
    const auto names = ListHistoryFiles(F.SbLogDir);
    if (!names || names->empty()) return;
    const std::string question =
        "Re-do Today deletes the history file \"" + names->back() + "\" in " + F.SbLogDir +
        " and builds it again from the lines the Router still shows; lines the Router "
        "no longer shows are lost. Replace it?";
    if (F.ui.MsgBox(question, MsgIcon::Question, MsgButtons::YesNo, F.Title) != MsgAnswer::Yes) return;
    std::string error;
    switch (RemoveFile(F.SbLogDir + names->back(), &error)) {
        case Removal::Removed:
            break;
        case Removal::Missing:
            return;
        case Removal::Failed:
            ReportProblem(F, "Drovix could not delete \"" + names->back() + "\": " + error,
                          MsgIcon::Exclamation, MsgButtons::OK, drovix::ErrorTitle);
            return;
    }
    F.SettingsChanged = true;
    BOptions_Click(F);
}
