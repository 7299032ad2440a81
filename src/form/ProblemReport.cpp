#include "form/ProblemReport.h"

#include "form/MainForm.h"

MsgAnswer ReportProblem(MainForm& F, std::string_view text, MsgIcon icon, MsgButtons buttons,
                        std::string_view title) {
    F.AutoMode = false;
    F.ui.ShowWindow();
    F.ui.SetMousePointer(MousePointer::Default);
    return F.ui.MsgBox(text, icon, buttons, title.empty() ? std::string_view(F.Title) : title);
}
