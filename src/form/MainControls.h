#pragma once
#include <string>

struct MainForm;

// Gives the main window's buttons, labels and lists their design captions, tool tips and
// column counts, as the window shows them before the first refresh.
void SetupMainControls(MainForm& F);

// "()" followed by the characters of codes 1 to 31 and 128 to 255: none may stand in a host name.
std::string MakeBadNameChars();
