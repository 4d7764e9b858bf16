#include "remote/ip_address.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

#include "text/char_class.h"
#include "text/hex.h"

namespace vantrel {

namespace {

constexpr size_t kGroupCount = 8;
using Groups = std::array<std::uint16_t, kGroupCount>;
using Quad = std::array<std::uint8_t, 4>;

std::optional<Quad> ParseQuad(std::string_view text) {
    Quad bytes{};
    size_t parts = 0;
    for (size_t at = 0;; ++at) {
        const size_t end = text.find('.', at);
        const std::string_view digits = text.substr(at, end - at);
        if (parts == bytes.size() || digits.empty() || digits.size() > 3 ||
            (digits.size() > 1 && digits[0] == '0')) {
            return std::nullopt;
        }
        int value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (value > 255) return std::nullopt;
        bytes[parts++] = static_cast<std::uint8_t>(value);
        if (end == std::string_view::npos) break;
        at = end;
    }
    if (parts != bytes.size()) return std::nullopt;
    return bytes;
}

// Groups of one to four hex digits between single colons; the last may be
// a dotted quad, which stands for two groups. No text is no groups.
bool ParseGroups(std::string_view text, bool quadLast, std::vector<std::uint16_t>* groups) {
    if (text.empty()) return true;
    for (size_t at = 0;; ++at) {
        const size_t end = text.find(':', at);
        const std::string_view group = text.substr(at, end - at);
        if (end == std::string_view::npos && quadLast &&
            group.find('.') != std::string_view::npos) {
            const std::optional<Quad> quad = ParseQuad(group);
            if (!quad) return false;
            groups->push_back(static_cast<std::uint16_t>((*quad)[0] << 8 | (*quad)[1]));
            groups->push_back(static_cast<std::uint16_t>((*quad)[2] << 8 | (*quad)[3]));
            return true;
        }
        const int value = group.size() > 4 ? -1 : text::ReadHex(group, 0, group.size());
        if (group.empty() || value < 0) return false;
        groups->push_back(static_cast<std::uint16_t>(value));
        if (end == std::string_view::npos) return true;
        at = end;
    }
}

std::optional<Groups> ParseIPv6(std::string_view text) {
    std::vector<std::uint16_t> head, tail;
    const size_t gap = text.find("::");
    if (gap == std::string_view::npos) {
        if (!ParseGroups(text, true, &head) || head.size() != kGroupCount) return std::nullopt;
    } else {
        // "::" stands for one zero group or more, and only once.
        const std::string_view after = text.substr(gap + 2);
        if (after.find("::") != std::string_view::npos ||
            !ParseGroups(text.substr(0, gap), false, &head) || !ParseGroups(after, true, &tail) ||
            head.size() + tail.size() >= kGroupCount) {
            return std::nullopt;
        }
    }
    Groups groups{};
    std::copy(head.begin(), head.end(), groups.begin());
    std::copy(tail.begin(), tail.end(), groups.end() - static_cast<std::ptrdiff_t>(tail.size()));
    return groups;
}

std::string QuadText(const Quad& quad) {
    return std::to_string(quad[0]) + "." + std::to_string(quad[1]) + "." + std::to_string(quad[2]) +
           "." + std::to_string(quad[3]);
}

bool IsMapped(const Groups& g) {
    return g[0] == 0 && g[1] == 0 && g[2] == 0 && g[3] == 0 && g[4] == 0 && g[5] == 0xffff;
}

std::string HexGroup(std::uint16_t value) {
    char text[4];
    const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
    return std::string(text, end);
}

std::string Ipv6Text(const Groups& g) {
    if (IsMapped(g)) {
        return "::ffff:" + QuadText({static_cast<std::uint8_t>(g[6] >> 8),
                                     static_cast<std::uint8_t>(g[6] & 0xff),
                                     static_cast<std::uint8_t>(g[7] >> 8),
                                     static_cast<std::uint8_t>(g[7] & 0xff)});
    }
    // The longest run of zero groups, the first of equal ones; a lone zero
    // group stays written out.
    size_t best = kGroupCount, bestLength = 1;
    for (size_t i = 0; i < kGroupCount;) {
        size_t end = i;
        while (end < kGroupCount && g[end] == 0) ++end;
        if (end - i > bestLength) {
            best = i;
            bestLength = end - i;
        }
        i = end > i ? end : i + 1;
    }
    std::string text;
    for (size_t i = 0; i < kGroupCount;) {
        if (i == best) {
            text += "::";
            i += bestLength;
            continue;
        }
        if (!text.empty() && text.back() != ':') text += ':';
        text += HexGroup(g[i++]);
    }
    return text;
}

}  // namespace

bool IsIPv6Text(std::string_view text) {
    int colons = 0;
    for (char c : text) {
        if (c == ':') {
            ++colons;
        } else if (c != '.' && !text::IsHexDigit(c)) {
            return false;
        }
    }
    return colons >= 2;
}

std::optional<std::string> CanonicalAddress(std::string_view text) {
    if (text.find(':') == std::string_view::npos) {
        const std::optional<Quad> quad = ParseQuad(text);
        if (!quad) return std::nullopt;
        return QuadText(*quad);
    }
    const std::optional<Groups> groups = ParseIPv6(text);
    if (!groups) return std::nullopt;
    return Ipv6Text(*groups);
}

std::optional<std::string> AddressKey(std::string_view text) {
    std::optional<std::string> key = CanonicalAddress(text);
    // Only a mapped address is written with both colons and dots.
    if (key && key->find('.') != std::string::npos) {
        const size_t lastColon = key->rfind(':');
        if (lastColon != std::string::npos) key->erase(0, lastColon + 1);
    }
    return key;
}

std::optional<std::string> PenaltySource(std::string_view text) {
    if (text.find(':') == std::string_view::npos) return AddressKey(text);
    std::optional<Groups> groups = ParseIPv6(text);
    if (!groups) return std::nullopt;
    if (IsMapped(*groups)) return AddressKey(text);
    for (size_t i = kGroupCount / 2; i < kGroupCount; ++i) (*groups)[i] = 0;
    return Ipv6Text(*groups) + "/64";
}

bool SameAddress(std::string_view line, std::string_view address) {
    if (line == address) return true;
    const std::optional<std::string> lineKey = AddressKey(line);
    return lineKey && lineKey == AddressKey(address);
}

}  // namespace vantrel
