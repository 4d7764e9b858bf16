#include "text/case_fold.h"

#include <gtest/gtest.h>

namespace text {
namespace {

TEST(CaseFold, MapsCaseInEveryScript) {
    const struct {
        char32_t code, upper, lower;
    } cases[] = {
        {U'a', U'A', U'a'},
        {U'é', U'É', U'é'},
        {U'ÿ', U'Ÿ', U'ÿ'},
        {U'ß', U'ß', U'ß'},
        {U'σ', U'Σ', U'σ'},
        {U'ς', U'Σ', U'ς'},
        {U'Ж', U'Ж', U'ж'},
        {U'ա', U'Ա', U'ա'},
        {U'ა', U'Ა', U'ა'},
        {U'ǅ', U'Ǆ', U'ǆ'},
        {U'ｚ', U'Ｚ', U'ｚ'},
        {U'日', U'日', U'日'},
        {U'\U00010428', U'\U00010400', U'\U00010428'},  // Deseret, beyond the plane
        {U'İ', U'İ', U'İ'},                             // its lower case is two characters: kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Upper(c.code), c.upper) << static_cast<uint32_t>(c.code);
        EXPECT_EQ(Lower(c.code), c.lower) << static_cast<uint32_t>(c.code);
    }
    EXPECT_EQ(Fold(U'ς'), Fold(U'Σ'));
    EXPECT_EQ(Fold(U'K'), Fold(U'\u212A'));  // the Kelvin sign
    EXPECT_EQ(UpperCase("ǆemal \xE9"), "ǄEMAL \xE9");
    EXPECT_EQ(FoldCase("ΣΊΣΥΦΟΣ"), FoldCase("σίσυφος"));
}

TEST(CaseFold, MapsWholeTextsAndKeepsStrayBytes) {
    const struct {
        const char* text;
        const char* upper;
        const char* lower;
    } cases[] = {
        {"aàÿšœ÷×", "AÀŸŠŒ÷×", "aàÿšœ÷×"},
        {"Straße", "STRAßE", "straße"},  // ß has no one-character capital
        {"ΣίσυφοςΑ", "ΣΊΣΥΦΟΣΑ", "σίσυφοςα"},
        {"DIR ÉtÉ ТЕСТ 日本", "DIR ÉTÉ ТЕСТ 日本", "dir été тест 日本"},
        {"Ｆｕｌｌ", "ＦＵＬＬ", "ｆｕｌｌ"},
        {"a\xE9z", "A\xE9Z", "a\xE9z"},  // a byte that is not UTF-8 is kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperCase(c.text), c.upper) << c.text;
        EXPECT_EQ(LowerCase(c.text), c.lower) << c.text;
    }
    EXPECT_EQ(FoldedUtf16("\x80Ä"), u"\x20AC\x00E4");  // a stray byte as its legacy character
}

}  // namespace
}  // namespace text
