#pragma once

#include "platform/screen_metrics.h"
#include "platform/win32/unique_handle.h"

namespace vantrel::win32 {

// The bar's and the pane's font at the metrics' scale: a character cell of
// cellWidth by cellHeight pixels, the sizes the layout counts with. Fixedsys
// where the system has that bitmap face at the size (8 by 15 at 96 DPI);
// elsewhere a TrueType monospace drawn at the same cell, Consolas, else
// Courier New, so that scaled text stays sharp. Where Fixedsys itself is
// missing at 96 DPI (Wine), the system's own stand-in is kept, as always.
UniqueFont CreateFixedsysFont(const ScreenMetrics& metrics);

}  // namespace vantrel::win32
