#pragma once
#include <QDateTime>
#include <string>

struct MainForm;

// Chooses the inbound records of the last day that were not exported yet (with "Compare with SB
// logs": only those Stillbeacon lacks), paints their address light brown and keeps their export
// lines for SysLogmNWSave, with those an earlier refresh chose and no export wrote yet. Counts
// them in the statistics row.
void SysLogMNW(MainForm& F);

// Writes the chosen records, oldest first, to "SBmNW.log" in the program folder (replacing it)
// and remembers in LASTMNW at once the time they were chosen, where the next export starts.
void SysLogmNWSave(MainForm& F);

// LASTMNW's text form, which reads back exactly: local "yyyy-mm-dd hh:nn:ss" and the offset from
// UTC, " +hh:mm" or " -hh:mm".
std::string MnwTimeText(const QDateTime& local);
