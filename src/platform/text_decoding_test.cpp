#include "platform/text_decoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "text/text_cases_testing.h"
#include "text/utf8.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

TEST(TextDecodingTest, CasesOfTestdata) {
    testing::FakeCodePages pages;
    pages.oem = [](unsigned char b) -> char32_t { return b == 0x82 ? U'é' : b; };  // as 850
    for (const text::TextCase& c : text::ReadCases("src/platform/testdata/text_decoding.txt")) {
        SCOPED_TRACE(c.where);
        if (c[0] == "scan") {
            const Utf8Scan scan = ScanUtf8(c[1]);
            EXPECT_EQ(scan.valid, c.Size(2));
            EXPECT_EQ(scan.torn, c.Flag(3));
            EXPECT_EQ(text::utf8::IsValid(c[1]), scan.valid == c[1].size() && !scan.torn);
        } else if (c[0] == "lines") {
            EXPECT_EQ(SplitLines(c[1]),
                      std::vector<std::string>(c.fields.begin() + 2, c.fields.end()));
        } else if (c[0] == "decode") {
            EXPECT_EQ(DecodeStoredText(pages, c[1]), c[2]);
            EXPECT_EQ(DecodeStoredText(pages, c[1], LineMix::kWholeFile), c[2]);
        } else {
            ASSERT_EQ(c[0], "decoder");
            const bool console = c[1] == "console";
            TextDecoder decoder(pages, console ? Fallback::kOem : Fallback::kLegacy, console);
            const auto arrow = std::find(c.fields.begin(), c.fields.end(), "=>");
            ASSERT_TRUE((console || c[1] == "file") && (c[2] == "cut" || c[2] == "finish") &&
                        arrow != c.fields.end());
            std::vector<std::string> out;
            for (auto part = c.fields.begin() + 3; part < arrow; ++part) {
                out.push_back(decoder.Next(*part));
            }
            out.push_back(c[2] == "cut" ? decoder.Cut() : decoder.Finish());
            EXPECT_EQ(out, std::vector<std::string>(arrow + 1, c.fields.end()));
        }
    }
}

// An old version's lines, then a new one's, then old again, with every kind of line end;
// decided for the whole, the one invalid line makes all legacy.
TEST(DecodeStoredTextTest, LinesOfEitherKindAndALegacyProcess) {
    testing::FakeCodePages pages;
    const std::string bytes = "echo caf\xE9\r\necho \xE2\x82\xAC\nplain\recho \x80\r\ncaf\xC3\xA9";
    const std::string text =
        "echo caf\xC3\xA9\r\necho \xE2\x82\xAC\nplain\recho \xE2\x82\xAC\r\ncaf\xC3\xA9";
    EXPECT_EQ(DecodeStoredText(pages, bytes), text);
    const std::string whole = DecodeStoredText(pages, bytes, LineMix::kWholeFile);
    EXPECT_NE(whole, text);
    EXPECT_EQ(whole, pages.FromLegacy(bytes));
    // A legacy process gets legacy text.
    pages.processIsUtf8 = false;
    EXPECT_EQ(DecodeStoredText(pages, "caf\xE9\r\ncaf\xC3\xA9"), "caf\xE9\r\ncaf\xE9");
    EXPECT_EQ(DecodeStoredText(pages, "\xEF\xBB\xBF\xE2\x82\xAC"s), "\x80");
}

// é after é, 3000 of them: a line without end is decoded in pieces that end between two
// characters.
TEST(TextDecoderTest, ALongLineIsCutBetweenCharacters) {
    testing::FakeCodePages pages;
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
