#include "platform/shell.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

// An address has a scheme of two or more characters and a limit of its own. The command line is
// the program name in quotes, a blank and the parameters.
TEST(ShellLimitsTest, AddressesHaveASchemeAndNamesAddressesAndCommandLinesTheirLimits) {
    const ShellLimits windows;
    const ShellLimits small{10, 20, 8, 40};
    auto text = [](const char* head, size_t length) {
        std::string s = head;
        s.resize(length, 'x');
        return s;
    };
    // clang-format off
    const struct { const char* text; bool address; } addresses[] = {
        {"http://a/", true}, {"mailto:x@y", true}, {"ms-settings:", true}, {"svn+ssh://h", true},
        {"shell:startup", true}, {"readme.txt:s", true}, {"C:\\x", false}, {"c:x", false},
        {"notepad", false}, {"1a:b", false}, {"a b:c", false}, {":x", false},
        {"www.example.com", false}, {"\\\\server\\x:", false}};
    const struct {
        const ShellLimits& limits; std::string file; size_t params; bool fits;
    } cases[] = {
        {windows, text("C:\\", 259), 0, true}, {windows, text("C:\\", 260), 0, false},
        {windows, text("http://a/", 2083), 0, true}, {windows, text("http://a/", 2084), 0, false},
        {windows, text("", 300000), 0, false}, {windows, "notepad", 32766 - 10, true},
        {windows, "notepad", 32766 - 9, false}, {windows, "notepad", 300000, false},
        {small, text("C:\\", 10), 0, true}, {small, text("C:\\", 11), 0, false},
        {small, text("http://", 20), 0, true}, {small, text("http://", 21), 17, false},
        {small, text("WwW", 8), 0, true}, {small, text("www", 9), 0, false},
        {small, text("http://www", 20), 17, true}, {small, "", 37, true}, {small, "", 38, false}};
    // clang-format on
    for (const auto& c : addresses) EXPECT_EQ(IsAddress(c.text), c.address) << c.text;
    for (const auto& c : cases) {
        EXPECT_EQ(FitsShell(c.limits, c.file, std::string(c.params, 'p')), c.fits)
            << c.file.substr(0, 12) << "... (" << c.file.size() << ") + " << c.params;
    }
}

}  // namespace
}  // namespace vantrel
