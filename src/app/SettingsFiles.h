#pragma once
#include <string>

struct MainForm;

// Reading the plain-text settings files in the program folder (Drovix's own, Stillbeacon's
// settings and its "don't log" lists).
enum class SettingsFileRead { Read, Missing, Unreadable };

// The bytes of ProgramDir + name. A missing file simply holds no settings. A file that exists but
// cannot be read is reported to the person (a scheduled run must not quietly go on without its
// settings); bytes are then empty as well, and the result tells the caller so that it never
// replaces what it could not read.
SettingsFileRead ReadSettingsFile(MainForm& F, const std::string& name, std::string& bytes);
