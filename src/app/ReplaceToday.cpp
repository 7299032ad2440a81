#include "app/ReplaceToday.h"

#include <QFile>

#include "app/OptionsCommands.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "syslog/HistoryFiles.h"

void BReplaceToday_Click(MainForm& F) {
    // The refresh that rebuilds the day could not start now; the file must not go without it.
    if (F.Busy) return;
    const auto names = ListHistoryFiles(F.SbLogDir);
    if (!names || names->empty()) return;
    QFile newest(QString::fromStdString(F.SbLogDir + names->back()));
    if (!newest.exists()) return;
    if (!newest.remove()) {
        ReportProblem(
            F, "Drovix could not delete \"" + names->back() + "\": " + newest.errorString().toStdString(),
            MsgIcon::Exclamation, MsgButtons::OK, drovix::ErrorTitle);
        return;
    }
    F.SettingsChanged = true;
    BOptions_Click(F);
}
