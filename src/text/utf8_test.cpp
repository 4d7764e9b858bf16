#include "text/utf8.h"

#include <gtest/gtest.h>

namespace text::utf8 {
namespace {

constexpr size_t kAll = std::string::npos;

// Units as VBScript counts them: a character beyond the Basic Multilingual Plane is a pair; a
// legacy byte, each byte of a cut sequence and each of an overlong form is a character of its
// own; half of a pair, as Append writes it, is one.
TEST(Utf8, CountsAndSlicesUnitsAndSplitsPairs) {
    // clang-format off
    const struct { const char* text; size_t units; } counts[] = {
        {"", 0}, {"abc", 3}, {"日本語", 3}, {"αβγ", 3}, {"😀", 2}, {"a😀b", 4}, {"caf\xE9", 4},
        {"\xF0\x9F", 2}, {"\xED\xA0\xBD", 1}, {"\xC0\x80", 2}};
    // A cut pair gives its first or second half alone; a legacy byte comes out as it was.
    const struct { const char* text; size_t first, count; const char* expected; } slices[] = {
        {"日本語", 1, 1, "本"}, {"日本語", 1, kAll, "本語"}, {"日本語", 3, 1, ""},
        {"日本語", 9, 1, ""}, {"a😀b", 1, 2, "😀"}, {"a😀b", 1, 1, "\xED\xA0\xBD"},
        {"a😀b", 2, 2, "\xED\xB8\x80" "b"}, {"a😀b", 2, 0, ""},
        {"😀😀", 1, 2, "\xED\xB8\x80\xED\xA0\xBD"}, {"caf\xE9!", 3, 1, "\xE9"}};
    // Places in "a😀b": its second unit is inside the pair, past the end is the end.
    const struct { size_t units, byte; bool inPair; } seeks[] = {
        {1, 1, false}, {2, 1, true}, {3, 5, false}, {99, 6, false}};
    // clang-format on
    for (const auto& c : counts) EXPECT_EQ(CountUnits(c.text), c.units) << c.text;
    for (const auto& c : slices) {
        EXPECT_EQ(SliceUnits(c.text, c.first, c.count), c.expected)
            << c.text << " " << c.first << " " << c.count;
    }
    const std::string_view text = "a😀b";
    for (const auto& c : seeks) {
        EXPECT_EQ(Seek(text, c.units).byte, c.byte) << c.units;
        EXPECT_EQ(Seek(text, c.units).inPair, c.inPair) << c.units;
    }
    const Place half = Seek(text, 2);
    EXPECT_EQ(Advance(text, half, 0).byte, 1u);
    EXPECT_EQ(Advance(text, half, 1).byte, 5u);
    EXPECT_EQ(Slice(text, half, Advance(text, half, 2)), std::string("\xED\xB8\x80") + "b");
}

// A lone half round trips, a legacy byte reads as Windows-1252, and two halves written apart
// join again, in UTF-16 and when appended in the right order.
TEST(Utf8, ConvertsToUtf16AndJoinsTheHalvesOfAPair) {
    // clang-format off
    const struct { const char* text; std::u16string units; const char* back; } cases[] = {
        {"日本", u"日本", "日本"}, {"😀", u"\xD83D\xDE00", "😀"},
        {"\xED\xA0\xBD", u"\xD83D", "\xED\xA0\xBD"}, {"\x80", u"\x20AC", "€"}, {"", u"", ""}};
    const struct { const char *out, *text, *expected; } appends[] = {
        {"a\xED\xA0\xBD", "\xED\xB8\x80" "b", "a😀b"},
        {"\xED\xB8\x80", "\xED\xA0\xBD", "\xED\xB8\x80\xED\xA0\xBD"},  // wrong order
        {"\xED\xA0\xBD", "x", "\xED\xA0\xBDx"}, {"", "\xED\xB8\x80", "\xED\xB8\x80"},
        {"日", "本", "日本"}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf16(c.text), c.units) << c.text;
        EXPECT_EQ(FromUtf16(c.units), c.back) << c.text;
    }
    EXPECT_EQ(FromUtf16(ToUtf16("\xED\xA0\xBD\xED\xB8\x80")), "😀");
    for (const auto& c : appends) {
        std::string out = c.out;
        AppendText(&out, c.text);
        EXPECT_EQ(out, c.expected) << c.out << " + " << c.text;
    }
}

}  // namespace
}  // namespace text::utf8
