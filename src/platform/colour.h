#pragma once

#include <cstdint>

namespace vantrel {

// Red in the lowest byte, green in the second, blue in the third.
using Colour = std::uint32_t;

}  // namespace vantrel
