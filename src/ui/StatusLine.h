#pragma once
#include <string>

struct MainForm;

// The status line at the bottom of the window, one row each: the last refresh, what the last save
// button wrote and where, how the last unattended run ended.

// Room it takes at the bottom of the window, in twips: three rows.
inline constexpr int StatusLineHeight = 780;

// Places it along the bottom of a window of that inner size.
void PlaceStatusLine(MainForm& F, int width, int height);

// Its caption from the parts the run cycle, the save buttons and the last unattended run left.
void ShowStatusLine(MainForm& F);

// What the refresh that just ended listed, flagged, merged and exported, with its time.
void NoteRefreshInStatusLine(MainForm& F);
// What a save button wrote and where.
void NoteSaveInStatusLine(MainForm& F, const std::string& text);
