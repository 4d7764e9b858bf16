#include "commands/output_commands.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using OutputCommandsTest = InterpreterTest;

TEST_F(OutputCommandsTest, SwitchesReportAndSet) {
    EXPECT_EQ(Output("keepoutput"), "KEEP OUTPUT is off");
    EXPECT_EQ(Output("keepoutput ON"), "");
    EXPECT_EQ(in.EvaluateText("OutputKeep"), "1");
    EXPECT_EQ(Output("outputkeep"), "KEEP OUTPUT is on");
    // Kept output is reported as such only for exactly 1.
    in.SetVar("OutputKeep", "2");
    EXPECT_EQ(Output("keepoutput"), "KEEP OUTPUT is off");
    EXPECT_EQ(Output("keepoutput off"), "");
    EXPECT_EQ(Output("keepoutput maybe"), "Syntax: KEEPOUTPUT [ON|OFF]");

    EXPECT_EQ(Output("enterbutton"), "ENTER BUTTON is off");
    in.SetVar("EnterButton", "2");
    EXPECT_EQ(Output("enterbutton"), "ENTER BUTTON is on");
    EXPECT_EQ(Output("enterbutton Off"), "");
    EXPECT_EQ(in.EvaluateText("EnterButton"), "0");
    EXPECT_EQ(Output("enterbutton on now"), "Syntax: ENTERBUTTON [ON|OFF]");
}

TEST_F(OutputCommandsTest, ClsQueuesAClear) {
    EXPECT_EQ(Run("cls"), "<FF>\n<FF>");
    EXPECT_EQ(Run("CLS anything"), "<FF>\n<FF>");
}

}  // namespace
}  // namespace vantrel::testing
