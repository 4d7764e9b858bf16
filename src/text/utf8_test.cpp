#include "text/utf8.h"

#include <gtest/gtest.h>

#include <sstream>

#include "text/text_cases_testing.h"

namespace text::utf8 {
namespace {

std::u16string Units(const std::string& hex) {
    std::u16string units;
    std::istringstream in(hex);
    for (unsigned unit = 0; in >> std::hex >> unit;) units += static_cast<char16_t>(unit);
    return units;
}

TEST(Utf8, CasesOfTestdata) {
    for (const TextCase& c : ReadCases("src/text/testdata/utf8.txt")) {
        SCOPED_TRACE(c.where);
        if (c[0] == "count") {
            EXPECT_EQ(CountUnits(c[1]), c.Size(2));
        } else if (c[0] == "slice") {
            EXPECT_EQ(SliceUnits(c[1], c.Size(2), c.Size(3)), c[4]);
        } else if (c[0] == "seek") {
            EXPECT_EQ(Seek(c[1], c.Size(2)).byte, c.Size(3));
            EXPECT_EQ(Seek(c[1], c.Size(2)).inPair, c.Flag(4));
        } else if (c[0] == "utf16") {
            EXPECT_EQ(ToUtf16(c[1]), Units(c[2]));
            EXPECT_EQ(FromUtf16(Units(c[2])), c[3]);
        } else {
            ASSERT_EQ(c[0], "append");
            std::string out = c[1];
            AppendText(&out, c[2]);
            EXPECT_EQ(out, c[3]);
        }
    }
    // From inside a pair no step stays at its start, and one passes its second half.
    const std::string_view text = "a😀b";
    const Place half = Seek(text, 2);
    EXPECT_EQ(Advance(text, half, 0).byte, 1u);
    EXPECT_EQ(Advance(text, half, 1).byte, 5u);
    EXPECT_EQ(Slice(text, half, Advance(text, half, 2)), std::string("\xED\xB8\x80") + "b");
}

}  // namespace
}  // namespace text::utf8
