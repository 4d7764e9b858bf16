#include "text/hex.h"

#include "text/case_fold.h"

namespace text {

namespace {

template <typename Char>
size_t ReadDigits(std::basic_string_view<Char> text, int radix, std::uint32_t* value) {
    std::uint64_t v = 0;
    size_t count = 0;
    for (; count < text.size(); ++count) {
        const int digit = HexDigitValue(text[count]);
        if (digit < 0 || digit >= radix || v * radix + digit > 0xFFFFFFFFu) break;
        v = v * radix + digit;
    }
    *value = static_cast<std::uint32_t>(v);
    return count;
}

template <typename Char>
int ReadCount(std::basic_string_view<Char> text, size_t at, size_t count) {
    if (at > text.size() || text.size() - at < count) return -1;
    std::uint32_t v = 0;
    return ReadDigits(text.substr(at, count), 16, &v) == count ? static_cast<int>(v) : -1;
}

}  // namespace

int HexDigitValue(char32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

size_t ReadRadixDigits(std::string_view text, int radix, std::uint32_t* value) {
    return ReadDigits(text, radix, value);
}
size_t ReadRadixDigits(std::u16string_view text, int radix, std::uint32_t* value) {
    return ReadDigits(text, radix, value);
}

int ReadHex(std::string_view text, size_t at, size_t count) {
    return ReadCount(text, at, count);
}
int ReadHex(std::u16string_view text, size_t at, size_t count) {
    return ReadCount(text, at, count);
}

long LeadingHex(std::string_view text, size_t maxDigits) {
    std::uint32_t value = 0;
    ReadDigits(text.substr(0, maxDigits), 16, &value);
    return static_cast<long>(value);
}

size_t ReadRadixNumber(std::string_view text, std::int32_t* value, bool* integer) {
    if (text.size() < 3 || text[0] != '&') return 0;
    const char kind = AsciiLower(text[1]);
    const int radix = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
    if (radix == 0) return 0;
    std::uint32_t v = 0;
    const size_t digits = ReadRadixDigits(text.substr(2), radix, &v);
    if (digits == 0) return 0;
    const int next = 2 + digits < text.size() ? HexDigitValue(text[2 + digits]) : -1;
    if (next >= 0 && next < radix) return 0;  // more digits than 32 bits hold
    const bool small = v <= 0xFFFF && digits <= (radix == 16 ? 4u : 6u);
    *value = small ? static_cast<std::int16_t>(v) : static_cast<std::int32_t>(v);
    if (integer) *integer = small;
    return 2 + digits;
}

}  // namespace text
