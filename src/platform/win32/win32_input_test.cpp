#include "platform/win32/win32_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/keystrokes.h"

namespace vantrel::win32 {
namespace {

// One key event, as a test names it: the virtual key (or the character for
// one typed as itself), and whether it goes up.
struct Event {
    int key;
    bool up;
    bool extended = false;
    bool unicode = false;

    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << (e.unicode ? "char " : "vk ") << e.key << (e.up ? " up" : " down")
               << (e.extended ? " extended" : "");
}

std::vector<Event> EventsFor(const std::string& notation) {
    std::vector<KeyStroke> keys;
    std::string err;
    EXPECT_TRUE(ParseKeystrokes(notation, &keys, &err)) << notation << ": " << err;
    std::vector<Event> events;
    for (const INPUT& in : KeyEvents(keys)) {
        EXPECT_EQ(in.type, static_cast<DWORD>(INPUT_KEYBOARD));
        bool unicode = (in.ki.dwFlags & KEYEVENTF_UNICODE) != 0;
        events.push_back({unicode ? in.ki.wScan : in.ki.wVk, (in.ki.dwFlags & KEYEVENTF_KEYUP) != 0,
                          (in.ki.dwFlags & KEYEVENTF_EXTENDEDKEY) != 0, unicode});
    }
    return events;
}

Event Down(int key, bool extended = false) {
    return {key, false, extended};
}
Event Up(int key, bool extended = false) {
    return {key, true, extended};
}
// Each UTF-16 unit typed as itself, down and up.
std::vector<Event> Units(std::initializer_list<int> units) {
    std::vector<Event> events;
    for (int unit : units)
        events.insert(events.end(), {{unit, false, false, true}, {unit, true, false, true}});
    return events;
}

TEST(Win32InputTest, BuildsTheKeyEventsOfTheNotation) {
    struct Case {
        const char* notation;
        std::vector<Event> events;
    };
    const Case cases[] = {
        // The navigation keys carry the extended flag, or they would arrive
        // as the keypad's digits.
        {"{HOME}", {Down(VK_HOME, true), Up(VK_HOME, true)}},
        {"+{END}", {Down(VK_SHIFT), Down(VK_END, true), Up(VK_END, true), Up(VK_SHIFT)}},
        {"{ENTER}", {Down(VK_RETURN), Up(VK_RETURN)}},
        {"{BS}", {Down(VK_BACK), Up(VK_BACK)}},
        {"ab", {Down('A'), Up('A'), Down('B'), Up('B')}},
        // A capital and "!" need Shift on the layout.
        {"A!",
         {Down(VK_SHIFT), Down('A'), Up('A'), Up(VK_SHIFT), Down(VK_SHIFT), Down('1'), Up('1'),
          Up(VK_SHIFT)}},
        {"^%x", {Down(VK_CONTROL), Down(VK_MENU), Down('X'), Up('X'), Up(VK_MENU), Up(VK_CONTROL)}},
        {"{F5}", {Down(VK_F5), Up(VK_F5)}},
        // Beyond ASCII a character goes as itself, whatever the layout: the
        // not sign (UTF-8, or the lone Windows-1252 byte of older files), a
        // Japanese one, and an emoji as its two UTF-16 units.
        {"¬\xAC", Units({0xAC, 0xAC})},
        {"日", Units({0x65E5})},
        {"😀", Units({0xD83D, 0xDE00})},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(EventsFor(c.notation), c.events) << c.notation;
}

}  // namespace
}  // namespace vantrel::win32
