#pragma once
#include <QStringList>
#include <string>

#include "SimHostile.h"

// The page layout the simulated router shows. The root page is what tells them apart: it names
// "wag54g" or "befsx41" (the newer family), contains "firewall" (the standard layout), or neither.
enum class SimLayout { Firewall, Wag54g, Befsx41, Plain };

// How the System Log lines are sent to a syslog receiver.
enum class SimSyslogFormat { Rfc3164, Rfc5424 };

struct SimOptions {
    int port = 0;  // 0: any free port
    SimLayout layout = SimLayout::Firewall;
    std::string user = "admin";
    std::string password = "admin";
    std::string recordsPath;  // empty: a router with empty logs
    std::string wan = "203.0.113.7";
    int pageLines = 20;  // System Log lines per page
    bool noSyslog = false;
    bool empty = false;
    bool bare401 = false;  // refuse a logon with status 401 and no page
    bool oversize = false;
    bool holdOpen = false;  // no length and no close: the body never ends by itself
    SimHostile hostile = SimHostile::None;
    bool verbose = false;
    int delayMs = 0;
    int failFirst = 0;
    bool crlf = false;           // pages end their lines with CR LF
    std::string lineFeedMarker;  // served as a line feed inside a System Log line; empty: none
    int ring = 0;                // System Log lines the pages keep, the newest; 0: all of them
    std::string syslogHost;      // a loopback address to send each new System Log line to; empty: none
    int syslogPort = 0;
    SimSyslogFormat syslogFormat = SimSyslogFormat::Rfc3164;
};

struct SimOptionsResult {
    bool ok = false;
    bool help = false;
    std::string error;
    SimOptions options;
};

// Reads the command line (program name excluded); "--name value" and "--name=value" both work.
SimOptionsResult ParseSimOptions(const QStringList& args);
std::string SimUsage();
