#include "text/case_fold.h"

#include <gtest/gtest.h>

namespace text {
namespace {

TEST(CaseFold, MapsCodesAndWholeTextsInEveryScript) {
    // Deseret lies beyond the plane; İ's lower case is two characters, so it keeps its own.
    // clang-format off
    const struct { char32_t code, upper, lower; } codes[] = {
        {U'a', U'A', U'a'}, {U'é', U'É', U'é'}, {U'ÿ', U'Ÿ', U'ÿ'}, {U'ß', U'ß', U'ß'},
        {U'σ', U'Σ', U'σ'}, {U'ς', U'Σ', U'ς'}, {U'Ж', U'Ж', U'ж'}, {U'ա', U'Ա', U'ա'},
        {U'ა', U'Ა', U'ა'}, {U'ǅ', U'Ǆ', U'ǆ'}, {U'ｚ', U'Ｚ', U'ｚ'}, {U'日', U'日', U'日'},
        {U'\U00010428', U'\U00010400', U'\U00010428'}, {U'İ', U'İ', U'İ'}};
    // ß has no one-character capital; a byte that is not UTF-8 is kept.
    const struct { const char *text, *upper, *lower; } texts[] = {
        {"aàÿšœ÷×", "AÀŸŠŒ÷×", "aàÿšœ÷×"},
        {"Straße", "STRAßE", "straße"},
        {"ΣίσυφοςΑ", "ΣΊΣΥΦΟΣΑ", "σίσυφοςα"},
        {"DIR ÉtÉ ТЕСТ 日本", "DIR ÉTÉ ТЕСТ 日本", "dir été тест 日本"},
        {"Ｆｕｌｌ", "ＦＵＬＬ", "ｆｕｌｌ"},
        {"a\xE9z", "A\xE9Z", "a\xE9z"},
        {"ǆemal \xE9", "ǄEMAL \xE9", "ǆemal \xE9"}};
    // clang-format on
    for (const auto& c : codes) {
        EXPECT_EQ(Upper(c.code), c.upper) << static_cast<uint32_t>(c.code);
        EXPECT_EQ(Lower(c.code), c.lower) << static_cast<uint32_t>(c.code);
    }
    EXPECT_EQ(Fold(U'ς'), Fold(U'Σ'));
    EXPECT_EQ(Fold(U'K'), Fold(U'\u212A'));  // the Kelvin sign
    EXPECT_EQ(FoldCase("ΣΊΣΥΦΟΣ"), FoldCase("σίσυφος"));
    EXPECT_EQ(FoldedUtf16("\x80Ä"), u"\x20AC\x00E4");  // a stray byte as its legacy character
    for (const auto& c : texts) {
        EXPECT_EQ(UpperCase(c.text), c.upper) << c.text;
        EXPECT_EQ(LowerCase(c.text), c.lower) << c.text;
    }
}

}  // namespace
}  // namespace text
