#include "platform/win32/wide_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

// In a UTF-8 process text crosses by the text layer's conversion: every
// unit arrives, a lone half of a pair included, and comes back as it
// went.
TEST(WideText, Utf8ProcessTextCrossesWithoutLoss) {
    const struct {
        const char* text;
        std::wstring wide;
        const char* back;
    } cases[] = {
        {"plain", L"plain", "plain"},
        {"日本語 Ελληνικά кириллица", L"日本語 Ελληνικά кириллица", "日本語 Ελληνικά кириллица"},
        {"😀", L"\xD83D\xDE00", "😀"},
        {"a\xED\xA0\xBD", L"a\xD83D", "a\xED\xA0\xBD"},  // a lone first half
        {"\xED\xB8\x80z", L"\xDE00z", "\xED\xB8\x80z"},  // a lone second half
        {"caf\xE9", L"caf\x00E9", "café"},  // a legacy byte goes as its Windows-1252 character
        {"", L"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Widen(c.text, true), c.wide) << c.text;
        EXPECT_EQ(Narrow(c.wide.data(), c.wide.size(), true), c.back) << c.text;
    }
}

// In any other code page the text crosses as that code page says, as before.
TEST(WideText, OtherCodePagesConvertAsTheSystemDoes) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs the Windows-1252 code page";
    EXPECT_EQ(Widen("caf\xE9 \x80", false), L"caf\x00E9 \x20AC");
    const std::wstring wide = L"caf\x00E9 \x20AC";
    EXPECT_EQ(Narrow(wide.data(), wide.size(), false), "caf\xE9 \x80");
}

}  // namespace
}  // namespace vantrel::win32
