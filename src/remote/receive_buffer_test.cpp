#include "remote/receive_buffer.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel {
namespace {

// The editing rule exactly as stated, one removal at a time.
std::string StepwiseBackspaces(std::string text) {
    if (!text.empty() && text[0] == '\b') text.erase(0, 1);
    for (size_t at = text.find('\b', 1); at != std::string::npos; at = text.find('\b', 1)) {
        text.erase(at - 1, 2);
    }
    return text;
}

struct BackspaceCase {
    const char* name;
    std::string in, out;
};

TEST(ReceiveBufferTest, BackspacesEditTheBuffer) {
    const BackspaceCase cases[] = {
        {"none", "abc", "abc"},
        {"one", "ab\bc", "ac"},
        {"leading dropped once", "\babc", "abc"},
        {"two leading: the second stays", "\b\babc", "\babc"},
        {"erases back to the start", "ab\b\bc", "c"},
        {"one too many stays first", "a\b\bc", "\bc"},
        {"then takes back the kept one", "a\b\b\bx", "x"},
        {"backspace alone", "\b", ""},
        {"trailing", "abc\b", "ab"},
        {"erases a line end too", "a\r\n\bb", "a\rb"},
        {"empty", "", ""},
    };
    for (const BackspaceCase& c : cases) {
        std::string text = c.in;
        ApplyBackspaces(&text);
        EXPECT_EQ(text, c.out) << c.name;
        EXPECT_EQ(StepwiseBackspaces(c.in), c.out) << c.name;
    }
}

TEST(ReceiveBufferTest, OnePassMatchesTheStepwiseRule) {
    std::mt19937 random(2319);
    const char alphabet[] = {'a', 'b', '\b', '\b', '\r', '\n'};
    for (int round = 0; round < 5000; ++round) {
        std::string text(random() % 12, 'a');
        for (char& c : text) c = alphabet[random() % sizeof alphabet];
        std::string fast = text;
        ApplyBackspaces(&fast);
        ASSERT_EQ(fast, StepwiseBackspaces(text)) << "round " << round;
    }
}

struct SplitCase {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> lines;
    std::string rest;
};

TEST(ReceiveBufferTest, LinesEndAtCrLf) {
    const SplitCase cases[] = {
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
    };
    for (const SplitCase& c : cases) {
        std::string buffer;
        std::vector<std::string> lines;
        for (const std::string& chunk : c.chunks) {
            for (std::string& line : TakeLines(&buffer, chunk)) lines.push_back(line);
        }
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(buffer, c.rest) << c.name;
    }
}

TEST(ReceiveBufferTest, AnEndlessLineIsCutAndTheBufferStaysBounded) {
    std::string buffer;
    const std::string chunk(10000, 'x');
    for (int i = 0; i < 100; ++i) {
        EXPECT_TRUE(TakeLines(&buffer, chunk).empty());
        ASSERT_LE(buffer.size(), kMaxLineLength);
    }
    std::vector<std::string> lines = TakeLines(&buffer, "\r\nnext\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(kMaxLineLength, 'x'));
    EXPECT_EQ(lines[1], "next");
    EXPECT_EQ(buffer, "");
}

TEST(ReceiveBufferTest, ALongLineInOneChunkIsCut) {
    std::string buffer;
    std::vector<std::string> lines =
        TakeLines(&buffer, std::string(kMaxLineLength + 5, 'y') + "\r\nz\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), kMaxLineLength);
    EXPECT_EQ(lines[1], "z");
}

TEST(ReceiveBufferTest, ACutLineKeepsAFinalCrForItsLf) {
    std::string buffer;
    TakeLines(&buffer, std::string(kMaxLineLength + 3, 'q') + "\r");
    EXPECT_EQ(buffer.size(), kMaxLineLength);
    EXPECT_EQ(buffer.back(), '\r');
    std::vector<std::string> lines = TakeLines(&buffer, "\nok\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(kMaxLineLength - 1, 'q'));
    EXPECT_EQ(lines[1], "ok");
}

}  // namespace
}  // namespace vantrel
