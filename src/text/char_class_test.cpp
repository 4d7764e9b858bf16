#include "text/char_class.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "text/text_cases_testing.h"

namespace text {
namespace {

TEST(CharClass, EachClassHoldsExactlyItsCodes) {
    const std::map<std::string, bool (*)(char32_t)> classes = {
        {"letter", IsAsciiLetter},
        {"upper", IsAsciiUpper},
        {"lower", IsAsciiLower},
        {"digit", IsAsciiDigit},
        {"letter or digit", IsAsciiLetterOrDigit},
        {"name", IsNameChar},
        {"hex", IsHexDigit},
        {"blank", IsBlank},
        {"script blank", IsScriptBlank},
        {"number blank", IsNumberTextBlank},
        {"regexp space", IsRegExpSpace},
    };
    for (const TextCase& c : ReadCases("src/text/testdata/char_class.txt")) {
        const auto in = classes.at(c[0]);
        for (char32_t code = 0; code < 256; ++code) {
            const bool listed = c[1].find(static_cast<char>(code)) != std::string::npos;
            EXPECT_EQ(in(code), listed) << c.where << " code " << static_cast<int>(code);
        }
    }
}

}  // namespace
}  // namespace text
