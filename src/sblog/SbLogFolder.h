#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MainForm;

// Stillbeacon's log folder as the comparison reads it.

// Why Stillbeacon's log folder cannot be used, naming where Drovix looked; empty when it can. Without
// Stillbeacon's settings the folder is not known (the program's own folder is only a default, and
// a day file written there would be one Stillbeacon never reads); a folder that LOGDIR names
// must exist. Nothing is compared with, merged into or saved to a folder that cannot be used.
std::string SbLogFolderProblem(const MainForm& F);

// Names of the files matching "Log 2*.txt" (letter case ignored), sorted by name; nullopt when the
// folder cannot be listed (no folder given, or it does not exist).
std::optional<std::vector<std::string>> ListSbLogFiles(const std::string& folder);

// Stillbeacon names its day files "Log yyyy-mm-dd.txt"; Drovix's own saves carry a time after a
// further blank ("Log yyyy-mm-dd hhnn.txt").
bool IsDrovixLogName(std::string_view name);

// Views of the record lines of a file's text, in file order, CR LF or LF ended. Every record line
// is kept, however long the file.
void CollectRecordLines(std::string_view text, std::vector<std::string_view>& lines);
