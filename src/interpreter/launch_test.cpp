#include "interpreter/launch.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using LaunchTest = InterpreterTest;
using Open = FakeShell::OpenCall;

TEST_F(LaunchTest, AWordIsLookedForInFivePlaces) {
    EXPECT_EQ(Output("notepad"), "Invalid command, filename or URL");
    const std::string sf = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";
    std::vector<Open> expected = {
        {"C:\\\\notepad", "", 1},
        {sf + "\\notepad", "", 1},
        {"C:\\Users\\me\\Desktop\\notepad", "", 1},
        {"C:\\ProgramData\\Desktop\\notepad", "", 1},
        {"notepad", "", 1},
    };
    // Args and the word are the same here, so the five are tried twice.
    ASSERT_EQ(os.shell.opens.size(), 10u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(os.shell.opens[i], expected[i]) << i;
        EXPECT_EQ(os.shell.opens[i + 5], expected[i]) << i;
    }

    os.shell.opens.clear();
    os.shell.openable.insert("notepad");
    EXPECT_EQ(Output("runmax notepad readme.txt"), "");
    EXPECT_EQ(os.shell.opens.back(), (Open{"notepad", "readme.txt", 3}));
}

TEST_F(LaunchTest, ABatchFileWinsOverTheProgram) {
    os.files.AddFile("C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\notepad.dcb", "echo batch\r\n");
    EXPECT_EQ(Output("notepad"), "<FF>\nbatch");
    EXPECT_TRUE(os.shell.opens.size() == 1);  // only the current folder's shell open came first
}

TEST_F(LaunchTest, PathsUrlsAndQuotedPrograms) {
    os.shell.openable = {"c:\\program files\\app\\app.exe", "http://example.com/a b"};
    EXPECT_EQ(Output("run \"C:\\Program Files\\App\\app.exe\" -a"), "");
    EXPECT_EQ(os.shell.opens.back(), (Open{"C:\\Program Files\\App\\app.exe", "-a", 1}));
    EXPECT_EQ(Output("runhide \"C:\\Program Files\\App\\app.exe\""), "");
    EXPECT_EQ(os.shell.opens.back(), (Open{"C:\\Program Files\\App\\app.exe", "", 0}));
    os.shell.opens.clear();
    EXPECT_EQ(Output("http://example.com/a b"), "");
    EXPECT_EQ(os.shell.opens, (std::vector<Open>{{"http://example.com/a b", "", 1}}));
    os.shell.opens.clear();
    EXPECT_EQ(Output("runmin C:\\x\\tool.exe /q"), "Invalid command, filename or URL");
    std::vector<Open> tried = {{"C:\\x\\tool.exe /q", "", 6}, {"C:\\x\\tool.exe", "/q", 6}};
    EXPECT_EQ(os.shell.opens, tried);
}

TEST_F(LaunchTest, RunAloneOpensTheCurrentFolder) {
    os.shell.openable.insert("c:\\\\");
    EXPECT_EQ(Output("run"), "");
    EXPECT_EQ(os.shell.opens.back(), (Open{"C:\\\\", "", 1}));
}

TEST_F(LaunchTest, QuotedNameWithoutAPathKeepsItsParameters) {
    os.shell.openable.insert("my tool");
    EXPECT_EQ(Output("run \"my tool\" x y"), "");
    EXPECT_EQ(os.shell.opens.back(), (Open{"my tool", "x y", 1}));
}

TEST_F(LaunchTest, BatchParameters) {
    os.files.AddFile("C:\\mybatch.dcb", "echo `1` `2`\r\necho [``]\r\necho `0` `x` `1.5` `2.5`");
    in.SetVar("OutputKeep", "1");
    // What is left marked is expanded as usual once the line runs.
    EXPECT_EQ(Output("mybatch a b"), "a b\n[a b]\n0  b b");
    EXPECT_EQ(Output("mybatch a"), "a\n[a]\n0");
    EXPECT_EQ(Output("mybatch.DCB \"x y\" z"), "x y z\n[\"x y\" z]\n0  z z");
    EXPECT_EQ(SubstituteBatchParams("`1` `1`", "`", "p"), "p p");
    EXPECT_EQ(SubstituteBatchParams("`1``1`", "`", "p"), "p");
    EXPECT_EQ(SubstituteBatchParams("<`1`>", "`", "`1` q"), "<`1`>");
    EXPECT_EQ(SubstituteBatchParams("`99999999999`", "`", "a b"), "");
}

TEST_F(LaunchTest, BatchLinesEachClearUnlessKept) {
    os.files.AddFile("C:\\two.dcb", "echo one\recho two\n\r\n");
    EXPECT_EQ(Run("two"), "<FF>\n<FF>\none\n<FF>\ntwo\n<FF>");
    EXPECT_EQ(os.bar.command, "");
}

TEST_F(LaunchTest, BatchFilesAreFoundOnThePath) {
    os.files.AddFile("C:\\Tools\\tool.dcb", "echo from path");
    EXPECT_EQ(Output("tool"), "<FF>\nfrom path");
    std::string err;
    EXPECT_FALSE(RunBatch(in, "C:\\nowhere\\tool", "", &err));
    EXPECT_EQ(err, "File not found");
}

TEST_F(LaunchTest, NestingIsBounded) {
    os.files.AddFile("C:\\self.dcb", "&echo in\r\nself");
    std::string out = Output("self");
    EXPECT_NE(out.find("Batch files nested more than 64 deep; stopped"), std::string::npos);
    EXPECT_EQ(in.batchDepth, 0);
    os.files.AddFile("C:\\leave.dcb", "exit\r\necho after");
    EXPECT_EQ(Output("leave"), "<FF>");
}

}  // namespace
}  // namespace vantrel::testing
