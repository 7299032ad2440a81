#include "text/AddressText.h"

#include <gtest/gtest.h>

namespace {

TEST(AddressText, IsIPAddressChecksFourFieldsOnly) {
    for (const char* good : {"1.2.3.4", "0.0.0.0", "255.255.255.255", "192.168.001.010", "1.2.3.4.5",
                             "1.2.3.4.", "1.2.3.4.5.6.7.8"}) {
        EXPECT_TRUE(IsIPAddress(good)) << good;
    }
    for (const char* bad : {"", "1.2.3", " 1.2.3.4", "1.2.3.4 ", "256.1.1.1", "1.2.3.256", "1..2.3",
                            "1.2.3.4x", "a.b.c.d", "1.2.3.-4", "1234.1.1.1", "1.2.3.+4", "1.2.3.0x1"}) {
        EXPECT_FALSE(IsIPAddress(bad)) << bad;
    }
}

}  // namespace
