#pragma once

struct MainForm;

// Fetches the Incoming and Outgoing tables, fills both lists, converts and compares them.
void ProcessStdLogs(MainForm& F);
