#include "platform/text_decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"
#include "text/utf8.h"

namespace vantrel {
namespace {

using testing::FakeCodePages;

// café, ¬, € and 😀 as UTF-8; é, ¬ and € as Windows-1252.
constexpr char kCafeUtf8[] = "caf\xC3\xA9";
constexpr char kCafe1252[] = "caf\xE9";
constexpr char kNotUtf8[] = "\xC2\xAC";
constexpr char kEuroUtf8[] = "\xE2\x82\xAC";
constexpr char kSmileUtf8[] = "\xF0\x9F\x98\x80";

TEST(ScanUtf8Test, FindsTheValidPartAndATornEnd) {
    struct Case {
        std::string bytes;
        size_t valid;
        bool torn;
    } cases[] = {
        {"", 0, false},
        {"abc", 3, false},
        {kCafeUtf8, 5, false},
        {kSmileUtf8, 4, false},
        {"ab\xC3", 2, true},
        {"ab\xE2\x82", 2, true},
        {"\xF0\x9F\x98", 0, true},
        {kCafe1252, 3, true},            // é of 1252 at the end may be a cut lead
        {"caf\xE9 x", 3, false},         // ... and followed by a blank no sequence
        {"\xC0\xAF", 0, false},          // overlong "/"
        {"\xE0\x80\xAF", 0, false},      // overlong, three bytes
        {"\xED\xA0\x80", 0, false},      // a surrogate
        {"\xF4\x90\x80\x80", 0, false},  // past U+10FFFF
        {"\xF5", 0, false},              // no lead byte
        {"a\x80", 1, false},             // a lone continuation
        {"\xE0\x80", 0, false},          // wrong at once, though short
        {"x\xC3\xA9\xC3", 3, true},
    };
    for (const Case& c : cases) {
        const Utf8Scan scan = ScanUtf8(c.bytes);
        EXPECT_EQ(scan.valid, c.valid) << c.bytes;
        EXPECT_EQ(scan.torn, c.torn) << c.bytes;
        EXPECT_EQ(text::utf8::IsValid(c.bytes), c.valid == c.bytes.size() && !c.torn) << c.bytes;
    }
}

TEST(DecodeStoredTextTest, ByteOrderMarksThenUtf8ThenLegacy) {
    const FakeCodePages pages;
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"ascii", "echo hi\r\n", "echo hi\r\n"},
        {"utf-8", std::string("echo ") + kCafeUtf8 + "\r\n",
         std::string("echo ") + kCafeUtf8 + "\r\n"},
        {"1252", std::string("echo ") + kCafe1252 + "\r\n",
         std::string("echo ") + kCafeUtf8 + "\r\n"},
        {"1252 marker",
         "echo \xAC"
         "TEMP\xAC",
         std::string("echo ") + kNotUtf8 + "TEMP" + kNotUtf8},
        {"utf-8 bom", std::string("\xEF\xBB\xBF") + kCafeUtf8, kCafeUtf8},
        // After a UTF-8 mark every line is UTF-8, whatever it looks like.
        {"bom only", "\xEF\xBB\xBF", ""},
        {"utf-16le bom",
         std::string("\xFF\xFE"
                     "c\0a\0f\0\xE9\0\r\0\n\0",
                     14),
         std::string(kCafeUtf8) + "\r\n"},
        {"utf-16be bom", std::string("\xFE\xFF\0c\0a\0f\0\xE9", 10), kCafeUtf8},
        {"utf-16 pair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), kSmileUtf8},
        {"utf-16 odd byte",
         std::string("\xFF\xFE"
                     "a\0b",
                     5),
         "a"},
        {"empty", "", ""},
        {"1252 at the end", "x\xE9", "x\xC3\xA9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeStoredText(pages, c.bytes), c.text) << c.name;
        EXPECT_EQ(DecodeStoredText(pages, c.bytes, LineMix::kWholeFile), c.text) << c.name;
    }
}

TEST(DecodeStoredTextTest, MixedFilesAreDecidedLineByLine) {
    const FakeCodePages pages;
    // An old version's lines, then a new one's, then old again, with
    // every kind of line end.
    const std::string bytes = std::string("echo ") + kCafe1252 + "\r\n" + "echo " + kEuroUtf8 +
                              "\n" + "plain\r" + "echo \x80\r\n" + kCafeUtf8;
    const std::string text = std::string("echo ") + kCafeUtf8 + "\r\n" + "echo " + kEuroUtf8 +
                             "\n" + "plain\r" + "echo " + kEuroUtf8 + "\r\n" + kCafeUtf8;
    EXPECT_EQ(DecodeStoredText(pages, bytes), text);
    // One decision for the whole: the one invalid line makes all legacy.
    const std::string whole = DecodeStoredText(pages, bytes, LineMix::kWholeFile);
    EXPECT_NE(whole, text);
    EXPECT_EQ(whole, pages.FromLegacy(bytes));
}

TEST(DecodeStoredTextTest, ALegacyProcessGetsLegacyText) {
    FakeCodePages pages;
    pages.processIsUtf8 = false;
    EXPECT_EQ(DecodeStoredText(pages, std::string(kCafe1252) + "\r\n" + kCafeUtf8),
              std::string(kCafe1252) + "\r\n" + kCafe1252);
    EXPECT_EQ(DecodeStoredText(pages, std::string("\xEF\xBB\xBF") + kEuroUtf8), "\x80");
}

// Feeds the parts one after the other and returns what came out of each,
// the last being Finish (or Cut).
std::vector<std::string> Parts(TextDecoder& decoder, const std::vector<std::string>& parts,
                               bool cut = false) {
    std::vector<std::string> out;
    for (const std::string& part : parts) out.push_back(decoder.Next(part));
    out.push_back(cut ? decoder.Cut() : decoder.Finish());
    return out;
}

TEST(TextDecoderTest, CarriesTornCharactersAndOpenLines) {
    FakeCodePages pages;
    pages.oem = [](unsigned char b) -> char32_t { return b == 0x82 ? U'é' : b; };  // as 850
    struct Case {
        const char* name;
        Fallback fallback;
        bool guessUtf16;
        std::vector<std::string> parts;
        std::vector<std::string> out;
    } cases[] = {
        {"utf-8 torn at a part's end",
         Fallback::kOem,
         true,
         {"caf\xC3", "\xA9\r\n"},
         {"", std::string(kCafeUtf8) + "\r\n", ""}},
        {"four bytes in three parts",
         Fallback::kLegacy,
         false,
         {"a\xF0\x9F", "\x98",
          "\x80"
          "b\n"},
         {"", "", std::string("a") + kSmileUtf8 + "b\n", ""}},
        {"open line waits for its end",
         Fallback::kOem,
         true,
         {"one\r\ntw", "o\r\n"},
         {"one\r\n", "two\r\n", ""}},
        {"the rest at the end", Fallback::kOem, true, {"a\r\nb"}, {"a\r\n", "b"}},
        {"oem line", Fallback::kOem, true, {"caf\x82\r\n"}, {std::string(kCafeUtf8) + "\r\n", ""}},
        {"legacy line",
         Fallback::kLegacy,
         false,
         {"caf\xE9\r\n"},
         {std::string(kCafeUtf8) + "\r\n", ""}},
        {"a torn lead alone at the end is legacy",
         Fallback::kLegacy,
         false,
         {"ab\xC3"},
         {"", "ab\xC3\x83"}},
        {"utf-16le by its zeros",
         Fallback::kOem,
         true,
         {std::string("d\0i\0r\0\r\0\n\0", 10)},
         {"dir\r\n", ""}},
        {"utf-16be by its zeros", Fallback::kOem, true, {std::string("\0o\0k", 4)}, {"ok", ""}},
        {"utf-16 unit split",
         Fallback::kOem,
         true,
         {std::string("a\0\xE9", 3), std::string("\0", 1), std::string("b\0", 2)},
         {"a", kCafeUtf8 + 3, "b", ""}},
        {"utf-16 pair split",
         Fallback::kOem,
         true,
         {std::string("\xFF\xFE\x3D\xD8", 4), std::string("\x00\xDE", 2)},
         {"", kSmileUtf8, ""}},
        {"zeros not guessed for files",
         Fallback::kLegacy,
         false,
         {std::string("a\0", 2)},
         {"", std::string("a\0", 2)}},
        {"a bom's first byte waits",
         Fallback::kLegacy,
         false,
         {"\xEF",
          "\xBB\xBF"
          "caf\xC3\xA9\n"},
         {"", std::string(kCafeUtf8) + "\n", ""}},
        {"one byte waits for the utf-16 guess",
         Fallback::kOem,
         true,
         {"o", std::string("\0k\0", 3)},
         {"", "ok", ""}},
    };
    for (const Case& c : cases) {
        TextDecoder decoder(pages, c.fallback, c.guessUtf16);
        EXPECT_EQ(Parts(decoder, c.parts), c.out) << c.name;
    }
}

TEST(TextDecoderTest, ACutDropsOnlyATornCharacter) {
    const FakeCodePages pages;
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"utf-8 torn", std::string("line\r\n") + "caf\xC3", "line\r\ncaf"},
        {"utf-8 torn three", std::string("x") + "\xE2\x82", "x"},
        {"utf-8 whole", kCafeUtf8, kCafeUtf8},
        {"legacy stays", "caf\xE9!", std::string(kCafeUtf8) + "!"},
        // A legacy byte that could begin a character cannot be told from
        // one at the cut: it goes too.
        {"legacy lead byte at the cut", kCafe1252, "caf"},
        {"utf-16 half unit",
         std::string("\xFF\xFE"
                     "a\0b",
                     5),
         "a"},
        {"utf-16 half pair",
         std::string("\xFF\xFE"
                     "a\0\x3D\xD8",
                     6),
         "a"},
    };
    for (const Case& c : cases) {
        TextDecoder decoder(pages, Fallback::kLegacy, false);
        std::string text = decoder.Next(c.bytes);
        EXPECT_EQ(text + decoder.Cut(), c.text) << c.name;
    }
}

TEST(TextDecoderTest, ALineWithoutEndIsDecodedInPieces) {
    const FakeCodePages pages;
    TextDecoder decoder(pages, Fallback::kOem, true);
    // é after é, 3000 of them: the piece ends between two characters.
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
