#include "remote/noise_frames.h"

#include "remote/noise_handshake.h"

namespace vantrel::noise {

bool Frame(View message, std::string* out) {
    if (message.size() > kMaxMessage) return false;
    out->push_back(static_cast<char>(message.size() >> 8));
    out->push_back(static_cast<char>(message.size() & 0xFF));
    out->append(reinterpret_cast<const char*>(message.data()), message.size());
    return true;
}

bool FrameReader::Next(Bytes* message) {
    if (Waiting() < 2) return false;
    const auto byte = [this](size_t i) { return static_cast<unsigned char>(pending_[taken_ + i]); };
    const size_t length = (size_t{byte(0)} << 8) | byte(1);
    if (Waiting() < 2 + length) return false;
    const auto* start = reinterpret_cast<const std::uint8_t*>(pending_.data() + taken_ + 2);
    message->assign(start, start + length);
    taken_ += 2 + length;
    // What was read is let go once it is most of the buffer.
    if (taken_ > pending_.size() / 2) {
        pending_.erase(0, taken_);
        taken_ = 0;
    }
    return true;
}

}  // namespace vantrel::noise
