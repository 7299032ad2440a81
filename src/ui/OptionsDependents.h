#pragma once

struct MainForm;

// Check boxes whose state shows, hides, enables or disables other controls of the options panel.
// Each click handler also marks the settings as changed.
void CompSB_Click(MainForm& F);
void CkConvertIP_Click(MainForm& F);
void CkConvertURL_Click(MainForm& F);
void CSaveSysLog_Click(MainForm& F);
// "Use Router's System Log": widens the panel to its System Log part, or narrows it.
void CSysLog_Click(MainForm& F);

// True when the System Log is offered by the router and the user chose to read it.
bool SysLogInUse(const MainForm& F);

// Makes every dependent control agree with the check boxes, without marking a change: the
// allowed time difference, the thread count's visibility, "Cache failures", "Unlogged only",
// "DX history" and "Re-do Today".
void SyncDependentControls(MainForm& F);
