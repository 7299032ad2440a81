#include "text/AddressText.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

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

// The address reader as it was before it became a single pass: cut at each dot, then read.
std::optional<std::int32_t> ReferenceAddress(const std::string& s) {
    if (s.size() < 7 || s.size() > 15) return std::nullopt;
    std::uint32_t value = 0;
    size_t start = 0;
    for (int k = 0; k < 4; ++k) {
        if (start > s.size()) return std::nullopt;
        const size_t dot = std::min(s.find('.', start), s.size());
        if (dot - start < 1 || dot - start > 3) return std::nullopt;
        int octet = 0;
        for (size_t i = start; i < dot; ++i) {
            if (s[i] < '0' || s[i] > '9') return std::nullopt;
            octet = octet * 10 + (s[i] - '0');
        }
        if (octet > 255) return std::nullopt;
        value |= static_cast<std::uint32_t>(octet) << (8 * k);
        start = dot + 1;
    }
    return static_cast<std::int32_t>(value);
}

TEST(AddressText, AgreesWithTheReaderItReplacesOnGeneratedText) {
    std::mt19937 random(17);
    const std::string alphabet = "0123456789.....x ";
    int addresses = 0;
    for (int n = 0; n < 300000; ++n) {
        std::string s(random() % 17, ' ');
        for (char& c : s) c = alphabet[random() % alphabet.size()];
        const auto expected = ReferenceAddress(s);
        ASSERT_EQ(IsIPAddress(s), expected.has_value()) << '"' << s << '"';
        ASSERT_EQ(IPToLong(s), expected.value_or(0)) << '"' << s << '"';
        addresses += expected.has_value();
    }
    EXPECT_GT(addresses, 1000);  // the text generated holds addresses, not only near misses
}

}  // namespace
