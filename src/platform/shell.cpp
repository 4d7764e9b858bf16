#include "platform/shell.h"

#include <algorithm>

#include "text/char_class.h"

namespace vantrel {

namespace {

bool IsSchemeChar(char c) {
    return text::IsAsciiLetterOrDigit(c) || c == '+' || c == '-' || c == '.';
}

bool StartsWithWww(std::string_view text) {
    constexpr std::string_view kWww = "www";
    return text.size() >= kWww.size() && std::equal(kWww.begin(), kWww.end(), text.begin(),
                                                    [](char a, char b) { return a == (b | 0x20); });
}

}  // namespace

bool IsAddress(std::string_view text) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || !text::IsAsciiLetter(text[0])) return false;
    return std::all_of(text.begin(), text.begin() + colon, IsSchemeChar);
}

bool FitsShell(const ShellLimits& limits, std::string_view file, std::string_view params) {
    std::size_t limit = limits.path;
    if (IsAddress(file)) {
        limit = limits.address;
    } else if (StartsWithWww(file)) {
        limit = std::min(limit, limits.webName);
    }
    // Compared without adding, so that no length can wrap the sum.
    return file.size() <= limit && file.size() <= limits.commandLine - 3 &&
           params.size() <= limits.commandLine - 3 - file.size();
}

}  // namespace vantrel
