// The decay, the refusal and the exempt list are played out in testdata/penalties.talk; here the
// cap, the bound on memory and the sources.
#include "remote/link_penalties.h"

#include <gtest/gtest.h>

#include "remote/ip_address.h"

namespace vantrel {
namespace {

TEST(LinkPenaltiesTest, APenaltyStopsAtItsCapAndAFloodOfSourcesKeepsTheWorst) {
    LinkPenalties penalties;
    for (int i = 0; i < 200; ++i) penalties.Add("10.0.0.1", LinkPenalties::kWrongPassword, 1000);
    EXPECT_EQ(penalties.Left("10.0.0.1", 1000), LinkPenalties::kCap);
    EXPECT_EQ(penalties.Left("10.0.0.1", 1000 + LinkPenalties::kCap - 1), 1u);
    EXPECT_FALSE(
        penalties.Refused("10.0.0.1", 1000 + LinkPenalties::kCap - LinkPenalties::kRefuseAt + 1));

    // Twice the bound of sources, each a second: memory holds the bound, and the guesser stays.
    penalties.Add("10.0.0.1", LinkPenalties::kWrongPassword, 2000);
    for (size_t i = 0; i < 2 * LinkPenalties::kMaxSources; ++i) {
        penalties.Add("flood" + std::to_string(i), LinkPenalties::kEndedBeforeLogin, 2000);
    }
    EXPECT_EQ(penalties.List(2000).size(), LinkPenalties::kMaxSources);
    EXPECT_TRUE(penalties.Refused("10.0.0.1", 2000));
    // Spent penalties give way first, before any that is left.
    penalties.Add("late", LinkPenalties::kWrongPassword, 4000);
    EXPECT_EQ(penalties.List(4000).size(), 2u);

    const struct {
        const char* address;
        const char* source;
    } sources[] = {{"10.1.2.3", "10.1.2.3"},
                   {"::ffff:10.1.2.3", "10.1.2.3"},
                   {"2001:DB8:1:2:3:4:5:6", "2001:db8:1:2::/64"},
                   {"fe80::1", "fe80::/64"},
                   {"0:1::ffff:a01:203", "0:1::/64"},
                   {"::1", "::/64"},
                   {"host", "<none>"}};
    for (const auto& c : sources) {
        EXPECT_EQ(PenaltySource(c.address).value_or("<none>"), c.source) << c.address;
    }
}

}  // namespace
}  // namespace vantrel
