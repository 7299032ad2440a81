#pragma once
#include <string>
#include <string_view>

#include "form/Frontend.h"

struct MainForm;

// The one way a procedure tells the person about a problem. An unattended run that meets a
// problem must stay open for the person, so this clears AutoMode, shows the window and restores
// the normal mouse pointer before the message (headless: standard error and a non-zero exit
// status). An empty title gives the window's title; errors are titled "Drovix Error".
// A file a problem is about, the folder it is in and the system's reason, for the end of a
// message: the message stays one line, so a scheduled run's journal says what and why.
std::string FileInFolder(const std::string& folder, const std::string& name, const std::string& reason);

MsgAnswer ReportProblem(MainForm& F, std::string_view text, MsgIcon icon = MsgIcon::Exclamation,
                        MsgButtons buttons = MsgButtons::OK, std::string_view title = {});
