#include "sblog/StdLogLine.h"

#include <gtest/gtest.h>

namespace {

TEST(StdLogLineTest, BuildsBothFormsAndKeepsRecordsOnOneLine) {
    EXPECT_EQ(StdLogLine("2005/01/31", "21:05:00.00", "I", "host\xA0TCP", "0", "0.0.0.0", "80"),
              "2005/01/31 21:05:00.00 I host\xA0TCP 0 0.0.0.0 80");
    EXPECT_EQ(StdLogLineTab("2005/01/31", "21:05:00", "O", "TCP", "198.51.100.5", "www.example.com", "80",
                            "192.168.1.100", "1025"),
              "2005/01/31\t21:05:00\tO\tTCP\t198.51.100.5\twww.example.com\t80\t192.168.1.100\t1025");
    // A router cell with a line break must not split the record into two lines.
    EXPECT_EQ(StdLogLine("d", "t", "I", "a\r\nb", "0", "0.0.0.0", "1"), "d t I a  b 0 0.0.0.0 1");
    EXPECT_EQ(StdLogLineTab("d", "t", "I", "", "a\tb", "", "1", "", ""), "d\tt\tI\t\ta b\t\t1\t\t");
}

}  // namespace
