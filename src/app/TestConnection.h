#pragma once
#include <string>

struct MainForm;

// "Test connection" in the options panel: fetches the router's first page with the address,
// logon and time limits as typed, and tells in words what it found: the router's layout and
// whether it keeps a System Log, a refused password, or why it could not be reached. Nothing the
// refreshes use is changed by it.
void BTestConnection_Click(MainForm& F);

// The words of the test's finding (for the message and its tests).
std::string TestConnectionFinding(MainForm& F);
