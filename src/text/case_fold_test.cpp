#include "text/case_fold.h"

#include <gtest/gtest.h>

#include "text/text_cases_testing.h"
#include "text/utf8.h"

namespace text {
namespace {

// The one character a field holds.
char32_t Code(const std::string& field) {
    const std::u16string u = utf8::ToUtf16(field);
    return u.size() == 1 ? u[0] : 0x10000 + ((u.at(0) - 0xD800) << 10) + (u.at(1) - 0xDC00);
}

TEST(CaseFold, CasesOfTestdata) {
    for (const TextCase& c : ReadCases("src/text/testdata/case_fold.txt")) {
        SCOPED_TRACE(c.where);
        if (c[0] == "code") {
            EXPECT_EQ(Upper(Code(c[1])), Code(c[2]));
            EXPECT_EQ(Lower(Code(c[1])), Code(c[3]));
        } else if (c[0] == "text") {
            EXPECT_EQ(UpperCase(c[1]), c[2]);
            EXPECT_EQ(LowerCase(c[1]), c[3]);
        } else {
            ASSERT_EQ(c[0], "same fold");
            EXPECT_EQ(FoldCase(c[1]), FoldCase(c[2]));
            if (utf8::CountUnits(c[1]) == 1) {
                EXPECT_EQ(Fold(Code(c[1])), Fold(Code(c[2])));
            }
        }
    }
    EXPECT_EQ(FoldedUtf16("\x80Ä"), u"\x20AC\x00E4");  // a stray byte as its legacy character
}

}  // namespace
}  // namespace text
