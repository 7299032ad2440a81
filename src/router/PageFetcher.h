#pragma once
#include <string>

struct MainForm;

// Fetches one router page with the logon, wait limit, retries and pause of the options; returns
// the page text, or an empty text when nothing came back. Never shows a message.
std::string GetHtml(MainForm& F, const std::string& url);

// Aborts a transfer that is under way (the exit sequence calls this).
void CancelTransfers(MainForm& F);
