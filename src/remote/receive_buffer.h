// The receiving half of the line protocol, the same on both sides of a
// link: received bytes are appended to ReceiveBuffer, backspaces edit it,
// and every CR LF ends one line. The rules are plain functions so that they
// can be checked, and fuzzed, without a socket.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Positions in the buffer are 16-bit quantities in the protocol, so no line
// is longer than this; a peer that sends more before its CR LF loses the
// excess instead of making the console hold or scan it.
inline constexpr std::size_t kMaxLineLength = 32767;

// Applies a typing peer's backspaces: a leading backspace is dropped once,
// then every later backspace removes itself and the character before it. A
// backspace that becomes the first character stays until more data comes.
void ApplyBackspaces(std::string* buffer);

// Cuts a buffer that holds no CR LF to kMaxLineLength characters; a CR at
// its very end is kept, since the LF that completes it may still come.
void BoundPartialLine(std::string* buffer);

// Appends data to the buffer, applies backspaces and takes every complete
// line out of it, in order, each cut to kMaxLineLength. What follows the
// last CR LF stays in the buffer, bounded as above.
std::vector<std::string> TakeLines(std::string* buffer, std::string_view data);

}  // namespace vantrel
