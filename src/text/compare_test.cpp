#include "text/compare.h"

#include <gtest/gtest.h>

#include "text/text_cases_testing.h"

namespace text {
namespace {

TEST(Compare, CasesOfTestdata) {
    for (const TextCase& c : ReadCases("src/text/testdata/compare.txt")) {
        SCOPED_TRACE(c.where);
        const std::string& call = c[0];
        size_t end = 0;
        if (call == "equal") {
            EXPECT_EQ(EqualsNoCase(c[1], c[2]), c.Flag(3));
            EXPECT_EQ(EqualsNoCase(c[2], c[1]), c.Flag(3));
        } else if (call == "find") {
            EXPECT_EQ(FindNoCase(c[1], c[2], c.Size(3)), c.Size(4));
        } else if (call == "starts" || call == "ends") {
            EXPECT_TRUE(call == "starts" ? StartsWithNoCase(c[1], c[2])
                                         : EndsWithNoCase(c[1], c[2]));
        } else if (call == "matches at") {
            EXPECT_TRUE(MatchesAt(c[1], c.Size(2), c[3], &end));
            EXPECT_EQ(end, c.Size(4));
        } else if (call == "order") {
            EXPECT_EQ(Compare(c[1], c[2], c.Flag(3)), c.Int(4));
            EXPECT_EQ(Compare(c[2], c[1], c.Flag(3)), -c.Int(4));
        } else if (call == "units") {
            EXPECT_EQ(FindUnits(c[1], c[2], c.Size(3), c.Flag(4)), c.Size(5));
        } else if (call == "last units") {
            EXPECT_EQ(FindLastUnits(c[1], c[2], c.Size(3), c.Flag(4)), c.Size(5));
        } else if (call == "replace") {
            EXPECT_EQ(ReplaceAll(c[1], c[2], c[3], c.Flag(4)), c[5]);
        } else if (call == "ascii") {
            EXPECT_EQ(FindAscii(c[1], c[2], c.Size(3), c.Flag(4)), c.Size(5));
        } else {
            ASSERT_EQ(call, "last ascii");
            EXPECT_EQ(FindLastAscii(c[1], c[2], c.Size(3), c.Flag(4)), c.Size(5));
        }
    }
}

// A view that is part of a longer text ends where the view ends: what
// follows it in memory is never read as part of it.
TEST(Compare, AViewEndsWhereItEnds) {
    const std::string_view ab = std::string_view("abc").substr(0, 2);
    size_t end = 0;
    EXPECT_FALSE(MatchesAt(ab, 1, "BC", &end));
    EXPECT_EQ(FindNoCase(ab, "bc"), std::string_view::npos);
}

}  // namespace
}  // namespace text
