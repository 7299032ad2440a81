#pragma once

struct MainForm;

// The filter box over the System Log list (SysFilter): only records with the typed text in any of
// their cells stay listed, whatever its letter case; the day separators separate nothing then and
// go too. An empty box lists every record again, the separators as the last sort left them.
void SysFilter_Change(MainForm& F);
// Escape in the filter box empties it.
void SysFilter_Escape(MainForm& F);
