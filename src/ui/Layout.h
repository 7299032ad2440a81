#pragma once

struct MainForm;

// The window's smallest inner size, in twips.
inline constexpr int MinimumWindowWidth = 12000;
inline constexpr int MinimumWindowHeight = 7800;

// Places lists, captions, buttons and the options panel for the current mode and window size;
// ends with a refresh when a list holds records and the program is not starting up.
void ChangeLayout(MainForm& F);
void Form_Resize(MainForm& F);
