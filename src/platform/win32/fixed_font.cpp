#include "platform/win32/fixed_font.h"

namespace vantrel::win32 {

namespace {

// A face rounds some requested heights to a neighbouring one: the cell's
// height is asked for, then the heights around it.
constexpr int kHeightTries[] = {0, 1, -1, 2, -2};

UniqueFont MakeFont(int height, int width, const char* face, DWORD quality) {
    return UniqueFont(CreateFontA(height, width, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality,
                                  FIXED_PITCH | FF_MODERN, face));
}

struct Made {
    int height = 0;
    int width = 0;
    bool sameFace = false;  // not a stand-in the system chose
};

Made Measure(HFONT font, const char* face) {
    Made made;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return made;
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    char actual[LF_FACESIZE] = "";
    if (GetTextMetricsA(dc, &tm) && GetTextFaceA(dc, sizeof actual, actual) > 0) {
        made = Made{tm.tmHeight, tm.tmAveCharWidth, lstrcmpiA(actual, face) == 0};
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return made;
}

bool FitsCell(const Made& made, const ScreenMetrics& m) {
    return made.height == m.cellHeight && made.width == m.cellWidth;
}

// The TrueType face drawn exactly in the cell. The face itself when the system has
// it, else the stand-in it offers for it (Wine's own monospace).
UniqueFont TrueTypeInCell(const ScreenMetrics& m, const char* face, bool standInToo) {
    for (int offset : kHeightTries) {
        UniqueFont font = MakeFont(m.cellHeight + offset, m.cellWidth, face, CLEARTYPE_QUALITY);
        Made made = Measure(font.Get(), face);
        if ((made.sameFace || standInToo) && FitsCell(made, m)) return font;
    }
    return UniqueFont();
}

}  // namespace

UniqueFont CreateFixedsysFont(const ScreenMetrics& m) {
    UniqueFont fixedsys = MakeFont(m.cellHeight, m.cellWidth, "Fixedsys", DEFAULT_QUALITY);
    if (m.dpi == kStandardDpi) return fixedsys;
    Made made = Measure(fixedsys.Get(), "Fixedsys");
    if (made.sameFace && FitsCell(made, m)) return fixedsys;
    for (bool standInToo : {false, true}) {
        for (const char* face : {"Consolas", "Courier New"}) {
            UniqueFont font = TrueTypeInCell(m, face, standInToo);
            if (font.Valid()) return font;
        }
    }
    // No face draws in the cell exactly: the nearest Courier New the system
    // makes still keeps the text crisp.
    return MakeFont(m.cellHeight, m.cellWidth, "Courier New", CLEARTYPE_QUALITY);
}

}  // namespace vantrel::win32
