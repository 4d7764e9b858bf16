#include "remote/receive_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

// A leading backspace is dropped once; every later one removes itself and the character before
// it, one removal at a time. A peer that never ends its line loses the excess, chunk by chunk.
TEST(ReceiveBufferTest, BackspacesEditTheBufferAndLinesEndAtCrLfAndStayBounded) {
    const std::string cut(kMaxLineLength, 'x');
    using Texts = std::vector<std::string>;
    // clang-format off
    const struct { const char* name; std::string in, out; } edits[] = {
        {"none", "abc", "abc"}, {"one", "ab\bc", "ac"}, {"leading dropped once", "\babc", "abc"},
        {"two leading: the second stays", "\b\babc", "\babc"},
        {"erases back to the start", "ab\b\bc", "c"}, {"one too many stays first", "a\b\bc", "\bc"},
        {"then takes back the kept one", "a\b\b\bx", "x"}, {"backspace alone", "\b", ""},
        {"trailing", "abc\b", "ab"}, {"erases a line end too", "a\r\n\bb", "a\rb"},
        {"empty", "", ""}};
    const struct { const char* name; Texts chunks, lines; std::string rest; } splits[] = {
        {"one line", {"abc\r\n"}, {"abc"}, ""},
        {"two lines and a partial", {"a\r\nb\r\nc"}, {"a", "b"}, "c"},
        {"split inside a line", {"ab", "c\r\n"}, {"abc"}, ""},
        {"split between CR and LF", {"abc\r", "\ndef"}, {"abc"}, "def"},
        {"empty lines", {"\r\n\r\n"}, {"", ""}, ""},
        {"lone LF is text", {"a\nb\r\n"}, {"a\nb"}, ""},
        {"lone CR is text", {"a\rb\r\n"}, {"a\rb"}, ""},
        {"backspace across chunks", {"ab", "\bc\r\n"}, {"ac"}, ""},
        {"leading backspace of a chunk", {"\bab\r\n"}, {"ab"}, ""},
        {"kept backspace dropped by the next data", {"a\b\b", "z\r\n"}, {"z"}, ""},
        {"only one leading backspace dropped", {"a\b\b", "\bz\r\n"}, {"\bz"}, ""},
        {"prompt after output", {"abc\r\nC:\\>"}, {"abc"}, "C:\\>"},
        {"endless line", {cut, cut, cut + "\r\nnext\r\n"}, {cut, "next"}, ""},
        {"long line in one chunk", {cut + "yy\r\nz\r\nrest"}, {cut, "z"}, "rest"},
        {"a cut line keeps its final CR", {cut + "\r", "\nok\r\n"}, {cut.substr(1), "ok"}, ""}};
    // clang-format on
    for (const auto& c : edits) {
        std::string text = c.in;
        ApplyBackspaces(&text);
        EXPECT_EQ(text, c.out) << c.name;
    }
    for (const auto& c : splits) {
        std::string buffer;
        Texts lines;
        for (const std::string& chunk : c.chunks) {
            for (std::string& line : TakeLines(&buffer, chunk)) lines.push_back(line);
            EXPECT_LE(buffer.size(), kMaxLineLength) << c.name;
        }
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(buffer, c.rest) << c.name;
    }
}

}  // namespace
}  // namespace vantrel
