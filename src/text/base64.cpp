#include "text/base64.h"

#include <algorithm>

namespace text {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string Base64(const std::vector<std::uint8_t>& bytes, bool padded) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - i);
        std::uint32_t group = std::uint32_t{bytes[i]} << 16;
        if (count > 1) group |= std::uint32_t{bytes[i + 1]} << 8;
        if (count > 2) group |= bytes[i + 2];
        for (size_t k = 0; k < 4; ++k) {
            if (k <= count) {
                out += kAlphabet[(group >> (18 - 6 * k)) & 63];
            } else if (padded) {
                out += '=';
            }
        }
    }
    return out;
}

bool FromBase64(std::string_view text, std::vector<std::uint8_t>* bytes) {
    if (text.size() % 4 != 0) return false;
    std::vector<std::uint8_t> out;
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        std::uint32_t group = 0;
        size_t count = 0;  // characters of the alphabet in the group
        for (size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            const int value = ValueOf(c);
            if (value >= 0 && count == k) {
                group |= static_cast<std::uint32_t>(value) << (18 - 6 * k);
                ++count;
            } else if (c != '=' || !last || k < 2) {
                return false;
            }
        }
        // Padding only at the end, and no bits beyond the last byte.
        const size_t length = count - 1;
        if (count < 4 && (group >> (8 * (3 - length))) << (8 * (3 - length)) != group) {
            return false;
        }
        for (size_t k = 0; k < length; ++k)
            out.push_back(static_cast<std::uint8_t>(group >> (16 - 8 * k)));
    }
    *bytes = std::move(out);
    return true;
}

}  // namespace text
