#include "platform/win32/font_fallback.h"

#include <algorithm>

namespace vantrel::win32 {
namespace {

// Monospaced faces with the characters Fixedsys lacks: Japanese, Chinese
// (simplified, traditional), Korean on Windows; the common free CJK faces
// elsewhere (Wine takes them from the host); then symbol faces for emoji.
constexpr const wchar_t* kFaces[] = {
    L"MS Gothic",
    L"NSimSun",
    L"MingLiU",
    L"GulimChe",
    L"WenQuanYi Micro Hei Mono",
    L"Noto Sans Mono CJK JP",
    L"Segoe UI Emoji",
    L"Segoe UI Symbol",
    L"Symbola",
};

}  // namespace

int MissingGlyphs(HFONT font, const std::wstring& text) {
    if (text.empty()) return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return 0;
    HGDIOBJ old = SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size());
    int missing = 0;
    if (GetGlyphIndicesW(dc, text.data(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR) {
        for (size_t i = 0; i < text.size(); ++i) {
            // Control characters (the pane's line breaks) draw nothing anyway.
            if (glyphs[i] == 0xFFFF && text[i] >= 0x20) ++missing;
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return missing;
}

void FontFallback::SetCell(const ScreenMetrics& metrics) {
    metrics_ = metrics;
    faces_.clear();
}

HFONT FontFallback::For(HFONT primary, std::wstring wide) {
    // Each character once: a pane of 60,000 characters in a few scripts
    // is asked about a few hundred.
    std::erase_if(wide, [](wchar_t c) { return c < 0x80; });
    if (wide.empty()) return primary;
    std::sort(wide.begin(), wide.end());
    wide.erase(std::unique(wide.begin(), wide.end()), wide.end());
    int fewest = MissingGlyphs(primary, wide);
    if (fewest == 0) return primary;
    if (faces_.empty()) {
        for (const wchar_t* name : kFaces) {
            // The width asked for is a Western letter's: a double-width
            // character takes two cells, as in the faces' own design.
            UniqueFont font(CreateFontW(metrics_.cellHeight, metrics_.cellWidth, 0, 0, FW_NORMAL,
                                        FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        FIXED_PITCH | FF_MODERN, name));
            if (font.Valid()) faces_.push_back(Face{name, std::move(font)});
        }
    }
    HFONT best = primary;
    for (const Face& face : faces_) {
        const int missing = MissingGlyphs(face.font.Get(), wide);
        if (missing < fewest) {
            fewest = missing;
            best = face.font.Get();
            if (missing == 0) break;
        }
    }
    return best;
}

}  // namespace vantrel::win32
