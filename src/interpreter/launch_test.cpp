#include "interpreter/launch.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// Batch files calling batch files, with parameters, run in batch_files.dcb;
// these are the shell opens the pane cannot show.
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
    std::vector<Open> twice = expected;
    twice.insert(twice.end(), expected.begin(), expected.end());
    EXPECT_EQ(os.shell.opens, twice);
}

TEST_F(LaunchTest, TargetsOpenWithTheirParametersAndStyle) {
    os.files.AddFile("C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\mybatch.dcb", "@echo batch");
    in.SetVar("OutputKeep", "1");
    os.shell.openable = {"c:\\program files\\app\\app.exe", "http://example.com/a b", "c:\\\\",
                         "my tool", "notepad"};
    const std::string app = "C:\\Program Files\\App\\app.exe";
    struct Case {
        std::string line;
        size_t tries;  // shell opens, the last one as below
        Open last;
        const char* output;
    } cases[] = {
        {"run \"" + app + "\" -a", 1, {app, "-a", kShowNormal}, ""},
        {"runhide \"" + app + "\"", 1, {app, "", kShowHidden}, ""},
        {"http://example.com/a b", 1, {"http://example.com/a b", "", kShowNormal}, ""},
        {"run", 1, {"C:\\\\", "", kShowNormal}, ""},
        {"run \"my tool\" x y", 5, {"my tool", "x y", kShowNormal}, ""},
        {"runmax notepad readme.txt", 10, {"notepad", "readme.txt", kShowMaximized}, ""},
        // The whole text is tried first, then the part before the blank.
        {"runmin C:\\x\\tool.exe /q",
         2,
         {"C:\\x\\tool.exe", "/q", kShowMinimized},
         "Invalid command, filename or URL"},
        // A batch file in the shortcut folder wins over the shell there.
        {"mybatch", 1, {"C:\\\\mybatch", "", kShowNormal}, "batch"},
    };
    for (const Case& c : cases) {
        os.shell.opens.clear();
        EXPECT_EQ(Output(c.line), c.output) << c.line;
        EXPECT_EQ(os.shell.opens.size(), c.tries) << c.line;
        if (!os.shell.opens.empty()) {
            EXPECT_EQ(os.shell.opens.back(), c.last) << c.line;
        }
    }
}

TEST(BatchParams, MarkersAroundNumbersTakeTheParameters) {
    struct Case {
        const char* line;
        const char* params;
        const char* result;
    } cases[] = {
        {"`1` `1`", "p", "p p"},
        {"`1``1`", "p", "p"},         // the second pair's opening marker closes the first
        {"<`1`>", "`1` q", "<`1`>"},  // a parameter is never substituted again
        {"`99999999999`", "a b", ""},
        {"[``] `2`", "\"a b\" c", "[\"a b\" c] c"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SubstituteBatchParams(c.line, "`", c.params), c.result) << c.line;
    }
}

TEST_F(LaunchTest, BatchLinesRunOneByOne) {
    os.files.AddFile("C:\\two.dcb", "echo one\recho two\n\r\n");
    EXPECT_EQ(Run("two"), "<FF>\n<FF>\none\n<FF>\ntwo\n<FF>");
    std::string err;
    EXPECT_FALSE(RunBatch(in, "C:\\Tools\\two", "", &err));  // a folder is not searched on PATH
    EXPECT_EQ(err, "File not found");
}

}  // namespace
}  // namespace vantrel::testing
