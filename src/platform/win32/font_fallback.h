#pragma once

#include <string>
#include <vector>

#include "platform/screen_metrics.h"
#include "platform/win32/unique_handle.h"

namespace vantrel::win32 {

// The bar's fixed font has Western letters only (Fixedsys: Latin, Greek,
// Cyrillic), and a bitmap face takes no part in the system's font linking:
// Japanese, Chinese or Korean text would show as empty boxes. A box whose
// text needs characters its font lacks is given, for as long as it does, a
// face that has them, made at the same cell so that Western letters keep
// their width: the first face of a list (the systems' monospaced CJK and
// symbol faces) that has every character, else the one that lacks fewest.
class FontFallback {
  public:
    // A new scale makes the faces afresh.
    void SetCell(const ScreenMetrics& metrics);
    // The font to draw text in: primary itself when it has every character.
    HFONT For(HFONT primary, std::wstring text);

  private:
    struct Face {
        std::wstring name;
        UniqueFont font;
    };
    ScreenMetrics metrics_{};
    std::vector<Face> faces_;  // made when first needed
};

// How many characters of text the font has no glyph for.
int MissingGlyphs(HFONT font, const std::wstring& text);

}  // namespace vantrel::win32
