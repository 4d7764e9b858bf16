// Lines and paths handed over by second starts: when they run, how they
// run, and what is refused.
#include "console/handed_over.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

class HandedOverTest : public RemoteTest {
  protected:
    // The box as the user left it: text, caret inside it.
    void HalfType(const std::string& text, int caret) {
        fake.bar.command = text;
        fake.bar.SelectCommandText(caret, 0);
    }
    std::string NewestRemembered() {
        CommandHistory browsed = console.Editor().Remembered().Browsed();
        std::string text;
        return browsed.Up(&text) ? text : "";
    }
};

TEST_F(HandedOverTest, ALineRunsAsTypedOnlyWhereALineCanBeTypedAndTheBoxGetsItsTextBack) {
    // clang-format off
    const struct { ConsoleState state; const char* outcome; } cases[] = {
        {kLocal, "ran"}, {kRemoteLink, "sent"},
        // Never a password prompt's answer, never inside a client's session.
        {kAccountPassword, "waits"}, {kRemotePassword, "waits"}, {kSending, "waits"},
        {kAwaitingLogin, "waits"}, {kServing, "waits"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string what = std::string(c.outcome) + " in state " + std::to_string(c.state);
        Reach(c.state);
        in().SetVar("Echo", "1");
        in().SetVar("handed", "");
        HalfType("half", 2);
        window.showCount = 0;
        EXPECT_TRUE(console.HandOver("set handed=`1+1`")) << what;
        EXPECT_EQ(window.showCount, 1) << what;
        console.Tick();
        const std::string outcome = in().EvaluateText("handed") == "2"            ? "ran"
                                    : socket.TakeSent() == "set handed=`1+1`\r\n" ? "sent"
                                                                                  : "waits";
        EXPECT_EQ(outcome, c.outcome) << what;
        EXPECT_EQ(console.Account().pass, "") << what;
        if (outcome == "ran") {
            EXPECT_NE(Printed().find("C:\\Work>set handed=`1+1`"), std::string::npos) << what;
        }
        if (outcome == "sent") {
            EXPECT_EQ(fake.bar.command, "set handed=`1+1`") << what;
            socket.events->OnSendComplete();
            console.Tick();
        }
        if (outcome != "waits") {
            EXPECT_EQ(NewestRemembered(), "set handed=`1+1`") << what;
            EXPECT_EQ(fake.bar.command, "half") << what;
            EXPECT_EQ(fake.bar.CommandCaret(), 2) << what;
        } else {
            // It waited, and runs once the console is back where it may.
            Reach(kLocal);
            fake.bar.command.clear();
            console.Tick();
            EXPECT_EQ(in().EvaluateText("handed"), "2") << what;
        }
    }
}

TEST_F(HandedOverTest, ALineHandedOverWhileOneRunsWaitsForItsEndAndTheNextTick) {
    std::string lines;
    for (int i = 1; i <= 50; ++i) lines += "set line" + std::to_string(i) + "=done\r\n";
    fake.files.AddFile("C:\\Work\\long.dcb", lines);
    fake.clock.step = 10;
    std::string seenInside;
    window.onPump = [&] {
        if (window.pumps != 1) return;
        EXPECT_TRUE(console.HandOver("set after=`line50`"));
        // The pump of a running line dispatches the start's message.
        seenInside = in().EvaluateText("after");
    };
    Type("long");
    EXPECT_EQ(seenInside, "");
    EXPECT_EQ(in().EvaluateText("after"), "");
    console.Tick();
    EXPECT_EQ(in().EvaluateText("after"), "done");
}

TEST_F(HandedOverTest, TheQueueAndTheLineAreBounded) {
    const std::string longest(kMaxHandOverBytes, 'x');
    // clang-format off
    const struct { const char* name; std::string argument; bool taken; } cases[] = {
        {"the longest line", longest, true},
        {"a byte more", longest + "x", false},
        {"two lines", "print 1\nprint 2", false},
        {"a carriage return", "print 1\rprint 2", false},
        {"no path to open", "/open \"\"", false},
        {"nothing: the bar comes forward", "  ", true},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(console.HandOver(c.argument), c.taken) << c.name;
    // 1 taken above; the queue holds kMaxWaiting while a client is served.
    Reach(kServing);
    int taken = 1;
    while (console.HandOver("print more")) ++taken;
    EXPECT_EQ(taken, static_cast<int>(HandedOverQueue::kMaxWaiting));
}

TEST_F(HandedOverTest, AnOpenedPathIsTakenLiterallyAndRunsAsALineOfItsOwn) {
    const std::string folder = "C:\\Work\\a `1+1` dir";
    fake.files.AddFolder(folder);
    fake.files.AddFile("C:\\Work\\b`1+1`.dcb", "set opened=yes\r\n");
    fake.shell.openable.insert("c:\\work\\notes ¬x¬.txt");
    // clang-format off
    const struct { std::string argument; const char* current, * echo, * opened; } cases[] = {
        {"/open \"" + folder + "\"", "C:\\Work\\a `1+1` dir", "C:\\Work>cdd \"C:\\Work\\a `1+1` dir\"", ""},
        {"/OPEN   C:\\Work\\b`1+1`.dcb  ", "C:\\Work", "C:\\Work>set opened=yes", "yes"},
        {"/open \"C:\\Work\\notes ¬x¬.txt\"", "C:\\Work", "C:\\Work>\"C:\\Work\\notes ¬x¬.txt\"", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        fake.files.current = "C:\\Work";
        in().SetVar("Echo", "1");
        in().SetVar("opened", "");
        const std::string remembered = NewestRemembered();
        HalfType("half", 4);
        ASSERT_TRUE(console.HandOver(c.argument)) << c.argument;
        console.Tick();
        EXPECT_EQ(fake.files.CurrentDirectory(), c.current) << c.argument;
        EXPECT_EQ(fake.bar.prompt, std::string(c.current) + ">") << c.argument;
        EXPECT_EQ(in().EvaluateText("CurDir"), c.current) << c.argument;
        // What follows the last clear (a batch file's own lines clear too).
        EXPECT_NE(in().PendingOutput().find(c.echo), std::string::npos) << c.argument;
        EXPECT_EQ(in().EvaluateText("opened"), c.opened) << c.argument;
        EXPECT_EQ(NewestRemembered(), remembered) << c.argument;
        EXPECT_EQ(fake.bar.command, "half") << c.argument;
    }
    EXPECT_EQ(fake.shell.opens.size(), 1u);
    EXPECT_EQ(fake.shell.opens.at(0).file, "C:\\Work\\notes ¬x¬.txt");
}

TEST(HandedOverStartTest, AFirstStartOpensAPathAndIsNoFirstRun) {
    FakePlatform fake;
    FakeConsoleWindow window;
    FakePane pane;
    FakeTray tray;
    Console console{fake.platform, window, pane, tray, BuiltInCommands()};
    fake.environment.variables = {{"ALLUSERSPROFILE", "C:\\ProgramData"}};
    fake.files.AddFolder("C:\\ProgramData");
    fake.files.AddFolder("C:\\a `b` dir");
    console.StartUp("/open \"C:\\a `b` dir\"");
    EXPECT_EQ(fake.files.CurrentDirectory(), "C:\\a `b` dir");
    EXPECT_EQ(fake.bar.prompt, "C:\\a `b` dir>");
    EXPECT_EQ(console.In().PendingOutput().find(kWelcomeLines[0]), std::string::npos);
}

}  // namespace
}  // namespace vantrel::testing
