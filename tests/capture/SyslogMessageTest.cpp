#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LocalZone.h"
#include "capture/CaptureFiles.h"
#include "capture/SyslogMessage.h"

namespace {

struct Case {
    const char* what;
    std::string datagram;
    std::string when;         // the named moment in local time; empty: none
    std::string routerStamp;  // a 3164 header with a year
    std::string text;
};

// Messages as routers and daemons send them, with the router known as 192.168.1.1 or "gateway".
TEST(SyslogMessage, HeaderRemovedTextKept) {
    const LocalZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    const std::vector<std::string> names = {"192.168.1.1", "gateway"};
    const std::vector<Case> cases = {
        {"3164 without host name",
         "<134>Dec  6 14:02:11 TCP from 198.51.100.7:4123 to 192.168.1.100:80 dropped", "", "",
         "TCP from 198.51.100.7:4123 to 192.168.1.100:80 dropped"},
        {"3164, the router's address as host name", "<4>Dec 16 14:02:11 192.168.1.1 @sys System started", "",
         "", "@sys System started"},
        {"3164, host name known by a tag with a process id",
         "<30>Dec  6 14:02:11 OpenWrt dnsmasq[812]: query[A] example.com from 192.168.1.100", "", "",
         "dnsmasq[812]: query[A] example.com from 192.168.1.100"},
        {"3164, a first word that is not known as a host name stays",
         "<13>Dec 6 14:02:11 Router rebooted: power", "", "", "Router rebooted: power"},
        {"3164 with a year and the router's name",
         "<13>Dec  6 2026 14:02:11 GATEWAY UDP to 64.2.3.4:53 query", "", "2026-12-06 14:02:11",
         "UDP to 64.2.3.4:53 query"},
        {"3164 header with an RFC 3339 time", "<13>2026-12-06T14:02:11+01:00 gateway kernel: x",
         "2026-12-06 14:02:11", "", "kernel: x"},
        {"5424 with structured data and a byte order mark",
         "<165>1 2026-12-06T13:02:11.003Z gw app 1234 ID47 [ex@32473 iut=\"3\" src=\"Appl\\\"ic]ation\"][x@1 "
         "a=\"b\"] "
         "\xEF\xBB\xBFTCP from 10.1.2.3:1111 to 192.168.1.5:80",
         "2026-12-06 14:02:11", "", "TCP from 10.1.2.3:1111 to 192.168.1.5:80"},
        {"5424 in summer time, no structured data, no mark",
         "<14>1 2026-07-01T01:30:00-04:00 - - - - - ICMP ping", "2026-07-01 07:30:00", "", "ICMP ping"},
        {"5424 without a time stamp", "<14>1 - host app - - - @sys Time synchronised", "", "",
         "@sys Time synchronised"},
        {"5424 without a message", "<14>1 2026-12-06T14:02:11+01:00 host app - - -", "2026-12-06 14:02:11",
         "", ""},
        {"5424 with broken structured data loses nothing",
         "<14>1 2026-12-06T14:02:11Z h a - - [x a=\"b] text", "", "",
         "1 2026-12-06T14:02:11Z h a - - [x a=\"b] text"},
        {"no priority: all text", std::string("\x01\x02 bin\0ary <13>", 15), "", "",
         std::string("\x01\x02 bin\0ary <13>", 15)},
        {"priority out of range: all text", "<192>Dec  6 14:02:11 x", "", "", "<192>Dec  6 14:02:11 x"},
        {"priority only", "<13>", "", "", ""},
        {"not a month", "<13>Dex  6 14:02:11 x", "", "", "Dex  6 14:02:11 x"},
        {"not a date", "<14>1 2026-02-30T14:02:11Z h a - - - x", "", "",
         "1 2026-02-30T14:02:11Z h a - - - x"},
    };
    for (const Case& c : cases) {
        const SyslogMessage m = ParseSyslogMessage(c.datagram, names);
        EXPECT_EQ(m.when ? LocalStamp(*m.when) : "", c.when) << c.what;
        EXPECT_EQ(m.routerStamp, c.routerStamp) << c.what;
        EXPECT_EQ(m.text, c.text) << c.what;
    }
}

}  // namespace
