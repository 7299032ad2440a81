#pragma once

struct MainForm;

// Places lists, captions, buttons and the options panel for the current mode and window size;
// ends with a refresh when a list holds records and the program is not starting up.
void ChangeLayout(MainForm& F);
void Form_Resize(MainForm& F);
