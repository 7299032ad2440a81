#include "form/ProblemReport.h"

#include "form/MainForm.h"

std::string FileInFolder(const std::string& folder, const std::string& name, const std::string& reason) {
    return name + " in folder " + folder + (reason.empty() ? "" : ": " + reason);
}

MsgAnswer ReportProblem(MainForm& F, std::string_view text, MsgIcon icon, MsgButtons buttons,
                        std::string_view title) {
    F.AutoMode = false;
    F.LastProblem = std::string(text);
    F.ui.ShowWindow();
    F.ui.SetMousePointer(MousePointer::Default);
    return F.ui.MsgBox(text, icon, buttons, title.empty() ? std::string_view(F.Title) : title);
}
