#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "form/SysLogRecord.h"

// The lines a System Log record becomes in one of Stillbeacon's day files. Pure functions over
// bytes: no form, no files.

// Stillbeacon writes a day file in one of two forms, and a merge keeps the form the file has.
enum class DayForm { Blank, Tab };

// Tab form when any line holds a tab as its 11th character (right after the date), blank form
// otherwise. A day that has no file yet is written in tab form, the form Stillbeacon now uses.
DayForm DayFormOf(std::string_view fileBytes);

// Appends the record's line in the given form, without its end. An inbound or outbound record
// that carries a message is followed by a message line of the same second, because
// Stillbeacon's record line has no room for it. Blanks inside a field become NBSP (0xA0), so
// every field stays one token for Stillbeacon's readers.
void AppendRecordLines(const SysLogRecord& record, DayForm form, std::vector<std::string>& lines);
