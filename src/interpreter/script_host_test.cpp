// The console's answers to a script's MsgBox and InputBox. What the boxes
// show and what the script gets back are in dialogs.dcb; here, when no box
// may show at all.
#include "interpreter/script_host.h"

#include "interpreter_fixture.h"

namespace vantrel {
namespace {

using ScriptHostTest = testing::InterpreterTest;

TEST_F(ScriptHostTest, NoBoxShowsOutsideALineAndOneIsOpenOnlyWhileItIsUp) {
    // A script function the console calls while it reads a setting.
    os.dialogs.typed = "typed";
    EXPECT_EQ(in.EvaluateText("MsgBox(\"Proceed?\")"), "0");
    EXPECT_EQ(in.EvaluateText("\"[\" & InputBox(\"Name?\", , \"Ann\") & \"]\""), "[]");
    EXPECT_TRUE(os.dialogs.msgBoxes.empty());
    EXPECT_TRUE(os.dialogs.inputBoxes.empty());
    // Within a line the host knows a box is up only while it is.
    std::vector<bool> open;
    os.dialogs.whileOpen = [&] { open.push_back(in.DialogOpen()); };
    Output("vb x = MsgBox(\"a\") + Len(InputBox(\"b\"))");
    EXPECT_EQ(open, (std::vector<bool>{true, true}));
    EXPECT_FALSE(in.DialogOpen());
}

// The host alone, over a line that the test plays: it asks the line, and
// nothing else, whether to go on and whether a box may wait.
TEST(ConsoleScriptHostTest, TheLineDecidesWhetherTheScriptGoesOnAndABoxShows) {
    struct Line : ScriptLine {
        bool KeepGoing() override { return going; }
        bool Running() const override { return running; }
        bool running = false, going = true;
    };
    for (bool running : {true, false}) {
        Line line;
        line.running = running;
        line.going = !running;
        testing::FakeClock clock;
        testing::FakeDialogs dialogs;
        dialogs.pressed = 6;
        dialogs.typed = "typed";
        ConsoleScriptHost host(clock, dialogs, line);
        EXPECT_EQ(host.KeepGoing(), !running) << running;
        EXPECT_EQ(host.MsgBox("Proceed?", 4, "Ask"), running ? 6 : 0) << running;  // 0: no box
        std::string answer;
        EXPECT_EQ(host.InputBox("Name?", "Ask", "", {}, &answer), running) << running;
        EXPECT_EQ(answer, running ? "typed" : "") << running;
        EXPECT_EQ(dialogs.msgBoxes.size() + dialogs.inputBoxes.size(), running ? 2u : 0u);
    }
}

}  // namespace
}  // namespace vantrel
