#include "platform/text_decoding.h"

#include <algorithm>

#include "text/utf8.h"

namespace vantrel {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr std::string_view kLineEnds = "\r\n";
// A line longer than this is decoded in pieces rather than held whole: a
// program that writes without a line end must not fill the memory.
constexpr size_t kMaxHeldBytes = 4096;
// How much of a program's first output the UTF-16 guess looks at.
constexpr size_t kGuessBytes = 512;

bool HasBom(std::string_view bytes) {
    return bytes.starts_with(kUtf8Bom) || bytes.starts_with(kUtf16LeBom) ||
           bytes.starts_with(kUtf16BeBom);
}

// Whether more bytes could still make these the start of a byte-order mark.
bool MayBecomeBom(std::string_view bytes) {
    for (std::string_view bom : {kUtf8Bom, kUtf16LeBom, kUtf16BeBom}) {
        if (bytes.size() < bom.size() && bom.starts_with(bytes)) return true;
    }
    return false;
}

// The end of the line that begins at `at`, its line end included; a CR LF
// may come as two lines (the CR's, and an empty one's LF), which decodes
// the same.
size_t LineEnd(std::string_view text, size_t at) {
    const size_t end = text.find_first_of(kLineEnds, at);
    return end == std::string_view::npos ? text.size() : end + 1;
}

}  // namespace

Utf8Scan ScanUtf8(std::string_view bytes) {
    size_t at = 0;
    while (at < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        // The second byte's range shuts out overlong forms, surrogates and
        // code points past U+10FFFF; later ones are plain continuations.
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return {at, false};
        }
        for (size_t k = 1; k < length; ++k) {
            if (at + k == bytes.size()) return {at, true};
            const unsigned char next = static_cast<unsigned char>(bytes[at + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return {at, false};
        }
        at += length;
    }
    return {at, false};
}

std::string DecodeStoredText(const CodePages& pages, std::string_view bytes, LineMix mix) {
    if (mix == LineMix::kWholeFile && !HasBom(bytes)) {
        return text::utf8::IsValid(bytes) ? pages.FromUtf8(bytes) : pages.FromLegacy(bytes);
    }
    TextDecoder decoder(pages, Fallback::kLegacy, false);
    std::string text = decoder.Next(bytes);
    return text + decoder.Finish();
}

std::vector<std::string> SplitLines(std::string_view text, std::string_view breaks) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(breaks, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

TextDecoder::TextDecoder(const CodePages& pages, Fallback fallback, bool guessUtf16)
    : pages_(pages), fallback_(fallback), guessUtf16_(guessUtf16) {}

std::string TextDecoder::Next(std::string_view bytes) {
    held_.append(bytes);
    if (!Start(false)) return {};
    if (form_ == Form::kUtf16Le || form_ == Form::kUtf16Be) return TakeUtf16(false, false);
    const size_t end = held_.find_last_of(kLineEnds);
    std::string text = end == std::string::npos ? std::string() : TakeLines(end + 1);
    if (held_.size() > kMaxHeldBytes) text += TakeLongLine();
    return text;
}

std::string TextDecoder::Finish() {
    Start(true);
    if (form_ == Form::kUtf16Le || form_ == Form::kUtf16Be) return TakeUtf16(true, false);
    return TakeLines(held_.size());
}

std::string TextDecoder::Cut() {
    Start(true);
    if (form_ == Form::kUtf16Le || form_ == Form::kUtf16Be) return TakeUtf16(true, true);
    const size_t end = held_.find_last_of(kLineEnds);
    std::string text = end == std::string::npos ? std::string() : TakeLines(end + 1);
    // A line that is UTF-8 up to the cut lost the rest of its last
    // character there.
    const Utf8Scan scan = ScanUtf8(held_);
    if (scan.torn) held_.resize(scan.valid);
    return text + TakeLines(held_.size());
}

bool TextDecoder::Start(bool atEnd) {
    if (form_ != Form::kUnknown) return true;
    const std::string_view start = held_;
    if (start.starts_with(kUtf8Bom)) {
        form_ = Form::kUtf8;
        held_.erase(0, kUtf8Bom.size());
    } else if (start.starts_with(kUtf16LeBom) || start.starts_with(kUtf16BeBom)) {
        form_ = start.starts_with(kUtf16LeBom) ? Form::kUtf16Le : Form::kUtf16Be;
        held_.erase(0, 2);
    } else if (!atEnd && (MayBecomeBom(start) || (guessUtf16_ && start.size() < 2))) {
        return false;
    } else {
        form_ = Form::kBytes;
        if (guessUtf16_) {
            // Text in a code page of bytes holds no zero byte; UTF-16 of
            // the characters a console program writes holds one in nearly
            // every unit, always on the same side.
            size_t zeros[2] = {0, 0};
            const size_t look = std::min(start.size(), kGuessBytes) & ~size_t{1};
            for (size_t i = 0; i < look; ++i) zeros[i % 2] += start[i] == '\0';
            if (zeros[1] > 0 && zeros[0] == 0) form_ = Form::kUtf16Le;
            if (zeros[0] > 0 && zeros[1] == 0) form_ = Form::kUtf16Be;
        }
    }
    return true;
}

std::string TextDecoder::TakeUtf16(bool atEnd, bool dropTorn) {
    const bool bigEndian = form_ == Form::kUtf16Be;
    std::u16string units;
    units.reserve(held_.size() / 2);
    for (size_t i = 0; i + 1 < held_.size(); i += 2) {
        const unsigned char first = static_cast<unsigned char>(held_[i]);
        const unsigned char second = static_cast<unsigned char>(held_[i + 1]);
        units.push_back(
            static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
    }
    // The first half of a pair waits for its second.
    const bool halfPair = !units.empty() && units.back() >= 0xD800 && units.back() < 0xDC00;
    if (halfPair && (!atEnd || dropTorn)) units.pop_back();
    if (atEnd) {
        held_.clear();
    } else {
        held_.erase(0, units.size() * 2);
    }
    return pages_.FromUtf16(units);
}

std::string TextDecoder::TakeLines(size_t end) {
    const std::string_view text = std::string_view(held_).substr(0, end);
    std::string out;
    if (form_ == Form::kUtf8) {
        out = pages_.FromUtf8(text);
    } else {
        // Neighbouring lines of one kind are converted together; plain
        // ASCII reads the same either way and joins whichever run it meets.
        size_t runStart = 0;
        bool runUtf8 = true;
        for (size_t at = 0; at < text.size();) {
            const size_t lineEnd = LineEnd(text, at);
            const std::string_view line = text.substr(at, lineEnd - at);
            if (!text::utf8::IsAscii(line) && text::utf8::IsValid(line) != runUtf8) {
                out += Decode(text.substr(runStart, at - runStart), runUtf8);
                runStart = at;
                runUtf8 = !runUtf8;
            }
            at = lineEnd;
        }
        out += Decode(text.substr(runStart), runUtf8);
    }
    held_.erase(0, end);
    return out;
}

std::string TextDecoder::TakeLongLine() {
    const Utf8Scan scan = ScanUtf8(held_);
    // UTF-8 so far keeps a torn last character for the next part.
    return TakeLines(scan.torn ? scan.valid : held_.size());
}

std::string TextDecoder::Decode(std::string_view bytes, bool utf8) const {
    if (bytes.empty()) return {};
    if (utf8) return pages_.FromUtf8(bytes);
    return fallback_ == Fallback::kOem ? pages_.FromOem(bytes) : pages_.FromLegacy(bytes);
}

}  // namespace vantrel
