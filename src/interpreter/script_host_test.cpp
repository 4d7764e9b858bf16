// The console's answers to a script's MsgBox and InputBox: what the boxes
// are asked to show, and what the script gets back.
#include "interpreter/script_host.h"

#include <tuple>

#include "interpreter_fixture.h"

namespace vantrel {
namespace {

using ScriptHostTest = testing::InterpreterTest;

// The arguments after the prompt, and the title and style of the box shown.
TEST_F(ScriptHostTest, MsgBoxShowsItsPromptAndTitleWithTheOptionsABoxHonours) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {", vbYesNo + vbQuestion, \"Ask\"", "Ask", 4 + 32},
        {"", "Vantrel", 0},
        {", , \"\"", "", 0},
        {", vbRetryCancel + vbCritical + vbDefaultButton2 + vbSystemModal", "Vantrel",
         5 + 16 + 256 + 4096},
        {", vbExclamation + vbDefaultButton4 + 16384", "Vantrel", 48 + 768 + 16384},
        // Foreground, topmost, right-aligned and right-to-left.
        {", vbInformation + 65536 + 262144 + 524288 + 1048576", "Vantrel",
         64 + 65536 + 262144 + 524288 + 1048576},
        // No such buttons: OK alone.
        {", 7 + vbQuestion", "Vantrel", 32},
        {", 15", "Vantrel", 0},
        // A service's box, the default desktop's, and an unused bit.
        {", vbOKCancel + 2097152 + 131072 + 32768", "Vantrel", 1},
    };
    for (auto [args, title, style] : cases) {
        os.dialogs.msgBoxes.clear();
        EXPECT_EQ(Output(std::string("vb x = MsgBox(\"Proceed?\"") + args + ")"), "") << args;
        ASSERT_EQ(os.dialogs.msgBoxes.size(), 1u) << args;
        EXPECT_EQ(os.dialogs.msgBoxes[0].prompt, "Proceed?") << args;
        EXPECT_EQ(os.dialogs.msgBoxes[0].title, title) << args;
        EXPECT_EQ(os.dialogs.msgBoxes[0].style, style) << args;
    }
}

TEST_F(ScriptHostTest, MsgBoxGivesTheButtonAndInputBoxTheTextOrAZeroLengthStringOnCancel) {
    for (int pressed = 1; pressed <= 7; ++pressed) {
        os.dialogs.pressed = pressed;
        EXPECT_EQ(Output("print MsgBox(\"Proceed?\", vbYesNoCancel)"), std::to_string(pressed));
    }
    EXPECT_EQ(Output("print MsgBox(\"Proceed?\", vbYesNo) = vbNo"), "True");  // 7 was last
    os.dialogs.typed = "typed text";
    EXPECT_EQ(Output("print InputBox(\"Name?\", \"Ask\", \"default\")"), "typed text");
    os.dialogs.typed.reset();
    EXPECT_EQ(Output("vb x = InputBox(\"Name?\", \"Ask\", \"default\")"), "");
    EXPECT_EQ(Output("print TypeName(x) & \"/\" & Len(x)"), "String/0");
    os.dialogs.typed = "";
    EXPECT_EQ(Output("print \"[\" & InputBox(\"Name?\") & \"]\""), "[]");
}

TEST_F(ScriptHostTest, InputBoxShowsItsTextsWhereTheScriptAsks) {
    using Box = std::tuple<std::string, std::string, std::string, std::optional<int>,
                           std::optional<int>>;  // prompt, title, default text, left, top
    const std::pair<const char*, Box> cases[] = {
        {"InputBox(\"Name?\", \"Ask\", \"Ann\")", {"Name?", "Ask", "Ann", {}, {}}},
        {"InputBox(\"Name?\")", {"Name?", "Vantrel", "", {}, {}}},
        {"InputBox(\"Name?\", , , 1500, 3000)", {"Name?", "Vantrel", "", 1500, 3000}},
        {"InputBox(\"Name?\", \"Ask\", , , 300)", {"Name?", "Ask", "", {}, 300}},
        {"InputBox(\"Name?\", \"Ask\", \"Ann\", 0)", {"Name?", "Ask", "Ann", 0, {}}},
    };
    os.dialogs.typed = "x";
    for (const auto& [call, shown] : cases) {
        os.dialogs.inputBoxes.clear();
        EXPECT_EQ(Output(std::string("vb x = ") + call), "") << call;
        ASSERT_EQ(os.dialogs.inputBoxes.size(), 1u) << call;
        const InputBoxRequest& r = os.dialogs.inputBoxes[0];
        EXPECT_EQ(Box(r.prompt, r.title, r.defaultText, r.left, r.top), shown) << call;
    }
}

TEST_F(ScriptHostTest, NoBoxShowsForABadArgumentNorOutsideALine) {
    EXPECT_EQ(Output("vb x = MsgBox(\"Proceed?\", \"many\")"), "Type mismatch");
    EXPECT_EQ(Output("vb x = InputBox(\"Name?\", , , \"left\")"), "Type mismatch");
    EXPECT_EQ(Output("vb x = MsgBox()"),
              "Wrong number of arguments or invalid property assignment: 'MsgBox'");
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
