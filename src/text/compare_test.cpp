#include "text/compare.h"

#include <gtest/gtest.h>

#include <string>

namespace text {
namespace {

constexpr size_t kAll = std::string::npos;

TEST(Compare, MatchesWholeCharactersWithoutCase) {
    // A byte of no character is itself: "gr\xFC" is not "grü".
    // clang-format off
    const struct { const char *a, *b; bool equal; } pairs[] = {
        {"CdD", "cdd", true}, {"Straße", "STRAßE", true}, {"ΣΊΣΥΦΟΣ", "σίσυφος", true},
        {"ς", "Σ", true}, {"Тест окно", "тест ОКНО", true}, {"Kelvin", "\u212Aelvin", true},
        {"ab", "abc", false}, {"日本", "日本語", false}, {"é", "e", false}, {"gr\xFCn", "grün", false}};
    // An ASCII text is found at a letter that folds into it (the Kelvin sign); a stray byte
    // finds its like, not a character.
    const struct { const char *text, *find; size_t from, at; } finds[] = {
        {"abcABC", "Bc", 2, 4}, {"Окно: ТЕСТ окно", "тест", 1, 10}, {"日本日本", "本", 4, 9},
        {"x \u212Aey", "key", 0, 2}, {"x \u212Aey", "\u212AEY", 0, 2},
        {"\xC3\xA4 x\xC3", "\xC3", 0, 4}, {"abc", "d", 0, kAll}, {"abc", "", 3, 3}};
    // clang-format on
    for (const auto& p : pairs) {
        EXPECT_EQ(EqualsNoCase(p.a, p.b), p.equal) << p.a << " " << p.b;
        EXPECT_EQ(EqualsNoCase(p.b, p.a), p.equal) << p.b << " " << p.a;
    }
    for (const auto& f : finds) EXPECT_EQ(FindNoCase(f.text, f.find, f.from), f.at) << f.text;
    EXPECT_TRUE(StartsWithNoCase("ΕΛΛΗΝΙΚΆ.txt", "ελλην"));
    EXPECT_TRUE(EndsWithNoCase("Setup.EXE", ".exe"));
    size_t end = 0;
    EXPECT_TRUE(MatchesAt("x\u212A!", 1, "k", &end));
    EXPECT_EQ(end, 4u);  // the Kelvin sign's three bytes
}

TEST(Compare, OrdersAndFindsInUtf16Units) {
    // U+E000 is one unit above every half of a pair: past an emoji. ß is not "ss", and a
    // legacy byte reads as é.
    // clang-format off
    const struct { const char *a, *b; bool fold; int expected; } orders[] = {
        {"abc", "abd", false, -1}, {"ab", "abc", false, -1}, {"abc", "ab", false, 1},
        {"a", "B", false, 1}, {"a", "B", true, -1}, {"é", "z", false, 1},
        {"日本", "日本", false, 0}, {"日", "本", false, -1}, {"\uE000", "😀", false, 1},
        {"\uFFFD", "\U0001F600", false, 1}, {"\u00FF", "\U0001F600", false, -1},
        {"ПРИВЕТ", "привет", true, 0}, {"ПРИВЕТ", "привет", false, -1},
        {"Straße", "STRASSE", true, 1}, {"x\xE9", "x\xC3\xA9", false, 0}};
    // "\xED\xB8\x80" is the second half of the pair alone; from 2 starts inside the pair; a
    // legacy byte is one unit.
    const struct { const char *hay, *needle; size_t from; bool fold; size_t expected; } finds[] = {
        {"a😀b日", "日", 0, false, 4}, {"a😀b日", "b", 0, false, 3},
        {"a😀b日", "\xED\xB8\x80", 0, false, 2}, {"ΑΒΓαβγ", "βγ", 0, false, 4},
        {"ΑΒΓαβγ", "βγ", 0, true, 1}, {"ΑΒΓαβγ", "βγ", 2, true, 4}, {"日本", "語", 0, false, kAll},
        {"a😀b日", "b", 2, false, 3}, {"日本日本", "日", 1, false, 2},
        {"x\xE9y\xE9", "\xE9", 2, false, 3}};
    // clang-format on
    for (const auto& c : orders) {
        EXPECT_EQ(Compare(c.a, c.b, c.fold), c.expected) << c.a << " " << c.b << " " << c.fold;
        EXPECT_EQ(Compare(c.b, c.a, c.fold), -c.expected) << c.b << " " << c.a << " " << c.fold;
    }
    for (const auto& c : finds) {
        EXPECT_EQ(FindUnits(c.hay, c.needle, c.from, c.fold), c.expected)
            << c.hay << " " << c.needle;
    }
    EXPECT_EQ(FindLastUnits("日本日本", "本", 4, false), 3u);
    EXPECT_EQ(FindLastUnits("日本日本", "本", 3, false), 1u);
    EXPECT_EQ(FindLastUnits("日本日本", "ほ", 4, false), kAll);
    EXPECT_EQ(FindAscii("abcABC", "BC", 0, true), 1u);
    EXPECT_EQ(FindLastAscii("abcABC", "bc", 6, true), 4u);
}

}  // namespace
}  // namespace text
