#pragma once
#include <string_view>

struct MainForm;

// Fetches the Incoming and Outgoing tables, fills both lists, converts and compares them.
void ProcessStdLogs(MainForm& F);

// Everything ProcessStdLogs does once the two pages are fetched: reports an unreachable router or
// a refused password, fills the lists and their captions (or shows "Logs are empty or
// unavailable"), converts addresses and ports, and compares with Stillbeacon's logs when
// "Compare with SB logs" is checked.
void ProcessStdLogPages(MainForm& F, std::string_view inPage, std::string_view outPage);

// The narrowest the Incoming list can be with every date, time, address and port whole: the side
// by side layout gives it no less.
int IncomingListWidthNeeded(MainForm& F);
