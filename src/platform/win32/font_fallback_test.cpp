#include "platform/win32/font_fallback.h"

#include <gtest/gtest.h>

#include "platform/win32/fixed_font.h"

namespace vantrel::win32 {
namespace {

// The test machine has a CJK face (the project's own dependencies install
// one for Wine); the bar's Fixedsys has none of these characters.
TEST(FontFallbackTest, WesternTextKeepsTheBarsFontAndJapaneseGetsAFaceThatHasIt) {
    const ScreenMetrics metrics = MetricsForDpi(kStandardDpi);
    UniqueFont primary = CreateFixedsysFont(metrics);
    FontFallback fallback;
    fallback.SetCell(metrics);
    EXPECT_EQ(fallback.For(primary.Get(), L"dir C:\\Temp"), primary.Get());
    EXPECT_EQ(fallback.For(primary.Get(), L"R\u00E9sum\u00E9"), primary.Get());
    EXPECT_GT(MissingGlyphs(primary.Get(), L"\u65E5\u672C"), 0);
    const HFONT japanese = fallback.For(primary.Get(), L"echo \u65E5\u672C\u8A9E\r\n");
    ASSERT_NE(japanese, primary.Get());
    EXPECT_EQ(MissingGlyphs(japanese, L"\u65E5\u672C\u8A9E"), 0);
    // Western letters keep their cell in the face chosen.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, japanese);
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"abcd", 4, &extent);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(extent.cx, 4 * metrics.cellWidth);
}

}  // namespace
}  // namespace vantrel::win32
