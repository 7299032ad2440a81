#pragma once

struct MainForm;

// Chooses the inbound records for the myNetWatchman file (painted light brown).
void SysLogMNW(MainForm& F);
// Writes the chosen records to "SBmNW.log" in the program folder.
void SysLogmNWSave(MainForm& F);
