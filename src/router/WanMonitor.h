#pragma once
#include <QDateTime>
#include <string>

struct MainForm;

// The router's WAN address from its status page; empty when there is no password, no page or
// no address on it.
std::string GetWan(MainForm& F);
// The "Monitor WAN Address" check box: starts the 5-second checks (and runs one at once) or
// stops them.
void CompAddr_Click(MainForm& F);
// One check: a changed address is appended to "IPAddressLog.txt" in the program folder and shown.
void Timer1_Timer(MainForm& F);

// One line of "IPAddressLog.txt": the date and time in the system's short format, blanks up to
// the next 14-character print zone, the address, CR LF.
std::string WanLogLine(const QDateTime& now, const std::string& address);
