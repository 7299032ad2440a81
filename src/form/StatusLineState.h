#pragma once
#include <string>

// What the status line at the bottom of the window tells: the last refresh, what the last save
// button wrote and where, and how the last unattended run ended. Each part is one line of text
// (Latin-1 bytes), empty until there is something to tell.
struct StatusLineState {
    std::string LastRefresh;
    std::string LastSave;
    std::string LastUnattendedRun;
};
