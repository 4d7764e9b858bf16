// What a second start of the program may hand to the one that runs: its
// argument text, at most this long, as a Windows command line is.
#pragma once

#include <cstddef>

namespace vantrel {

// Both ends refuse longer text: the sender before sending, the running
// console before reading further.
inline constexpr std::size_t kMaxHandOverBytes = 32767;

}  // namespace vantrel
