#include "text/hex.h"

namespace text {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int ReadHex(std::string_view text, size_t at, size_t count) {
    if (at > text.size() || text.size() - at < count) return -1;
    int v = 0;
    for (size_t i = 0; i < count; ++i) {
        const int d = HexDigitValue(text[at + i]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

long LeadingHex(std::string_view text, size_t maxDigits) {
    long value = 0;
    for (size_t i = 0; i < text.size() && i < maxDigits; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace text
