#include "platform/win32/win32_input.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "interpreter/keystrokes.h"

namespace vantrel::win32 {
namespace {

// The key events of a notation, one after another: a key by its name or
// its character, a character typed as itself by its UTF-16 unit.
std::string EventsFor(const std::string& notation) {
    std::vector<KeyStroke> keys;
    std::string err, shown;
    if (!ParseKeystrokes(notation, &keys, &err)) return "fails: " + err;
    const std::map<WORD, std::string> names = {
        {VK_SHIFT, "Shift"}, {VK_CONTROL, "Ctrl"}, {VK_MENU, "Alt"},       {VK_HOME, "Home"},
        {VK_END, "End"},     {VK_RETURN, "Enter"}, {VK_BACK, "Backspace"}, {VK_F5, "F5"}};
    for (const INPUT& in : KeyEvents(keys)) {
        EXPECT_EQ(in.type, static_cast<DWORD>(INPUT_KEYBOARD)) << notation;
        char unit[16];
        std::snprintf(unit, sizeof unit, "U+%04X", in.ki.wScan);
        const DWORD flags = in.ki.dwFlags;
        shown += std::string(shown.empty() ? "" : ", ") +
                 (flags & KEYEVENTF_UNICODE ? unit
                  : names.count(in.ki.wVk)  ? names.at(in.ki.wVk)
                                            : std::string(1, static_cast<char>(in.ki.wVk))) +
                 (flags & KEYEVENTF_KEYUP ? " up" : " down") +
                 (flags & KEYEVENTF_EXTENDEDKEY ? " extended" : "");
    }
    return shown;
}

// Every line of testdata/keystrokes.keys is a notation, and
// testdata/keystrokes.keys.out shows the events each becomes.
TEST(Win32InputTest, BuildsTheKeyEventsOfTheNotation) {
    const std::filesystem::path path = std::filesystem::path(VANTREL_SOURCE_DIR) / "src" /
                                       "platform" / "win32" / "testdata" / "keystrokes.keys";
    auto read = [](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(in), {}};
        std::erase(text, '\r');
        return text;
    };
    std::istringstream lines(read(path));
    std::string transcript;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        transcript += line + " -> " + EventsFor(line == "\"\"" ? "" : line) + "\n";
    }
    ASSERT_FALSE(transcript.empty()) << "no notations in " << path;
    if (std::getenv("VANTREL_GOLDEN_UPDATE")) {
        std::ofstream(path.string() + ".out", std::ios::binary) << transcript;
    }
    EXPECT_EQ(transcript, read(path.string() + ".out"));
}

}  // namespace
}  // namespace vantrel::win32
