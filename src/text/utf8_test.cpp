#include "text/utf8.h"

#include <gtest/gtest.h>

namespace text::utf8 {
namespace {

constexpr size_t kAll = std::string::npos;

TEST(Utf8, CountsUnitsAsVBScript) {
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

TEST(Utf8, SlicesByUnitsAndSplitsPairs) {
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

TEST(Utf8, ConvertsToUtf16AndBack) {
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

TEST(Utf8, AppendingJoinsTheHalvesOfAPair) {
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

TEST(Utf8, SeeksIntoPairs) {
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
}  // namespace text::utf8
