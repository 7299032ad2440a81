#pragma once
#include <QDateTime>
#include <QLocale>
#include <string>

struct MainForm;

// The router's WAN address from its status page; empty when there is no password, no page or
// no address on it.
std::string GetWan(MainForm& F);
// The "Monitor WAN Address" check box: starts the 5-second checks (and runs one at once) or
// stops them.
void CompAddr_Click(MainForm& F);
// Starts or stops the checks so that they follow the box, without marking the settings changed:
// for settings read at start-up or put back by Cancel, which click no box.
void MatchWanMonitorToBox(MainForm& F);
// The exit sequence: no further check, whatever the box says.
void StopWanChecks(MainForm& F);
// One check: a changed address is appended to "IPAddressLog.txt" in the program folder and shown.
// A check cut short by Exit or a cancel changes nothing.
void Timer1_Timer(MainForm& F);

// One line of "IPAddressLog.txt" (without its CR LF): the date in the locale's short form and the
// time with its seconds, blanks up to the next 14-character print zone, the address.
std::string WanLogLine(const QDateTime& now, const std::string& address,
                       const QLocale& locale = QLocale::system());
