#include "script/utf8.h"

#include <gtest/gtest.h>

namespace script::utf8 {
namespace {

constexpr size_t kAll = std::string::npos;

TEST(ScriptUtf8, CountsUnitsAsVBScript) {
    const struct {
        const char* text;
        size_t units;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"日本語", 3},
        {"αβγ", 3},
        {"😀", 2},  // beyond the Basic Multilingual Plane: a pair
        {"a😀b", 4},
        {"caf\xE9", 4},       // a legacy byte is a character of its own
        {"\xF0\x9F", 2},      // so is each byte of a cut sequence
        {"\xED\xA0\xBD", 1},  // half of a pair, as Append writes it
        {"\xC0\x80", 2},      // an overlong form is two stray bytes
    };
    for (const auto& c : cases) EXPECT_EQ(CountUnits(c.text), c.units) << c.text;
}

TEST(ScriptUtf8, SlicesByUnitsAndSplitsPairs) {
    const struct {
        const char* text;
        size_t first;
        size_t count;
        const char* expected;
    } cases[] = {
        {"日本語", 1, 1, "本"},
        {"日本語", 1, kAll, "本語"},
        {"日本語", 3, 1, ""},
        {"日本語", 9, 1, ""},
        {"a😀b", 1, 2, "😀"},
        {"a😀b", 1, 1, "\xED\xA0\xBD"},  // the first half alone
        {"a😀b", 2, 2,
         "\xED\xB8\x80"
         "b"},  // the second half alone
        {"a😀b", 2, 0, ""},
        {"😀😀", 1, 2, "\xED\xB8\x80\xED\xA0\xBD"},
        {"caf\xE9!", 3, 1, "\xE9"},  // a legacy byte comes out as it was
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SliceUnits(c.text, c.first, c.count), c.expected)
            << c.text << " " << c.first << " " << c.count;
    }
}

TEST(ScriptUtf8, ConvertsToUtf16AndBack) {
    const struct {
        const char* text;
        std::u16string units;
        const char* back;  // what the units give back
    } cases[] = {
        {"日本", u"日本", "日本"},
        {"😀", u"\xD83D\xDE00", "😀"},
        {"\xED\xA0\xBD", u"\xD83D", "\xED\xA0\xBD"},  // a lone half round trips
        {"\x80", u"\x20AC", "€"},                     // a legacy byte reads as Windows-1252
        {"", u"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf16(c.text), c.units) << c.text;
        EXPECT_EQ(FromUtf16(c.units), c.back) << c.text;
    }
    // Two halves written apart join again.
    EXPECT_EQ(FromUtf16(ToUtf16("\xED\xA0\xBD\xED\xB8\x80")), "😀");
}

TEST(ScriptUtf8, MapsCaseInEveryScript) {
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
    EXPECT_EQ(ToUpper("ǆemal \xE9"), "ǄEMAL \xE9");
    EXPECT_EQ(FoldCase("ΣΊΣΥΦΟΣ"), FoldCase("σίσυφος"));
}

TEST(ScriptUtf8, ComparesInUtf16Order) {
    const struct {
        const char* a;
        const char* b;
        bool fold;
        int expected;
    } cases[] = {
        {"abc", "abd", false, -1},
        {"ab", "abc", false, -1},
        {"abc", "ab", false, 1},
        {"a", "B", false, 1},
        {"a", "B", true, -1},
        {"é", "z", false, 1},
        {"日本", "日本", false, 0},
        {"日", "本", false, -1},
        // U+E000 is one unit above every half of a pair: past an emoji.
        {"\uE000", "😀", false, 1},
        {"\uFFFD", "\U0001F600", false, 1},
        {"\u00FF", "\U0001F600", false, -1},
        {"ПРИВЕТ", "привет", true, 0},
        {"ПРИВЕТ", "привет", false, -1},
        {"Straße", "STRASSE", true, 1},    // ß is not "ss"
        {"x\xE9", "x\xC3\xA9", false, 0},  // the legacy byte reads as é
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Compare(c.a, c.b, c.fold), c.expected) << c.a << " " << c.b << " " << c.fold;
        EXPECT_EQ(Compare(c.b, c.a, c.fold), -c.expected) << c.b << " " << c.a << " " << c.fold;
    }
}

TEST(ScriptUtf8, FindsByUnits) {
    const struct {
        const char* hay;
        const char* needle;
        size_t from;
        bool fold;
        size_t expected;
    } cases[] = {
        {"a😀b日", "日", 0, false, 4},
        {"a😀b日", "b", 0, false, 3},
        {"a😀b日", "\xED\xB8\x80", 0, false, 2},  // the second half alone
        {"ΑΒΓαβγ", "βγ", 0, false, 4},
        {"ΑΒΓαβγ", "βγ", 0, true, 1},
        {"ΑΒΓαβγ", "βγ", 2, true, 4},
        {"日本", "語", 0, false, kAll},
        {"a😀b日", "b", 2, false, 3},  // from inside the pair
        {"日本日本", "日", 1, false, 2},
        {"x\xE9y\xE9", "\xE9", 2, false, 3},  // a legacy byte is one unit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindUnits(c.hay, c.needle, c.from, c.fold), c.expected)
            << c.hay << " " << c.needle;
    }
    EXPECT_EQ(FindLastUnits("日本日本", "本", 4, false), 3u);
    EXPECT_EQ(FindLastUnits("日本日本", "本", 3, false), 1u);
    EXPECT_EQ(FindLastUnits("日本日本", "ほ", 4, false), kAll);
    EXPECT_EQ(FindBytes("abcABC", "BC", 0, true), 1u);
    EXPECT_EQ(FindLastBytes("abcABC", "bc", 6, true), 4u);
}

TEST(ScriptUtf8, AppendingJoinsTheHalvesOfAPair) {
    const struct {
        const char* out;
        const char* text;
        const char* expected;
    } cases[] = {
        {"a\xED\xA0\xBD",
         "\xED\xB8\x80"
         "b",
         "a😀b"},
        {"\xED\xB8\x80", "\xED\xA0\xBD", "\xED\xB8\x80\xED\xA0\xBD"},  // wrong order
        {"\xED\xA0\xBD", "x", "\xED\xA0\xBDx"},
        {"", "\xED\xB8\x80", "\xED\xB8\x80"},
        {"日", "本", "日本"},
    };
    for (const auto& c : cases) {
        std::string out = c.out;
        AppendText(&out, c.text);
        EXPECT_EQ(out, c.expected) << c.out << " + " << c.text;
    }
}

TEST(ScriptUtf8, SeeksIntoPairs) {
    const std::string_view text = "a😀b";
    EXPECT_EQ(Seek(text, 1).byte, 1u);
    EXPECT_FALSE(Seek(text, 1).inPair);
    EXPECT_EQ(Seek(text, 2).byte, 1u);
    EXPECT_TRUE(Seek(text, 2).inPair);
    EXPECT_EQ(Seek(text, 3).byte, 5u);
    EXPECT_EQ(Seek(text, 99).byte, text.size());
    const Place half = Seek(text, 2);
    EXPECT_EQ(Advance(text, half, 0).byte, 1u);
    EXPECT_EQ(Advance(text, half, 1).byte, 5u);
    EXPECT_EQ(Slice(text, half, Advance(text, half, 2)),
              "\xED\xB8\x80"
              "b");
}

}  // namespace
}  // namespace script::utf8
