#pragma once

struct MainForm;

// Opens the options panel when it is closed; closes it and applies the options when it is open:
// the page addresses are rebuilt, the settings file is written and the lists are refreshed (or
// the window layout rebuilt when the mode or a conversion direction changed). A close without a
// change writes and refreshes nothing. Ignored while a long loop runs (Busy).
void BOptions_Click(MainForm& F);
// Closes the panel and puts every option back as the settings file has it.
void BCancelOptions_Click(MainForm& F);
// "Use Router's System Log": widens the panel to its System Log part, or narrows it.
void CSysLog_Click(MainForm& F);
