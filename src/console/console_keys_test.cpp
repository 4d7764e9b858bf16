// The keys and buttons of the bar as the window hands them to the console.
#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

using ConsoleKeysTest = RemoteTest;

TEST_F(ConsoleKeysTest, EnterRunsAndRemembersTheLineAndTheArrowsBrowse) {
    Type("  echo hi ");
    EXPECT_EQ(Printed(), "hi");
    EXPECT_EQ(fake.bar.command, "");
    Type("   ");
    EXPECT_EQ(console.Editor().Remembered().Browsed().Entry(0), "  echo hi ");

    EXPECT_FALSE(console.KeyUp(kVkUp, 0));
    EXPECT_EQ(fake.bar.command, "  echo hi ");
    EXPECT_EQ(fake.bar.selectionStart, 0);
    EXPECT_EQ(fake.bar.selectionLength, 10);
    console.KeyUp(kVkUp, 0);  // no older entry
    EXPECT_EQ(fake.bar.command, "  echo hi ");
    console.KeyUp(kVkDown, kModShift);  // a modifier held: not browsing
    EXPECT_EQ(fake.bar.command, "  echo hi ");
    console.KeyUp(kVkDown, 0);
    EXPECT_EQ(fake.bar.command, "");
    fake.bar.command = "typed";
    console.KeyUp(kVkDown, 0);  // not browsing: nothing happens
    EXPECT_EQ(fake.bar.command, "typed");
}

TEST_F(ConsoleKeysTest, HistoryKeepsTheNewestHundredLinesButNoPasswordsAndBrowsesOnlyLocally) {
    for (int i = 0; i <= 100; ++i) Type("echo " + std::to_string(i));
    Reach(kAccountPassword);
    Type("secret");
    EXPECT_EQ(console.Account().pass, "secret");
    EXPECT_EQ(fake.bar.passwordChar, '\0');
    Reach(kRemotePassword);
    Type("secret");
    EXPECT_EQ(console.Editor().Remembered().Browsed().Entry(0), "echo 100");
    Reach(kRemoteLink);
    fake.bar.command = "remote";
    console.KeyUp(kVkUp, 0);
    EXPECT_EQ(fake.bar.command, "remote");
    Reach(kLocal);
    for (int i = 0; i < 120; ++i) console.KeyUp(kVkUp, 0);
    EXPECT_EQ(fake.bar.command, "echo 1");
}

TEST_F(ConsoleKeysTest, EnterEscAndFunctionKeysAreTakenOrTypeTheirMacrosOnlyLocally) {
    fake.bar.command = "half typed";
    EXPECT_TRUE(console.KeyDown(kVkEscape, 0));
    EXPECT_EQ(fake.bar.command, "");
    EXPECT_EQ(in().PendingOutput(), "");
    console.EscClicked();
    EXPECT_EQ(in().PendingOutput(), "\f");
    fake.bar.command = "echo x";
    EXPECT_TRUE(console.KeyDown(kVkReturn, kModShift));
    EXPECT_EQ(Printed(), "x");
    EXPECT_FALSE(console.KeyDown('A', 0));

    // Function keys type their macros only locally; F10 kicks a client.
    EXPECT_FALSE(console.KeyUp(kVkF1 + 4, 0));
    EXPECT_EQ(fake.input.sent.size(), 1u);
    Reach(kServing);
    console.KeyUp(kVkF1 + 4, 0);
    EXPECT_EQ(fake.input.sent.size(), 1u);
    EXPECT_TRUE(console.KeyUp(kVkF10, 0));
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(fake.input.sent.size(), 1u);
}

TEST_F(ConsoleKeysTest, TabCompletesLocallyAndOnlyCommandWordsOverALink) {
    const struct {
        ConsoleState state;
        const char* typed;
        int modifiers;
        const char* box;
    } cases[] = {
        {kLocal, "hel", 0, "help "},
        {kLocal, "hel", kModShift, "help "},
        {kLocal, "hel", kModCtrl, "hel"},  // taken, but no completion
        {kLocal, "type c:\\wo", 0, "type c:\\Work\\"},
        {kRemoteLink, "hel", 0, "help "},
        {kRemoteLink, "type c:\\wo", 0, "type c:\\wo"},
        {kRemotePassword, "hel", 0, "hel"},
        {kAccountPassword, "hel", 0, "hel"},
        {kServing, "hel", 0, "hel"},
        {kAwaitingLogin, "hel", 0, "hel"},
    };
    for (const auto& c : cases) {
        if (state() != c.state) Reach(c.state);
        fake.bar.SetCommandText(c.typed);
        EXPECT_TRUE(console.KeyDown(kVkTab, c.modifiers)) << c.typed << " " << c.state;
        EXPECT_EQ(fake.bar.command, c.box) << c.typed << " " << c.state;
    }
}

// The cycle itself is TabCycle's; a modifier on its way to Shift+Tab does
// not end it, and Esc puts back what was typed.
TEST_F(ConsoleKeysTest, TabTwiceListsThenCyclesAndEscPutsBackTheTypedText) {
    fake.bar.SetCommandText("ver");
    for (int i = 0; i < 3; ++i) console.KeyDown(kVkTab, 0);
    EXPECT_EQ(pane.Text(), "ver\r\nversion");
    console.KeyDown(kVkShift, kModShift);
    console.KeyDown(kVkTab, kModShift);
    EXPECT_EQ(fake.bar.command, "version ");
    EXPECT_TRUE(console.KeyDown(kVkEscape, 0));
    EXPECT_EQ(fake.bar.command, "ver");
}

}  // namespace
}  // namespace vantrel::testing
