#include <gtest/gtest.h>

#include "ResolveTestHelpers.h"
#include "resolve/ConvertIP.h"
#include "resolve/NameLookup.h"
#include "resolve/SystemResolver.h"
#include "text/AddressText.h"

// The fixed-size call: the answer always ends with a NUL inside the buffer, and a buffer too small
// is refused rather than written past.
TEST(ConvertIPCall, WritesATerminatedNameThatFitsTheBuffer) {
    ScriptedResolver resolver;
    resolver.Name("10.0.0.1", "Host.Example");
    resolver.Name("10.0.0.3", std::string(3000, 'a'));
    std::string buffer(ConvertIPBufferSize, 'x');
    EXPECT_EQ(ConvertIP(resolver, PadForConvertIP("10.0.0.1"), buffer), 1);
    EXPECT_EQ(std::string(buffer.c_str()), "Host.Example");
    EXPECT_EQ(ConvertIP(resolver, PadForConvertIP("10.0.0.3"), buffer), 1);
    EXPECT_EQ(buffer.size(), static_cast<size_t>(ConvertIPBufferSize));
    EXPECT_EQ(std::string(buffer.c_str()).size(), static_cast<size_t>(ConvertIPBufferSize - 1));
    std::string tooSmall(10, '\0');
    EXPECT_EQ(ConvertIP(resolver, PadForConvertIP("10.0.0.1"), tooSmall), 0);
}

TEST(NameLookup, ReverseAnswersAreCleanedAndLowerCased) {
    ResolveForm t;
    const std::vector<std::pair<std::string, std::string>> answers = {
        {"Mail.Example.COM", "mail.example.com"},
        {"host.example extra words", "host.example"},
        {"bad(name).example", ""},
        {"\xE9t\xE9.example", ""},  // a forbidden character in first place
        {"!", ""},
        {"evil.example\r\nInjected line", ""},
        {"  padded.example  ", ""},  // cut at the first blank before trimming: nothing is left
    };
    for (size_t i = 0; i < answers.size(); ++i) {
        const std::string address = "10.0.0." + std::to_string(i + 1);
        t.resolver->Name(address, answers[i].first);
        EXPECT_EQ(NameByAddr(t.F(), address), answers[i].second) << answers[i].first;
    }
    EXPECT_EQ(NameByAddr(t.F(), "10.0.0.77"), "");
    EXPECT_EQ(NameByAddr(t.F(), "not.an.address"), "");
    EXPECT_EQ(t.resolver->Calls("not.an.address"), 0);
    // A failed answer costs one lookup, not a second one through the other path.
    t.F().ResolveNetBios = true;
    EXPECT_EQ(NameByAddr(t.F(), "10.0.0.78"), "");
    EXPECT_EQ(t.resolver->Calls("10.0.0.78"), 1);
}

TEST(NameLookup, FlagsChooseWhichPathsMayAsk) {
    ResolveForm t;
    t.resolver->Name("10.0.0.1", "host.example");
    t.F().WinNT5 = false;
    t.F().ResolveNetBios = false;
    // The window's lookup has no permitted path here; the worker twin still asks the DNS-only one.
    EXPECT_EQ(NameByAddr(t.F(), "10.0.0.1"), "");
    EXPECT_EQ(t.resolver->Calls("10.0.0.1"), 0);
    EXPECT_EQ(ResolveName(LookupFlagsOf(t.F()), "10.0.0.1"), "host.example");
    EXPECT_EQ(t.resolver->Calls("10.0.0.1"), 1);

    t.F().ResolveNetBios = true;
    EXPECT_EQ(NameByAddr(t.F(), "10.0.0.1"), "host.example");
    // With NetBIOS allowed and WinNT5 off the worker goes straight to the system lookup.
    EXPECT_EQ(ResolveName(LookupFlagsOf(t.F()), "10.0.0.1"), "host.example");
    EXPECT_EQ(t.resolver->Calls("10.0.0.1"), 3);
}

// A resolver that throws counts as one that found nothing.
TEST(NameLookup, ForwardLookupReturnsDottedFirstAddress) {
    struct Throwing : Resolver {
        std::optional<std::string> HostNameOf(const std::string&) override { throw std::runtime_error("x"); }
        std::optional<IPv4> AddressOf(const std::string&) override { throw std::runtime_error("x"); }
    };
    ResolveForm t;
    t.resolver->Address("www.example", "10.20.30.240");
    EXPECT_EQ(AddrByName(t.F(), "www.example"), "10.20.30.240");
    EXPECT_EQ(AddrByName(t.F(), "unknown.example"), "");
    EXPECT_EQ(AddrByName(t.F(), "1.2.3.4"), "1.2.3.4");
    EXPECT_EQ(t.resolver->Calls("1.2.3.4"), 0);
    EXPECT_EQ(ResolveAddr(LookupFlagsOf(t.F()), "www.example"), "10.20.30.240");

    t.F().resolve.resolver = std::make_shared<Throwing>();
    t.F().ResolveNetBios = true;
    EXPECT_EQ(NameByAddr(t.F(), "10.0.0.1"), "");
    EXPECT_EQ(AddrByName(t.F(), "x.example"), "");
}

// Real lookups, limited to what /etc/hosts answers.
TEST(SystemResolver, AnswersLocalhostBothWays) {
    TestForm t;
    t.F().WinNT5 = true;
    t.F().BadNameChars = MakeBadNameChars();
    ASSERT_FALSE(t.F().resolve.resolver) << "no resolver set: the system resolver answers";
    EXPECT_EQ(NameByAddr(t.F(), "127.0.0.1"), "localhost");
    EXPECT_EQ(AddrByName(t.F(), "localhost"), "127.0.0.1");
    EXPECT_FALSE(SystemResolver()->HostNameOf("not an address").has_value());
}
