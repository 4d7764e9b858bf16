#include "remote/ip_address.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

constexpr char kNone[] = "<none>";

const auto Shown = [](const std::optional<std::string>& text) { return text.value_or(kNone); };

// The BAN golden case refuses the usual junk (ports, quotes, letters, five parts, 256, a leading
// zero, a huge number); these are the edges past it. Of two zero runs the longer becomes "::", of
// equal ones the first, and a lone zero group stays; a dotted quad in the last two groups stays so
// only in a mapped address. A line that is no address (an older BAN's) matches only as written;
// ::10.1.2.3 is compatible, not mapped. IPv6 text is the characters of one, with two colons at
// least.
TEST(IpAddressTest, AnAddressIsWrittenOneWayComparedInAnySpellingAndAnythingElseRefused) {
    std::string many;
    for (int i = 0; i < 1000; ++i) many += "1:";
    // clang-format off
    const struct { std::string text; const char* canonical; } cases[] = {
        {"0.0.0.0", "0.0.0.0"}, {"255.255.255.255", "255.255.255.255"},
        {"10.100.0.9", "10.100.0.9"}, {"1.2.3", kNone}, {"1..2", kNone}, {".1.2.3.4", kNone},
        {"1.2.3.4.", kNone}, {"1.2.3.1000", kNone}, {"1.2.3.00", kNone}, {"1.2.3.-4", kNone},
        {"1.2.3.4 ", kNone}, {"999", kNone}, {"", kNone}, {std::string(300, '.'), kNone},
        {"2001:DB8::1", "2001:db8::1"}, {"2001:0db8:0000:0000:0000:0000:0000:0001", "2001:db8::1"},
        {"::", "::"}, {"0:0:0:0:0:0:0:0", "::"}, {"::1", "::1"}, {"1::", "1::"},
        {"1:2:3:4:5:6:7:8", "1:2:3:4:5:6:7:8"}, {"2001:db8::1:1:1:1:1", "2001:db8:0:1:1:1:1:1"},
        {"1:0:0:2:0:0:0:3", "1:0:0:2::3"}, {"2001:db8:0:0:1:0:0:1", "2001:db8::1:0:0:1"},
        {"::FFFF:0102:0304", "::ffff:1.2.3.4"}, {"0:0:0:0:0:ffff:1.2.3.4", "::ffff:1.2.3.4"},
        {"::1.2.3.4", "::102:304"}, {"1:2:3:4:5:6:1.2.3.4", "1:2:3:4:5:6:102:304"},
        {":::", kNone}, {"1:::2", kNone}, {"1::2::3", kNone}, {":1::2", kNone}, {"1::2:", kNone},
        {"1:2:3:4:5:6:7", kNone}, {"1:2:3:4:5:6:7:8:9", kNone}, {"1:2:3:4:5:6:7::8", kNone},
        {"12345::1", kNone}, {"fe80::1%eth0", kNone}, {"[::1]", kNone}, {"1.2.3.4::", kNone},
        {"::1.2.3", kNone}, {"::1.2.3.4:1", kNone}, {"::ffff:256.1.1.1", kNone},
        {"1:2:3:4:5:6:7:1.2.3.4", kNone}, {many + ":1", kNone}};
    const struct { const char *line, *address; bool same; } pairs[] = {
        {"2001:DB8:0:0::1", "2001:db8::1", true}, {"2001:db8::1", "2001:db8::2", false},
        {"10.1.2.3", "::FFFF:a01:203", true}, {"::10.1.2.3", "10.1.2.3", false},
        {"10.1.2.3 ", "10.1.2.3", false}, {"1..2", "1..2", true}, {"1..2", "1.2", false}};
    const struct { const char* text; bool ipv6; } texts[] = {
        {"::1", true}, {"2001:db8::1.2.3.4", true}, {"fe80::G", false}, {"1:2", false},
        {"host:80", false}, {"1.2.3.4", false}, {"a:b:c", true}, {"", false}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(Shown(CanonicalAddress(c.text)), c.canonical) << c.text.substr(0, 40);
    }
    for (const auto& c : pairs) {
        EXPECT_EQ(SameAddress(c.line, c.address), c.same) << c.line << " / " << c.address;
        EXPECT_EQ(SameAddress(c.address, c.line), c.same) << c.address << " / " << c.line;
    }
    EXPECT_EQ(Shown(AddressKey("::ffff:10.1.2.3")), "10.1.2.3");
    EXPECT_EQ(Shown(AddressKey("1..2")), kNone);
    for (const auto& c : texts) EXPECT_EQ(IsIPv6Text(c.text), c.ipv6) << c.text;
}

}  // namespace
}  // namespace vantrel
