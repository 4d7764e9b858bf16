#include "script/regexp.h"

#include <gtest/gtest.h>

#include "script/errors.h"
#include "text/utf8.h"

namespace script {
namespace {

// The first match of pattern in text as "start:matched", or "none".
std::string FirstMatch(const char* pattern, std::string_view text, bool ignoreCase,
                       bool multiline) {
    const Regex re(pattern, ignoreCase, multiline);
    Regex::Captures caps;
    const std::u16string units = text::utf8::ToUtf16(text);
    if (!re.Search(units, 0, &caps)) return "none";
    return std::to_string(caps[0]) + ":" +
           text::utf8::FromUtf16(std::u16string_view(units).substr(caps[0], caps[1] - caps[0]));
}

TEST(ScriptRegex, Matches) {
    const struct {
        const char* pattern;
        const char* text;
        const char* expected;
        bool ignoreCase = false;
        bool multiline = false;
    } cases[] = {
        // clang-format off
        {"abc", "xxabcxx", "2:abc"}, {"a.c", "a\nc abc", "4:abc"}, {"\\d+", "ab 123 4", "3:123"},
        {"\\D+", "12ab3", "2:ab"}, {"\\w+", "  hi_1 ", "2:hi_1"}, {"\\s", "a b", "1: "},
        {"[a-c]+", "xxbcad", "2:bca"}, {"[^a-c]+", "abxyc", "2:xy"},
        {"[\\d.]+", "v1.25x", "1:1.25"}, {"colou?r", "color colour", "0:color"},
        {"a{2,3}", "aaaa", "0:aaa"}, {"a{2,}", "aaaaa", "0:aaaaa"}, {"a{2}", "aaaa", "0:aa"},
        {"a+?", "aaa", "0:a"}, {"<.*>", "<a><b>", "0:<a><b>"}, {"<.*?>", "<a><b>", "0:<a>"},
        {"(ab)+", "ababx", "0:abab"}, {"cat|dog", "hotdog", "3:dog"}, {"^abc", "xabc", "none"},
        {"abc$", "abcx", "none"}, {"\\bis\\b", "this is", "5:is"}, {"\\Bis", "this is", "2:is"},
        {"(\\w)\\1", "abbc", "1:bb"}, {"x(?=y)", "xz xy", "3:x"}, {"x(?!y)", "xy xz", "3:x"},
        {"(?:a|b)c", "bc", "0:bc"}, {"\\x41\\u0042", "AB", "0:AB"}, {"a\\.b", "axb a.b", "4:a.b"},
        {"a{,2}", "a{,2}", "0:a{,2}"}, {"(a*)*b", "aaab", "0:aaab"}, {"(a|)*c", "aac", "0:aac"},
        {"", "abc", "0:"},
        // Ignoring case, in classes and beyond ASCII; ^ and $ at every line.
        {"ABC", "xabc", "1:abc", true}, {"[A-C]+", "xabc", "1:abc", true}, {"À", "à", "0:à", true},
        {"^b", "a\nb", "2:b", false, true}, {"a$", "a\nb", "0:a", false, true},
        {"^b", "a\nb", "none"},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstMatch(c.pattern, c.text, c.ignoreCase, c.multiline), c.expected)
            << c.pattern << " in " << c.text;
    }
}

TEST(ScriptRegex, PatternErrors) {
    const struct {
        const char* pattern;
        int number;
    } cases[] = {
        {"(a", kErrRegExpParen},      {"[a", kErrRegExpBracket}, {"[z-a]", kErrRegExpRange},
        {"*a", kErrRegExpQuantifier}, {"a)", kErrRegExpSyntax},  {"a{3,2}", kErrRegExpQuantifier},
        {"(?<a)", kErrRegExpSyntax},  {"a\\", kErrRegExpSyntax},
    };
    for (const auto& c : cases) {
        try {
            Regex re(c.pattern, false, false);
            ADD_FAILURE() << "accepted " << c.pattern;
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.number, c.number) << c.pattern;
        }
    }
}

TEST(ScriptRegex, RunawayPatternsStop) {
    // Exponential backtracking ends with an error instead of running on.
    const Regex re("(a+)+b", false, false);
    Regex::Captures caps;
    EXPECT_THROW(re.Search(std::u16string(40, u'a'), 0, &caps), ScriptError);
    // Long subjects need no deep native recursion.
    const Regex star("(ab)*c", false, false);
    std::u16string text;
    for (int i = 0; i < 200000; ++i) text += u"ab";
    text += u'c';
    ASSERT_TRUE(star.Search(text, 0, &caps));
    EXPECT_EQ(caps[1], static_cast<int64_t>(text.size()));
    EXPECT_THROW(Regex(std::string(2000, '('), false, false), ScriptError);
    EXPECT_THROW(Regex("a{100000}{100000}", false, false), ScriptError);
}

}  // namespace
}  // namespace script
