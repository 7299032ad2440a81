#include "app/OpenLogFolder.h"

#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "sblog/SbLogFolder.h"

void BOpenLogFolder_Click(MainForm& F) {
    if (const std::string problem = SbLogFolderProblem(F); !problem.empty()) {
        ReportProblem(F, problem + ".");
        return;
    }
    if (!F.ui.OpenFolder(F.SbLogDir)) {
        ReportProblem(F, "Drovix could not open Stillbeacon's log folder \"" + F.SbLogDir +
                             "\": no file manager answered.");
    }
}
