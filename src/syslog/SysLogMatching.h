#pragma once
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "form/SysLogRecord.h"
#include "syslog/SbLineParser.h"

class RecordGrid;
struct MainForm;

// Matches the listed records (newest first) with Stillbeacon's day files from the oldest listed
// day on. Records Stillbeacon lacks keep their tag "R" and are painted light blue, records its
// don't-log lists hide light gray. Returns how many are missing there; 0 when a file could not
// be read or Exit stopped the reading (the person is told of a file; nothing is highlighted and no
// row stays tagged missing, so nothing is merged or exported unchecked).
int SysLogMatch(MainForm& F);

// Looks for a router row that is the same event as one Stillbeacon record, from row p towards
// the newer rows, within tolerance seconds. A matched row loses its tag and takes the names it
// lacked from the record. Returns where the next search starts: the oldest row still within the
// matched record's time window (p unchanged when nothing matched).
// The rows' times, read once for a month of Stillbeacon lines: each row's own (nothing for a row
// without one), and the rows that have one in time order (rows of one second by index). The list is
// newest first, but a row the router gave without a date is dated afterwards and may be earlier
// than rows below it: a record's candidates are looked up by time, not by place.
struct RowTimes {
    std::vector<std::optional<long long>> time;
    std::vector<std::pair<long long, int>> byTime;  // time, row
};
RowTimes ReadRowTimes(const RecordGrid& list);

// times, when given, must be ReadRowTimes of the list as it is; otherwise they are read here.
int SysLogCompare(RecordGrid& list, int p, const SysLogRecord& rec, long long tolerance,
                  const RowTimes* times = nullptr);
int SysLogCompare(RecordGrid& list, int p, const SbLineFields& rec, long long tolerance,
                  const RowTimes* times = nullptr);
