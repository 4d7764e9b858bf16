#include "platform/win32/fixed_font.h"

namespace vantrel::win32 {

UniqueFont CreateFixedsysFont() {
    return UniqueFont(CreateFontA(15, 8, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  FIXED_PITCH | FF_MODERN, "Fixedsys"));
}

}  // namespace vantrel::win32
