#include <gtest/gtest.h>

#include "router/FetchTrace.h"

TEST(FetchTrace, PageCopyNamesAreSafeFileNamesInsideTheProgramFolder) {
    EXPECT_EQ(PageCopyName("/p/", 3, "http://192.168.1.1/SysLog.htm"),
              "/p/DXimage-003-http;''192.168.1.1'SysLog.htm");
    EXPECT_EQ(PageCopyName("/p/", 12, "http://192.168.1.1"), "/p/DXimage-012-http;''192.168.1.1.html");
    EXPECT_EQ(PageCopyName("/p/", 1234, "http://h/a.HTML"), "/p/DXimage-1234-http;''h'a.HTML");
    EXPECT_EQ(PageCopyName("/p/", 1, "http://h/a?b=c"), "/p/DXimage-001-http;''h'a!b=c.html");
    // Nothing that could leave the folder, name a device or carry a logon.
    EXPECT_EQ(PageCopyName("/p/", 1, "http://h/..\\..\\x*<|>\"\x01\xE9"),
              "/p/DXimage-001-http;''h'.._.._x_______.html");
    EXPECT_EQ(PageCopyName("/p/", 1, "http://me:secret@h/x.htm"), "/p/DXimage-001-http;''h'x.htm");
    // Only an "@" before the path ends a logon.
    EXPECT_EQ(PageCopyName("/p/", 1, "http://u:p@h/x@y"), "/p/DXimage-001-http;''h'x@y.html");
    EXPECT_EQ(PageCopyName("/p/", 1, "http://h/x@y"), "/p/DXimage-001-http;''h'x@y.html");
    const std::string longName = PageCopyName("/p/", 1, "http://h/" + std::string(1000, 'a'));
    EXPECT_LT(longName.size(), 220u);
}

TEST(FetchTrace, TimesAreSecondsSinceMidnightInShortestForm) {
    const QDate day(2026, 12, 6);
    EXPECT_EQ(TraceTime(QDateTime(day, QTime(14, 30, 0))), "52200");
    EXPECT_EQ(TraceTime(QDateTime(day, QTime(14, 30, 0, 250))), "52200.25");
    EXPECT_EQ(TraceTime(QDateTime(day, QTime(0, 0, 1, 500))), "1.5");
    EXPECT_EQ(TraceTime(QDateTime(day, QTime(0, 0, 0, 4))), "0");
}
