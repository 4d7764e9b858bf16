#include "platform/text_decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"
#include "text/utf8.h"

namespace vantrel {
namespace {

using testing::FakeCodePages;
using namespace std::string_literals;

// café, ¬, € and 😀 as UTF-8; é, ¬ and € as Windows-1252.
constexpr char kCafeUtf8[] = "caf\xC3\xA9";
constexpr char kCafe1252[] = "caf\xE9";
constexpr char kNotUtf8[] = "\xC2\xAC";
constexpr char kEuroUtf8[] = "\xE2\x82\xAC";
constexpr char kSmileUtf8[] = "\xF0\x9F\x98\x80";

// é of 1252 at the end may be a cut lead, but followed by a blank it starts no sequence; a
// sequence that is wrong at once is no torn end, though short. Invalid: overlong forms of two and
// three bytes, a surrogate, past U+10FFFF, no lead byte, a lone continuation.
TEST(ScanUtf8Test, FindsTheValidPartAndATornEnd) {
    // clang-format off
    const struct { std::string bytes; size_t valid; bool torn; } cases[] = {
        {"", 0, false}, {"abc", 3, false}, {kCafeUtf8, 5, false}, {kSmileUtf8, 4, false},
        {"ab\xC3", 2, true}, {"ab\xE2\x82", 2, true}, {"\xF0\x9F\x98", 0, true},
        {kCafe1252, 3, true}, {"caf\xE9 x", 3, false},
        {"\xC0\xAF", 0, false}, {"\xE0\x80\xAF", 0, false}, {"\xED\xA0\x80", 0, false},
        {"\xF4\x90\x80\x80", 0, false}, {"\xF5", 0, false}, {"a\x80", 1, false},
        {"\xE0\x80", 0, false}, {"x\xC3\xA9\xC3", 3, true}};
    // clang-format on
    for (const auto& c : cases) {
        const Utf8Scan scan = ScanUtf8(c.bytes);
        EXPECT_EQ(scan.valid, c.valid) << c.bytes;
        EXPECT_EQ(scan.torn, c.torn) << c.bytes;
        EXPECT_EQ(text::utf8::IsValid(c.bytes), c.valid == c.bytes.size() && !c.torn) << c.bytes;
    }
}

// Byte-order marks decide, then valid UTF-8, then the legacy code page; after a UTF-8 mark every
// line is UTF-8, whatever it looks like.
TEST(DecodeStoredTextTest, ByteOrderMarksThenUtf8ThenLegacyLineByLine) {
    FakeCodePages pages;
    // clang-format off
    const struct { const char* name; std::string bytes, text; } cases[] = {
        {"ascii", "echo hi\r\n", "echo hi\r\n"}, {"empty", "", ""},
        {"utf-8", "echo "s + kCafeUtf8 + "\r\n", "echo "s + kCafeUtf8 + "\r\n"},
        {"1252", "echo "s + kCafe1252 + "\r\n", "echo "s + kCafeUtf8 + "\r\n"},
        {"1252 marker", "echo \xAC" "TEMP\xAC", "echo "s + kNotUtf8 + "TEMP" + kNotUtf8},
        {"1252 at the end", "x\xE9", "x\xC3\xA9"}, {"bom only", "\xEF\xBB\xBF", ""},
        {"utf-8 bom", "\xEF\xBB\xBF"s + kCafeUtf8, kCafeUtf8},
        {"utf-16le bom", "\xFF\xFE" "c\0a\0f\0\xE9\0\r\0\n\0"s, kCafeUtf8 + "\r\n"s},
        {"utf-16be bom", "\xFE\xFF\0c\0a\0f\0\xE9"s, kCafeUtf8},
        {"utf-16 pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, kSmileUtf8},
        {"utf-16 odd byte", "\xFF\xFE" "a\0b"s, "a"}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeStoredText(pages, c.bytes), c.text) << c.name;
        EXPECT_EQ(DecodeStoredText(pages, c.bytes, LineMix::kWholeFile), c.text) << c.name;
    }
    // An old version's lines, then a new one's, then old again, with every kind of line end;
    // decided for the whole, the one invalid line makes all legacy.
    const std::string bytes = "echo "s + kCafe1252 + "\r\n" + "echo " + kEuroUtf8 + "\n" +
                              "plain\r" + "echo \x80\r\n" + kCafeUtf8;
    const std::string text = "echo "s + kCafeUtf8 + "\r\n" + "echo " + kEuroUtf8 + "\n" +
                             "plain\r" + "echo " + kEuroUtf8 + "\r\n" + kCafeUtf8;
    EXPECT_EQ(DecodeStoredText(pages, bytes), text);
    const std::string whole = DecodeStoredText(pages, bytes, LineMix::kWholeFile);
    EXPECT_NE(whole, text);
    EXPECT_EQ(whole, pages.FromLegacy(bytes));
    // A legacy process gets legacy text.
    pages.processIsUtf8 = false;
    EXPECT_EQ(DecodeStoredText(pages, kCafe1252 + "\r\n"s + kCafeUtf8),
              kCafe1252 + "\r\n"s + kCafe1252);
    EXPECT_EQ(DecodeStoredText(pages, "\xEF\xBB\xBF"s + kEuroUtf8), "\x80");
}

// The parts go in one after the other; out holds what came of each, then of Finish, or of Cut
// where the bytes were cut short. A cut drops only a torn character; a legacy byte that could
// begin a character cannot be told from one at the cut, so it goes too.
TEST(TextDecoderTest, CarriesTornCharactersAndOpenLinesAndACutDropsATornOne) {
    FakeCodePages pages;
    pages.oem = [](unsigned char b) -> char32_t { return b == 0x82 ? U'é' : b; };  // as 850
    constexpr Fallback kOem = Fallback::kOem, kLegacy = Fallback::kLegacy;
    // clang-format off
    const struct {
        const char* name; Fallback fallback; bool guessUtf16;
        std::vector<std::string> parts, out; bool cut = false;
    } cases[] = {
        {"utf-8 torn by parts", kOem, true, {"caf\xC3", "\xA9\r\n"}, {"", kCafeUtf8 + "\r\n"s, ""}},
        {"four bytes in three parts", kLegacy, false, {"a\xF0\x9F", "\x98", "\x80" "b\n"},
         {"", "", "a"s + kSmileUtf8 + "b\n", ""}},
        {"open line waits", kOem, true, {"one\r\ntw", "o\r\n"}, {"one\r\n", "two\r\n", ""}},
        {"the rest at the end", kOem, true, {"a\r\nb"}, {"a\r\n", "b"}},
        {"oem line", kOem, true, {"caf\x82\r\n"}, {kCafeUtf8 + "\r\n"s, ""}},
        {"legacy line", kLegacy, false, {"caf\xE9\r\n"}, {kCafeUtf8 + "\r\n"s, ""}},
        {"a torn lead alone at the end is legacy", kLegacy, false, {"ab\xC3"}, {"", "ab\xC3\x83"}},
        {"utf-16le by its zeros", kOem, true, {"d\0i\0r\0\r\0\n\0"s}, {"dir\r\n", ""}},
        {"utf-16be by its zeros", kOem, true, {"\0o\0k"s}, {"ok", ""}},
        {"utf-16 unit cut", kOem, true, {"a\0\xE9"s, "\0"s, "b\0"s}, {"a", kCafeUtf8 + 3, "b", ""}},
        {"utf-16 pair split", kOem, true, {"\xFF\xFE\x3D\xD8"s, "\x00\xDE"s}, {"", kSmileUtf8, ""}},
        {"zeros not guessed for files", kLegacy, false, {"a\0"s}, {"", "a\0"s}},
        {"a bom's first byte waits", kLegacy, false, {"\xEF", "\xBB\xBF" "caf\xC3\xA9\n"},
         {"", kCafeUtf8 + "\n"s, ""}},
        {"one byte waits for the utf-16 guess", kOem, true, {"o", "\0k\0"s}, {"", "ok", ""}},
        {"cut utf-8 torn", kLegacy, false, {"line\r\ncaf\xC3"}, {"line\r\n", "caf"}, true},
        {"cut utf-8 torn three", kLegacy, false, {"x\xE2\x82"}, {"", "x"}, true},
        {"cut utf-8 whole", kLegacy, false, {kCafeUtf8}, {"", kCafeUtf8}, true},
        {"cut legacy stays", kLegacy, false, {"caf\xE9!"}, {"", kCafeUtf8 + "!"s}, true},
        {"cut legacy lead byte", kLegacy, false, {kCafe1252}, {"", "caf"}, true},
        {"cut utf-16 half unit", kLegacy, false, {"\xFF\xFE" "a\0b"s}, {"a", ""}, true},
        {"cut utf-16 half pair", kLegacy, false, {"\xFF\xFE" "a\0\x3D\xD8"s}, {"a", ""}, true}};
    // clang-format on
    for (const auto& c : cases) {
        TextDecoder decoder(pages, c.fallback, c.guessUtf16);
        std::vector<std::string> out;
        for (const std::string& part : c.parts) out.push_back(decoder.Next(part));
        out.push_back(c.cut ? decoder.Cut() : decoder.Finish());
        EXPECT_EQ(out, c.out) << c.name;
    }
    // é after é, 3000 of them: a line without end is decoded in pieces that end between two
    // characters.
    TextDecoder decoder(pages, Fallback::kOem, true);
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += "\xC3\xA9";
    std::string first = decoder.Next(bytes.substr(0, 5001));
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(text::utf8::IsValid(first));
    first += decoder.Next(bytes.substr(5001));
    EXPECT_EQ(first + decoder.Finish(), bytes);
}

}  // namespace
}  // namespace vantrel
