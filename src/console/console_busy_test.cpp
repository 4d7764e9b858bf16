// The console while a line runs: it keeps the window alive at a human pace,
// stops the line on request and lets nothing else start until it has ended.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "platform/key_codes.h"
#include "remote_fixture.h"

namespace vantrel {
namespace {

using testing::RemoteTest;

// Every clock reading moves 10 ms on, so long work pumps every few polls.
class ConsoleBusyTest : public RemoteTest {
  protected:
    ConsoleBusyTest() {
        fake.clock.step = 10;
        std::string lines;
        for (int i = 1; i <= 50; ++i) lines += "set line" + std::to_string(i) + "=done\r\n";
        fake.files.AddFile("C:\\Work\\long.dcb", lines);
    }

    // Runs the line as typed with Enter.
    void Enter(const std::string& line) {
        fake.bar.command = line;
        console.EnterClicked();
    }
    bool Ran(int batchLine) {
        return in().EvaluateText("line" + std::to_string(batchLine)) == "done";
    }
    // Does work at the given pump of the next line to run.
    void AtPump(int pump, std::function<void()> work) {
        window.pumps = 0;
        window.onPump = [this, pump, work] {
            if (window.pumps == pump) work();
        };
    }
};

TEST_F(ConsoleBusyTest, LongWorkPumpsAtAHumanPaceAndShowsTheLineBeingRun) {
    std::vector<std::string> shown;
    window.onPump = [&] { shown.push_back(fake.bar.command); };
    const size_t coloursBefore = fake.bar.colours.size();
    Enter("long");
    EXPECT_TRUE(Ran(50));
    // Some pumps, far fewer than lines, each showing a line of the file.
    EXPECT_GT(window.pumps, 2);
    EXPECT_LT(window.pumps, 50);
    for (const std::string& line : shown) EXPECT_EQ(line.rfind("set line", 0), 0u) << line;
    // The busy colours once, the normal ones once: no repaint per line.
    EXPECT_EQ(fake.bar.colours.size(), coloursBefore + 2);
    EXPECT_EQ(window.resumes, 1);
    EXPECT_EQ(fake.bar.command, "");
    EXPECT_FALSE(fake.bar.locked);
}

TEST_F(ConsoleBusyTest, ARunawayScriptThatPollsOftenEndsOutOfStack) {
    // The pump reads the focus key and the output settings on every turn;
    // none of that may move the running script's stack guard. A FocusKey
    // function would be script code run mid-statement: it is no setting.
    window.visible = true;
    in().SetVar("FocusKey", "11");
    Enter("vb function f(n):dim i:for i=1 to 1100:next:f=f(n+1):end function");
    Enter("vb function OutputMaxSize():x=x+1:end function|print f(1)|print 1+1");
    EXPECT_GT(window.pumps, 2);
    for (int i = 0; i < 3; ++i) console.Tick();
    EXPECT_NE(pane.view.text.find("Out of stack space\r\n2"), std::string::npos) << pane.view.text;
    EXPECT_EQ(in().EvaluateText("x"), "");
}

// What keys and clicks do meanwhile is in testdata/busy.keys.
TEST_F(ConsoleBusyTest, AFloodOfClicksWhileALineRunsWaitsNoFurtherThanTheBound) {
    AtPump(1, [&] {
        for (int i = 0; i < 1000; ++i) console.TrayMouseMessage(517);
    });
    Enter("long");
    EXPECT_GE(tray.menus.size(), 2u);
    EXPECT_LE(tray.menus.size(), 64u);
}

TEST_F(ConsoleBusyTest, WhileAScriptsBoxIsUpTheConsoleNeitherPumpsNorStartsAnything) {
    // The box's own modal loop runs the timer, the socket and other
    // programs' clicks; the keys typed are the box's.
    ServeClient("");
    int pumps = -1;
    std::string sent = "?";
    fake.dialogs.whileOpen = [&] {
        socket.TakeSent();
        in().PrintOut("printed before the box");
        fake.clock.milliseconds += 1000;
        const int before = window.pumps;
        console.KeepAlive();
        console.Tick();
        pumps = window.pumps - before;
        sent = socket.TakeSent();
        socket.Receive("set later=1\r\n");
        fake.bar.command = "set inner=1";
        console.EnterClicked();
    };
    fake.dialogs.pressed = 7;
    socket.Receive("vb x = MsgBox(\"Proceed?\", vbYesNo)|print x\r\n");
    EXPECT_EQ(pumps, 0);
    EXPECT_EQ(sent, "");
    EXPECT_EQ(in().EvaluateText("inner"), "");
    // The client's next line runs once its first has ended, on the next tick.
    console.Tick();
    EXPECT_EQ(in().EvaluateText("later"), "1");
    const std::string output = socket.TakeSent();
    EXPECT_NE(output.find("printed before the box\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("7\r\n"), std::string::npos) << output;
}

TEST_F(ConsoleBusyTest, AStopWhileAScriptsBoxIsUpClosesTheBoxAndEndsTheLine) {
    // A client's Ctrl+C reaches the console through the box's own loop;
    // Ctrl+Break pressed in the box is handed over by the box.
    const struct {
        const char* what;
        bool client;
        const char* box;
    } cases[] = {
        {"Ctrl+Break, MsgBox", false, "MsgBox(\"Go?\", vbYesNo)"},
        {"Ctrl+C, InputBox", true, "InputBox(\"Name?\")"},
    };
    for (const auto& c : cases) {
        Reach(c.client ? kServing : kLocal);
        in().SetVar("after", "");
        in().SetVar("later", "");
        fake.dialogs.closeRequests = 0;
        fake.dialogs.pressed = 6;
        fake.dialogs.typed = "typed";
        fake.dialogs.whileOpen = [&] {
            c.client ? socket.Receive("\x03") : fake.dialogs.PressStopKey();
        };
        const std::string line = std::string("vb x = ") + c.box + ":after = x|set later=1";
        if (c.client) {
            socket.TakeSent();
            socket.Receive(line + "\r\n");
            console.Tick();
        } else {
            Enter(line);
        }
        EXPECT_EQ(fake.dialogs.closeRequests, 1) << c.what;
        EXPECT_EQ(in().EvaluateText("after"), "") << c.what << ": the script ran on";
        EXPECT_EQ(in().EvaluateText("later"), "") << c.what << ": the line ran on";
        const std::string out = c.client ? socket.TakeSent() : Printed();
        EXPECT_NE(out.find("User interrupt occurred"), std::string::npos) << c.what << ": " << out;
        EXPECT_FALSE(in().Running()) << c.what;
    }
    // A box no stop reached gives its answer, and the script goes on.
    fake.dialogs.whileOpen = nullptr;
    fake.dialogs.closeRequests = 0;
    socket.Receive("vb after = MsgBox(\"Go?\", vbYesNo)\r\n");
    EXPECT_EQ(in().EvaluateText("after"), "6");
    EXPECT_EQ(fake.dialogs.closeRequests, 0);
}

TEST_F(ConsoleBusyTest, AStopWithNoBoxClosesNoneOneAsTheLineEndsIsSpentACloseEndsAll) {
    AtPump(1, [&] { console.KeyDown(kVkEscape, 0); });
    Enter("long");
    EXPECT_FALSE(Ran(50));
    EXPECT_EQ(fake.dialogs.closeRequests, 0);
    // Ctrl+Break handed over by a box while no line runs stops nothing.
    fake.dialogs.PressStopKey();
    window.onPump = nullptr;
    Enter("long");
    EXPECT_TRUE(Ran(50));
    in().SetVar("line50", "");
    // The stop comes in the very look at the command that sees it end.
    fake.processes.onWait = [&](int) { in().RequestStop(); };
    Enter("dos echo hi");
    EXPECT_EQ(Printed(), "hi");
    // The next line runs whole, and so does one after a stop asked for
    // while nothing ran.
    Enter("long");
    EXPECT_TRUE(Ran(50));
    in().SetVar("line50", "");
    in().RequestStop();
    Enter("long");
    EXPECT_TRUE(Ran(50));
    // A close request stops the line and ends the console after it.
    in().SetVar("line50", "");
    AtPump(1, [&] { console.CloseRequested(); });
    Enter("long");
    EXPECT_FALSE(Ran(50));
    EXPECT_TRUE(window.ended);
    EXPECT_FALSE(tray.added);
}

TEST_F(ConsoleBusyTest, OutputShownWhileALineRunsLooksAsItDoesAfterIt) {
    // The pump runs before the command has printed: the pane is cleared,
    // and what comes later still shows below the empty first line.
    fake.clock.step = 40;
    fake.processes.onBatch = [](const std::string&) {};
    fake.processes.waitsToEnd = 2;
    fake.processes.onWait = [&](int wait) {
        std::string err;
        if (wait == 1) fake.files.AppendFile("C:\\Temp\\DOS-4242.out", "hello\r\n", &err);
    };
    pane.open = true;
    Enter("dos slow");
    EXPECT_FALSE(pane.open);
    for (int i = 0; i < 3; ++i) console.Tick();
    EXPECT_EQ(pane.view.text, "\r\nhello");
}

TEST_F(ConsoleBusyTest, AClientsLinesRunASliceATickWaitTheirTurnAndCtrlCStopsOne) {
    // Each line reads the clock a few times: 200 short lines are far more
    // than one slice, and the windows get their turn between slices.
    ServeClient("");
    std::string burst;
    for (int i = 1; i <= 200; ++i) burst += "set n=" + std::to_string(i) + "\r\n";
    socket.Receive(burst);
    const int first = std::stoi(in().EvaluateText("n"));
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 200);
    for (int i = 0; i < 200 && in().EvaluateText("n") != "200"; ++i) console.Tick();
    EXPECT_EQ(in().EvaluateText("n"), "200");

    // While the first line runs: a later line and the client's Ctrl+C.
    AtPump(1, [&] { socket.Receive("set later=1\r\n\x03"); });
    socket.Receive("long\r\n");
    EXPECT_FALSE(Ran(50));
    console.Tick();
    EXPECT_EQ(in().EvaluateText("later"), "1");
    EXPECT_EQ(state(), kServing);

    // A Ctrl+C with nothing running is dropped with the partial line before
    // it; the lines after it run.
    socket.Receive("set third=partial\x03set third=1\r\n");
    EXPECT_EQ(in().EvaluateText("third"), "1");
}

TEST_F(ConsoleBusyTest, AClientKnockingWhileALineRunsIsTakenAfterItAndGetsNoneOfItsOutput) {
    Run("listen 2319 pw");
    window.onPump = [&] {
        if (window.pumps == 1) socket.Knock("10.1.2.3");
        in().PrintOut("local work");
    };
    Enter("long");
    EXPECT_TRUE(Ran(50));
    EXPECT_EQ(state(), kAwaitingLogin);
    EXPECT_EQ(socket.accepted, std::vector<long>{7});
    console.Tick();
    EXPECT_EQ(socket.TakeSent(), std::string(kNoiseOffer) + "\r\nPassword>");
}

TEST_F(ConsoleBusyTest, AClientFloodingWhileALineRunsLosesWhatPassesTheBound) {
    ServeClient("");
    const std::string line = "set f=" + std::string(30000, 'x') + "\r\n";
    AtPump(1, [&] {
        std::string flood;
        for (int i = 0; i < 200; ++i) flood += line;
        socket.Receive(flood);
    });
    socket.Receive("long\r\n");
    // 4 MiB holds 139 of the 30,006-byte lines; they run, the rest do not.
    console.Tick();
    EXPECT_NE(socket.TakeSent().find("61 lines of the peer were dropped: it sent more than "
                                     "4194304 bytes while a line ran"),
              std::string::npos);
    EXPECT_EQ(in().EvaluateText("Len(f)"), "30000");
}

}  // namespace
}  // namespace vantrel
