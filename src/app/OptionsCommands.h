#pragma once

struct MainForm;

// The buttons that close the options panel.

// "Options" opens the panel; "OK" closes it and applies the options: the page addresses are
// rebuilt, the settings file is written and the lists are refreshed (or the window laid out again
// for a change of mode or of a conversion direction, and then refreshed). A close without a change
// writes and refreshes nothing. Ignored while a long loop or a refresh runs.
void BOptions_Click(MainForm& F);
// Closes the panel and puts every option back as the settings file has it.
void BCancelOptions_Click(MainForm& F);
// Enter in the password field is OK.
void PW_KeyUp(MainForm& F, int key);
// A key pressed in the open panel: Escape cancels it, as the Cancel button does.
void OptionsFrame_KeyDown(MainForm& F, int key);
