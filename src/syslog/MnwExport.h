#pragma once
#include <QDateTime>
#include <string>

struct MainForm;

// Chooses the inbound records of the last day that were not exported yet (with "Compare with SB
// logs": only those Stillbeacon lacks), paints their address light brown and keeps their export
// lines for SysLogmNWSave. Counts them in the statistics row.
void SysLogMNW(MainForm& F);

// Writes the chosen records, oldest first, to "SBmNW.log" in the program folder (replacing it)
// and remembers the time of the export in LASTMNW at once.
void SysLogmNWSave(MainForm& F);

// LASTMNW's text form, which reads back exactly: local "yyyy-mm-dd hh:nn:ss".
std::string MnwTimeText(const QDateTime& local);
