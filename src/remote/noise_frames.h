// How Noise messages travel on the link's TCP stream: each one is a 2-byte
// big-endian length and that many bytes, as the Noise text recommends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "remote/noise_crypto.h"

namespace vantrel::noise {

// A message with its length in front; false for one over 65,535 bytes.
bool Frame(View message, std::string* out);

// Takes the stream as it comes, in pieces of any size, and gives the whole
// messages in it, in order.
class FrameReader {
  public:
    void Append(std::string_view bytes) { pending_.append(bytes); }
    // The next whole message; false while it has not all arrived.
    bool Next(Bytes* message);
    // Bytes that wait for the rest of their message.
    size_t Waiting() const { return pending_.size() - taken_; }

  private:
    std::string pending_;
    size_t taken_ = 0;
};

}  // namespace vantrel::noise
