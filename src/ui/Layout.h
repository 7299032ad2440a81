#pragma once

struct MainForm;

// The window's smallest inner size, in twips.
inline constexpr int MinimumWindowWidth = 12000;
inline constexpr int MinimumWindowHeight = 7800;

// Places lists, captions, buttons and the options panel for the current mode and window size. (A
// change of mode in the options then refreshes the lists: see src/app/OptionsCommands.)
void ChangeLayout(MainForm& F);
// The window was resized: a normal window keeps at least its smallest size, and is laid out again;
// a lookup answer goes.
void Form_Resize(MainForm& F);
