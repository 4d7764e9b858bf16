#include "platform/device_names.h"

#include <algorithm>
#include <array>

#include "platform/paths.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

// The superscript digits of Windows-1252, which Windows takes for their
// digits in a device name.
constexpr std::string_view kDeviceDigits = "123456789\xb9\xb2\xb3";

bool EqualsLower(std::string_view text, std::string_view lower) {
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(),
                      [](char a, char b) { return text::AsciiLower(a) == b; });
}

// "\\.\" (or with forward slashes): the namespace of devices.
bool InDeviceNamespace(std::string_view path) {
    return IsUncPath(path) && path.size() >= 4 && path[2] == '.' && IsPathSeparator(path[3]);
}

// The last part without its folder or drive, up to its first dot or colon,
// without the blanks Windows drops at the end of a name.
std::string_view BaseName(std::string_view path) {
    std::string_view name = NameOf(path);
    name = name.substr(0, name.find_first_of(".:"));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return name;
}

}  // namespace

bool IsDeviceName(std::string_view path) {
    if (InDeviceNamespace(path)) return true;
    std::string_view name = BaseName(path);
    constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    if (std::any_of(kPlain.begin(), kPlain.end(),
                    [&](std::string_view device) { return EqualsLower(name, device); })) {
        return true;
    }
    return name.size() == 4 &&
           (EqualsLower(name.substr(0, 3), "com") || EqualsLower(name.substr(0, 3), "lpt")) &&
           kDeviceDigits.find(name[3]) != std::string_view::npos;
}

}  // namespace vantrel
