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

}  // namespace
}  // namespace vantrel
