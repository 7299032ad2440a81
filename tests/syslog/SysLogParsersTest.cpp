// The System Log parsers, bytes in, records out: the page cutter, the router dates, the router
// line parser and the Stillbeacon line parser.
#include <gtest/gtest.h>

#include <QDir>
#include <random>

#include "SimPages.h"
#include "TestFiles.h"
#include "form/SysLogRecord.h"
#include "syslog/RouterDate.h"
#include "syslog/RouterLineParser.h"
#include "syslog/SbLineParser.h"
#include "syslog/SysLogPageCutter.h"
#include "text/SysLogText.h"
#include "text/TextLines.h"

namespace {

// Fields 0 to 9 joined by "|", so one comparison shows the whole record.
std::string Fields(const SysLogRecord& r) {
    std::string text = r[0];
    for (int i = 1; i <= SysLogRecord::Message; ++i) text += "|" + r[i];
    return text;
}

// Fields 2 to 9 of a router line dated 2005-01-09 13:01:02.
std::string Dated(const std::string& rest, std::string wan = "24.1.1.1") {
    const std::string fields = Fields(ParseRouterLine("2005-01-09 13:01:02 " + rest, "192.168.1.", wan));
    EXPECT_EQ(fields.substr(0, 20), "2005-01-09|13:01:02|");
    return fields.substr(20);
}

std::string Sb(const std::string& line) {
    SysLogRecord r;
    return SysLogParse(line, r) ? Fields(r) : "not a record";
}

// The Stillbeacon line reader as it was written first, position by position from 1, copying each
// field: the reference the reader that scans in place must agree with, line for line.
namespace reference {

using namespace syslogtext;
using R = SysLogRecord;

bool Parse(std::string_view line, SysLogRecord& r) {
    if (Trim(line).empty()) return false;
    for (int i = 0; i <= R::Message; ++i) r[i].clear();
    if (line.size() > 10 && line[10] == '\t') {
        std::string rest = std::string(line) + "\t";
        for (int k = 0; k <= R::LPort; ++k) {
            const size_t tab = rest.find('\t');
            if (tab == std::string::npos) return false;
            r[k] = rest.substr(0, tab);
            rest.erase(0, tab + 1);
        }
        r[R::Time] = r[R::Time].substr(0, 8);
        if (r[R::Dir] == "S" || r[R::Dir] == "E") return false;
        if (r[R::Dir] == "M") r[R::Message] = std::exchange(r[R::RemURL], {});
        return true;
    }
    static constexpr int targets[7] = {R::Date, R::Time, R::Dir, R::RemURL, R::RPort, R::LocalAddr, R::LPort};
    size_t p = 0;
    for (int k = 0; k < 7; ++k) {
        size_t n = Find(line, " ", p + 1);
        if (n == 0) {
            if (k < 6) return false;
            n = line.size() + 1;
        }
        r[targets[k]] = std::string(Mid(line, p + 1, n - p - 1));
        p = n;
    }
    r[R::Time] = r[R::Time].substr(0, 8);
    if (r[R::Dir] == "S" || r[R::Dir] == "E") return false;
    if (r[R::Dir] == "M") {
        r[R::Message] = r[R::RemURL];
        for (int i = R::Prot; i <= R::LPort; ++i) r[i].clear();
        return true;
    }
    std::string s = r[R::RemURL];
    const size_t p1 = s.find(NbspChar);
    if (p1 != std::string::npos) {
        const size_t p2 = s.find(NbspChar, p1 + 1);
        if (p2 != std::string::npos) {
            r[R::Message] = s.substr(p2 + 1);
            r[R::Prot] = s.substr(p1 + 1, p2 - p1 - 1);
        } else {
            r[R::Prot] = LowerCase(s.substr(p1 + 1));
        }
        s.resize(p1);
    }
    const size_t bang = s.find('!');
    if (bang != std::string::npos && s.find("(!)") == std::string::npos) s.replace(bang, 1, "(!)");
    const size_t open = s.find('(');
    const size_t close = open == std::string::npos ? std::string::npos : s.find(')', open + 1);
    if (close == std::string::npos) {
        r[R::RemAddr] = IsIPAddress(s) ? s : "";
        r[R::RemURL] = IsIPAddress(s) ? "" : s;
    } else if (IsIPAddress(s.substr(0, open))) {
        r[R::RemAddr] = s.substr(0, open);
        r[R::RemURL] = s.substr(open + 1, close - open - 1);
    } else {
        r[R::RemAddr] = s.substr(open + 1, close - open - 1);
        r[R::RemURL] = s.substr(0, open);
    }
    if (r[R::RemAddr] == "!" || r[R::RemAddr] == "(!)") r[R::RemAddr].clear();
    if (r[R::RemURL] == "!") r[R::RemURL].clear();
    if (r[R::Date].empty() || r[R::Time].empty() || r[R::Dir].empty()) return false;
    for (const int i : {R::RemAddr, R::RemURL, R::RPort})
        if (r[i] == ".") r[i].clear();
    return !r[R::RemAddr].empty() || !r[R::RemURL].empty() || !r[R::Message].empty() || !r[R::Prot].empty();
}

}  // namespace reference

// Lines made of the pieces Stillbeacon's lines are made of, in any order and number, with the
// fuzz corpus' lines: both readers must say the same of each, and fill the same fields.
TEST(SysLogParseTest, ScanningInPlaceReadsEveryLineAsTheReference) {
    std::vector<std::string> lines;
    const QDir corpus(QStringLiteral(DROVIX_TEST_DATA "/../../fuzz/corpus/syslog_parse"));
    for (const QString& name : corpus.entryList(QDir::Files))
        ForEachLine(ReadFileBytes(corpus.filePath(name).toStdString()), [&](std::string_view line) {
            lines.emplace_back(line);
            return true;
        });
    ASSERT_FALSE(lines.empty());
    const std::vector<std::string> pieces = {"13:01:02.00", "1:2", "\xA0", "I", "O", "M", "S", "P", ".", "-",
                                             "!", "(!)", "(", ")", "10.0.0.1", "256.1.1.1", "host.example",
                                             "TCP", "udp", "Ab", "80", "x y"};
    const std::vector<std::string> separators = {" ", " ", " ", " ", "\t", "  ", ""};
    std::mt19937 random(20261207);
    auto any = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    for (int n = 0; n < 100000; ++n) {
        std::string line = n % 4 ? "2005/01/09" : any(pieces);
        for (int field = static_cast<int>(random() % 10); field > 0; --field) {
            line += any(separators);
            for (int k = static_cast<int>(random() % 3); k >= 0; --k) line += any(pieces);
        }
        lines.push_back(line);
    }
    SysLogRecord got, want;
    for (const std::string& line : lines) {
        const bool record = reference::Parse(line, want);
        ASSERT_EQ(SysLogParse(line, got), record) << line;
        if (record) {
            ASSERT_EQ(Fields(got), Fields(want)) << line;
        }
    }
}

const std::string kFont = "<font face=verdana size=1.5 color=";

TEST(SysLogPageCutterTest, YieldsExactlyTheLinesTheSimulatorServesForEveryKind) {
    const std::vector<std::string> lines = {
        "2026-12-06 08:00:01 @sys System started", "2026-12-06 08:00:03 WAN IP address is 203.0.113.7",
        "2026-12-06 08:14:22 TCP from 198.51.100.23:4123 to 192.168.1.100:80", "x", "a > b < c"};
    const std::pair<SimLayout, SysLogKind> kinds[] = {{SimLayout::Firewall, SysLogKind::Standard},
                                                      {SimLayout::Wag54g, SysLogKind::NewFamily},
                                                      {SimLayout::Befsx41, SysLogKind::NewFamily},
                                                      {SimLayout::Plain, SysLogKind::NoFirewallWord}};
    for (const auto& [sim, kind] : kinds) {
        const SysLogLayout layout = LayoutFor(kind);
        EXPECT_EQ(CutSysLogPage(SysLogPage(sim, lines, 2), layout.anchor, layout.marker), lines);
        EXPECT_TRUE(CutSysLogPage(SysLogPage(sim, {}, 3), layout.anchor, layout.marker).empty());
    }
}

TEST(SysLogPageCutterTest, SkipsEmptyTagsAndEmptyLinesAndCutsAtFontEnd) {
    const std::string fontPage = "('SysLog.htm'" + kFont + "#000>one\n<br>" + kFont +
                                 "red><b><i></i>two</font> z<br>" + kFont + "#000>\n<br></font>";
    EXPECT_EQ(CutSysLogPage(fontPage, "('SysLog.htm'", kFont), (std::vector<std::string>{"one", "two"}));
    const std::string brPage = "('VPNLog.htm')\"><br>one\n<br><br><br>two\n<br></font>";
    EXPECT_EQ(CutSysLogPage(brPage, "('VPNLog.htm'", "<br>"), (std::vector<std::string>{"one", "two"}));
}

TEST(SysLogPageCutterTest, APageWithoutAnchorMarkerOrEndYieldsNothingAndTheWalkStaysInTheArea) {
    const std::string area = kFont + "#000>line\n<br></font>";
    EXPECT_EQ(CutSysLogPage("('SysLog.htm'" + area, "('SysLog.htm'", kFont).size(), 1u);
    EXPECT_TRUE(CutSysLogPage("('Other.htm'" + area, "('SysLog.htm'", kFont).empty());
    EXPECT_TRUE(CutSysLogPage("('SysLog.htm'<font>line\n<br></font>", "('SysLog.htm'", kFont).empty());
    EXPECT_TRUE(CutSysLogPage("('SysLog.htm'" + kFont + "#000>line\n<br>", "('SysLog.htm'", kFont).empty());
    // "y" has no marker of its own; the next marker lies after the end of the log area.
    const std::string page = "('SysLog.htm'" + kFont + "0>x<br>y<br></font>" + kFont + "0>outside<br>";
    EXPECT_EQ(CutSysLogPage(page, "('SysLog.htm'", kFont), std::vector<std::string>{"x"});
}

TEST(RouterDateTest, ValidDatesAreRealCalendarDays) {
    EXPECT_TRUE(IsValidDate("2004-02-29"));
    for (const char* bad :
         {"2005-02-29", "2005/01/09", "0000-00-00", "2005-1-09x", "2005-01-09 ", "2005-13-01", ""})
        EXPECT_FALSE(IsValidDate(bad)) << bad;
}

TEST(RouterDateTest, RepairsTakeTheDayAfterTheLastGoodDateAndDropTheFuture) {
    const std::string today = "2005-01-10";
    std::string last = "2005-01-09";  // the driver starts with yesterday
    auto repair = [&](std::string line) { return RepairRouterDate(line, last, today) ? line : "dropped"; };
    EXPECT_EQ(repair("garbage text"), "2005-01-10xt");
    EXPECT_EQ(repair("13:01:02 @sys up"), "13:01:02 @sys up");
    EXPECT_EQ(repair("../../../x hello"), "2005-01-10 hello");
    EXPECT_EQ(repair("ab"), "2005-01-10");
    EXPECT_EQ(repair("2004-12-31 a"), "2004-12-31 a");
    EXPECT_EQ(repair("2005/01/01 b"), "2005-01-01 b");  // over the year end
    EXPECT_EQ(repair("2005-01-11 tomorrow"), "2005-01-11 tomorrow");
    EXPECT_EQ(repair("2005-01-13 too late"), "dropped");
    EXPECT_EQ(repair("xxxxxxxxxx next"), "dropped");  // 2005-01-14
    last = "9999-12-31";
    EXPECT_EQ(repair("no date"), "2005-01-10");
    last.clear();
    EXPECT_EQ(repair("no date"), "2005-01-10");
    std::string line = "no date";
    EXPECT_FALSE(RepairRouterDate(line, last, "not today"));
}

TEST(ParseRouterLineTest, FromAndToLinesSetDirectionAddressesAndPorts) {
    EXPECT_EQ(Dated("TCP from 10.1.2.3:1111 to 192.168.1.5:80 x y z"),
              "I|tcp|10.1.2.3||1111|192.168.1.5|80|x y z");
    EXPECT_EQ(Dated("TCP from 192.168.1.101:3345 to 203.0.113.40:21"),
              "O|tcp|203.0.113.40||21|192.168.1.101|3345|");
    EXPECT_EQ(Dated("UDP to 64.2.3.4:53 query"), "I|udp|64.2.3.4||53|||query");
    EXPECT_EQ(Dated("UDP from 10.1.2.3 port  scan"), "I|udp|10.1.2.3|||||port scan");
    EXPECT_EQ(Dated("@fw ABC/TCP from @x 10.1.2.3 to 192.168.1.5 @y m"),
              "I|tcp|10.1.2.3|||192.168.1.5||@y m");
    EXPECT_EQ(Dated("TCP from name.example(10.1.2.3):80 to 192.168.1.5"),
              "I|tcp|10.1.2.3|name.example|80|192.168.1.5||");
    EXPECT_EQ(Dated("TCP from 10.1.2.3(name.example to 192.168.1.5"),
              "I|tcp|10.1.2.3|name.example||192.168.1.5||");
}

TEST(ParseRouterLineTest, MessagesUndatedLinesAndTheSpoofingNotice) {
    std::string wan;
    EXPECT_EQ(Fields(ParseRouterLine("13:01:02 @sys System started", "192.168.1.", wan)),
              "0000-00-00|13:01:02|M|||||||@sys System started");
    EXPECT_EQ(Fields(ParseRouterLine("13:01:02.123456 up", "192.168.1.", wan)),
              "0000-00-00|13:01:02|M|||||||.123456 up");
    EXPECT_EQ(Dated("ICMP IP Spoofing Detected"), "I|icmp||||||IP Spoofing Detected");
    EXPECT_EQ(Dated("TCP from nowhere to 192.168.1.x"), "M|tcp||||||TCP from nowhere to 192.168.1.x");
}

TEST(ParseRouterLineTest, LearnsTheWanAddressAndMatchesItOnlyAsAWholeAddress) {
    std::string wan;
    auto dir = [&](const std::string& rest, const char* lan) {
        return ParseRouterLine("2005-01-09 08:00:04 " + rest, lan, wan)[SysLogRecord::Dir];
    };
    EXPECT_EQ(dir("WAN IP address is unknown", "192.168.1."), "M");
    EXPECT_EQ(wan, "");
    // Without a WAN address, and with no LAN prefix, nothing makes a record outbound.
    EXPECT_EQ(dir("TCP from 10.1.2.3 to 192.168.1.5", "192.168.1."), "I");
    EXPECT_EQ(dir("TCP from 192.168.1.5 to 10.1.2.3", ""), "I");
    EXPECT_EQ(dir("the WAN address IS 203.0.113.7 ", "192.168.1."), "M");
    EXPECT_EQ(wan, "203.0.113.7");
    EXPECT_EQ(Dated("TCP from 203.0.113.7:1025 to 198.51.100.1:80", wan),
              "O|tcp|198.51.100.1||80|203.0.113.7|1025|");
    EXPECT_EQ(Dated("UDP from 24.1.1.10:53 to 24.1.1.1:1025"), "I|udp|24.1.1.10||53|24.1.1.1|1025|");
    EXPECT_EQ(Dated("UDP to 24.1.1.1:53 q"), "I|udp||||24.1.1.1|53|q");
    // Only the word "WAN" names it, not a word that ends in it.
    dir("SWAN host is 198.51.100.9, the WAN is 198.51.100.8", "192.168.1.");
    EXPECT_EQ(wan, "198.51.100.8");
}

TEST(SysLogParseTest, BlankAndTabFormLines) {
    EXPECT_EQ(Sb("2005/01/09 13:01:02.00 M Router rebooted x y z w"), "2005/01/09|13:01:02|M|||||||Router");
    EXPECT_EQ(Sb("2005/01/09 13:01:02.00 I host.example(10.0.0.1)\xA0TCP 1111 192.168.1.5 80"),
              "2005/01/09|13:01:02|I|tcp|10.0.0.1|host.example|1111|192.168.1.5|80|");
    EXPECT_EQ(Sb("2005/01/09 13:01:02 O 10.0.0.1(h.example)\xA0UDP\xA0no\xA0way . 192.168.1.5 ."),
              "2005/01/09|13:01:02|O|UDP|10.0.0.1|h.example||192.168.1.5|.|no\xA0way");
    EXPECT_EQ(Sb("2005/01/09 13:01:02 I 10.0.0.1! 80 0.0.0.0 0"),
              "2005/01/09|13:01:02|I||10.0.0.1||80|0.0.0.0|0|");
    for (const char* line :
         {"2005/01/09 13:01:02 I ! 80 0.0.0.0 0", "2005/01/09 13:01:02 I 10.0.0.1 80 0.0.0.0",
          "2005/01/09 07:00:00.00 S Stillbeacon started a b c", "   "})
        EXPECT_EQ(Sb(line), "not a record") << line;
    EXPECT_EQ(Sb("2005/01/09\t08:00:00.00\tI\tTCP\t198.51.100.77\th.example\t3000\t192.168.1.100\t21"),
              "2005/01/09|08:00:00|I|TCP|198.51.100.77|h.example|3000|192.168.1.100|21|");
    EXPECT_EQ(Sb("2005/01/09\t08:00:00\tM\t\t\tRouter\xA0up\t\t\t"),
              "2005/01/09|08:00:00|M|||||||Router\xA0up");
    EXPECT_EQ(Sb("2005/01/09\t08:00:00\tS\t\t\tStarted\t\t\t"), "not a record");
    EXPECT_EQ(Sb("2005/01/09\t08:00:00\tI\tTCP\t198.51.100.77"), "not a record");
}

}  // namespace
