#pragma once

#include "platform/win32/unique_handle.h"

namespace vantrel::win32 {

// The bar's and the pane's font: Fixedsys, 8 pixels a character and 15 a
// line, the sizes the layout rules count with. Where Fixedsys itself is
// missing (Wine) the system picks a fixed-pitch face at the same size.
UniqueFont CreateFixedsysFont();

}  // namespace vantrel::win32
