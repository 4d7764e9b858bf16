#include "remote/receive_buffer.h"

namespace vantrel {

namespace {

constexpr char kBackspace = '\b';
constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

void ApplyBackspaces(std::string* buffer) {
    if (buffer->find(kBackspace) == std::string::npos) return;
    std::string& text = *buffer;
    size_t from = text[0] == kBackspace ? 1 : 0;
    // Removing the first backspace after the first position together with
    // its predecessor, again and again, is the same as one pass in which
    // each backspace takes back the last character kept so far; only a
    // backspace with nothing before it is kept.
    std::string kept;
    kept.reserve(text.size() - from);
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] == kBackspace && !kept.empty()) {
            kept.pop_back();
        } else {
            kept.push_back(text[i]);
        }
    }
    text.swap(kept);
}

void BoundPartialLine(std::string* buffer) {
    if (buffer->size() <= kMaxLineLength) return;
    const bool endsInCr = buffer->back() == '\r';
    buffer->resize(kMaxLineLength);
    if (endsInCr) buffer->back() = '\r';
}

std::vector<std::string> TakeLines(std::string* buffer, std::string_view data) {
    buffer->append(data);
    ApplyBackspaces(buffer);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = buffer->find(kLineEnd); end != std::string::npos;
         end = buffer->find(kLineEnd, start)) {
        lines.emplace_back(*buffer, start, std::min(end - start, kMaxLineLength));
        start = end + kLineEnd.size();
    }
    buffer->erase(0, start);
    BoundPartialLine(buffer);
    return lines;
}

}  // namespace vantrel
