#pragma once
#include <string>

struct MainForm;

// What one fetch takes of the options and the program's state, read from the form when it starts:
// the logon, the time limits and the trace. The fetch never writes any of them back.
struct FetchOptions {
    std::string user, password;
    int waitSeconds = 4;   // per try
    int tries = 2;         // at most
    int pauseSeconds = 5;  // between two tries
    bool trace = false;    // "/trace": a trace log and a copy of every page received
    std::string tracePath, copyFolder;
};

// The options of a fetch as the form holds them now. The router timings are one digit, 1 to 9;
// anything else in a field counts as its default; an empty user ID is "admin".
FetchOptions FetchOptionsOf(const MainForm& F);

// Fetches one router page with the logon, wait limit, tries and pause of the options; returns
// the page text, or an empty text when nothing came back. Never shows a message. Waits on the
// form's network state and stop requests.
std::string GetHtml(MainForm& F, const std::string& url, const FetchOptions& options);

// Aborts a transfer that is under way (the exit sequence calls this).
void CancelTransfers(MainForm& F);
