#pragma once
#include <optional>
#include <string>

struct MainForm;

// How the last unattended run ended, as it leaves it in "DrovixLastRun.txt" in the program folder
// for the window's status line: when it ended, its exit status and its one summary line (or, for a
// run that failed, why).
struct LastRun {
    std::string time;  // "yyyy-mm-dd hh:nn:ss", local time
    int exitStatus = 0;
    std::string summary;
};

// The run that just ended, from the form and the exit status it ends with.
LastRun LastRunOf(const MainForm& F, int exitStatus);

// The file's bytes: "TIME=", "STATUS=" and "SUMMARY=" lines, each ended by CR LF.
std::string LastRunFileText(const LastRun& run);
// Reads those lines back; nullopt when the text holds no run.
std::optional<LastRun> ParseLastRun(const std::string& text);

std::string LastRunPath(const std::string& programDir);
// Replaces the file atomically; false when it could not be written (the run's result stands).
bool SaveLastRun(const std::string& programDir, const LastRun& run);
std::optional<LastRun> ReadLastRun(const std::string& programDir);
