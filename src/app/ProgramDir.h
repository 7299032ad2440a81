#pragma once
#include <string>

// The folder for Drovix.ini, the trace log, the caches and the don't-log lists: DROVIX_HOME when
// set; otherwise the executable's folder when it is writable and not under /usr (a portable
// install); otherwise the per-user data folder. Always ends with the separator; created when
// missing (a folder that cannot be made shows when the single-instance lock cannot be taken).
std::string ResolveProgramDir(const std::string& executableDir);
