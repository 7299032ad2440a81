#pragma once
#include <string>

// What the standard-log subsystem keeps between a refresh and a save.
struct StdLogState {
    int InFlagCount = 0;
    int OutFlagCount = 0;
    // Path of the file the last save wrote (empty before the first).
    std::string LastSavedFile;
};
