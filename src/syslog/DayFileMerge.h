#pragma once

struct MainForm;

// Merges the records still missing from Stillbeacon's logs (tag "R") into its day files.
// unattended is accepted for the callers' sake and changes nothing.
void SysLogSave(MainForm& F, bool unattended);
