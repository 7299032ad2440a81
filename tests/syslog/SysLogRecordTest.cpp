#include <gtest/gtest.h>


#include "SimPages.h"
#include "syslog/SysLogRecord.h"

namespace {

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
    EXPECT_EQ(LayoutFor(SysLogKind::NoFirewallWord).pagePath, "/VPNLog.htm");
    EXPECT_EQ(LayoutFor(SysLogKind::Standard).pagePath, "/Group.cgi?Log_Page_Num=0&LogClear=0");
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

}  // namespace
