#include "console/keystrokes.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

KeyStroke Vk(int code, bool shift = false, bool ctrl = false, bool alt = false) {
    return KeyStroke{KeyStroke::kVirtualKey, code, shift, ctrl, alt};
}
KeyStroke Ch(char32_t c, bool shift = false, bool ctrl = false, bool alt = false) {
    return KeyStroke{KeyStroke::kCharacter, static_cast<int>(c), shift, ctrl, alt};
}

TEST(KeystrokesTest, ParsesTheNotationAndRejectsBadNotation) {
    const struct {
        const char* text;
        std::vector<KeyStroke> keys;
    } cases[] = {
        {"ab", {Ch('a'), Ch('b')}},
        {"{ENTER}", {Vk(kVkReturn)}},
        {"~", {Vk(kVkReturn)}},
        {"{home}{End}", {Vk(kVkHome), Vk(kVkEnd)}},
        {"{BS}{BACKSPACE}{BKSP}", {Vk(kVkBack), Vk(kVkBack), Vk(kVkBack)}},
        {"{TAB}{ESC}", {Vk(kVkTab), Vk(0x1B)}},
        {"{F1}{F12}{F16}", {Vk(0x70), Vk(0x7B), Vk(0x7F)}},
        {"+{END}", {Vk(kVkEnd, true)}},
        {"^a%b+c", {Ch('a', false, true), Ch('b', false, false, true), Ch('c', true)}},
        {"+^{DEL}", {Vk(0x2E, true, true)}},
        {"+(ab)c", {Ch('a', true), Ch('b', true), Ch('c')}},
        {"{{}{}}{+}{~}{(}", {Ch('{'), Ch('}'), Ch('+'), Ch('~'), Ch('(')}},
        {"{LEFT 3}", {Vk(0x25), Vk(0x25), Vk(0x25)}},
        {"{x 2}", {Ch('x'), Ch('x')}},
        // Characters are code points; a lone byte is Windows-1252's.
        {"日本+é", {Ch(U'日'), Ch(U'本'), Ch(U'é', true)}},
        {"{日 2}{😀}", {Ch(U'日'), Ch(U'日'), Ch(U'😀')}},
        {"caf\xE9 \x80", {Ch('c'), Ch('a'), Ch('f'), Ch(U'é'), Ch(' '), Ch(U'€')}},
        {"", {}},
    };
    for (const auto& c : cases) {
        std::vector<KeyStroke> keys;
        std::string err;
        EXPECT_TRUE(ParseKeystrokes(c.text, &keys, &err)) << c.text << ": " << err;
        EXPECT_EQ(keys, c.keys) << c.text;
    }
    // Bad notation is rejected and nothing is sent.
    for (const char* text : {"{ENTER", "{NOSUCHKEY}", "{F17}", "{F0}", "a}", "(ab", "ab)", "+",
                             "{LEFT x}", "{LEFT 100000}", "{}", "[x]"}) {
        std::vector<KeyStroke> keys{Ch('z')};
        std::string err;
        EXPECT_FALSE(ParseKeystrokes(text, &keys, &err)) << text;
        EXPECT_FALSE(err.empty()) << text;
        EXPECT_EQ(keys, std::vector<KeyStroke>{Ch('z')}) << text;
    }
}

}  // namespace
}  // namespace vantrel
