#include "platform/win32/win32_code_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

// The process's text is UTF-8 under the program's manifest and the legacy
// code page in a program without it (the test program): each case says
// what both look like, and the test expects the one in force.
struct Text {
    const char* utf8;
    const char* legacy;  // nullptr: the legacy code page cannot hold it
};

class Win32CodePagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (pages.Legacy() != 1252) GTEST_SKIP() << "the bytes are Windows-1252 ones";
    }
    std::string Process(const Text& t) const { return pages.ProcessIsUtf8() ? t.utf8 : t.legacy; }
    bool Holds(const Text& t) const { return pages.ProcessIsUtf8() || t.legacy; }

    Win32CodePages pages;
};

// Each code page's bytes, and UTF-8 and UTF-16, to the process's text and
// back where the code page converts both ways.
TEST_F(Win32CodePagesTest, EachEncodingToTheProcessTextAndBack) {
    EXPECT_EQ(pages.ProcessIsUtf8(), GetACP() == CP_UTF8);
    struct Case {
        const char* legacy;
        Text text;
    } legacy[] = {
        {"caf\xE9", {"caf\xC3\xA9", "caf\xE9"}},
        {"\x80 \xAC", {"\xE2\x82\xAC \xC2\xAC", "\x80 \xAC"}},
        {"plain", {"plain", "plain"}},
        {"", {"", ""}},
    };
    for (const Case& c : legacy) {
        EXPECT_EQ(pages.FromLegacy(c.legacy), Process(c.text)) << c.legacy;
        EXPECT_EQ(pages.ToLegacy(Process(c.text)), c.legacy) << c.legacy;
    }
    struct Unicode {
        std::u16string units;
        const char* utf8;
        Text text;
    } unicode[] = {
        {u"caf\u00E9", "caf\xC3\xA9", {"caf\xC3\xA9", "caf\xE9"}},
        {u"\u20AC", "\xE2\x82\xAC", {"\xE2\x82\xAC", "\x80"}},
        {u"\U0001F600", "\xF0\x9F\x98\x80", {"\xF0\x9F\x98\x80", nullptr}},
        {u"", "", {"", ""}},
    };
    for (const Unicode& c : unicode) {
        if (!Holds(c.text)) continue;
        EXPECT_EQ(pages.FromUtf16(c.units), Process(c.text)) << c.utf8;
        EXPECT_EQ(pages.FromUtf8(c.utf8), Process(c.text)) << c.utf8;
    }
}

// 437 and 850 agree on these: 82 is "é", 9C is "£", and neither has the euro.
TEST_F(Win32CodePagesTest, OemBytes) {
    if (pages.Oem() != 437 && pages.Oem() != 850) GTEST_SKIP() << "OEM code page " << pages.Oem();
    EXPECT_EQ(pages.FromOem("caf\x82"), Process({"caf\xC3\xA9", "caf\xE9"}));
    EXPECT_EQ(pages.ToOem(Process({"caf\xC3\xA9", "caf\xE9"})), "caf\x82");
    EXPECT_EQ(pages.ToOem(Process({"\xE2\x82\xAC", "\x80"})), "?");
    EXPECT_EQ(pages.FromOem("\x9C\x35"), Process({"\xC2\xA3\x35", "\xA3\x35"}));  // "£5"
}

// No best fit: "ā" must not pass for "a".
TEST_F(Win32CodePagesTest, WhatTheLegacyCodePageLacksBecomesAQuestionMark) {
    if (!pages.ProcessIsUtf8()) GTEST_SKIP() << "only UTF-8 text holds such characters";
    EXPECT_EQ(pages.ToLegacy("\xC4\x81\x62"), "?b");  // "āb"
    EXPECT_EQ(pages.ToLegacy("\xE4\xB8\xAD"), "?");
}

}  // namespace
}  // namespace vantrel::win32
