#include "interpreter/launch.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// Batch files calling batch files, with parameters, run in batch_files.dcb;
// these are the shell opens the pane cannot show.
using LaunchTest = InterpreterTest;
using Open = FakeShell::OpenCall;

TEST_F(LaunchTest, AWordIsLookedForInFivePlaces) {
    EXPECT_EQ(Output("notepad"), "Invalid command, filename or URL");
    std::vector<Open> expected;
    // Args and the word are the same here, so the five are tried twice.
    for (int twice = 0; twice < 2; ++twice) {
        for (const char* file :
             {"C:\\\\notepad", "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\notepad",
              "C:\\Users\\me\\Desktop\\notepad", "C:\\ProgramData\\Desktop\\notepad", "notepad"})
            expected.push_back({file, "", 1});
    }
    EXPECT_EQ(os.shell.opens, expected);
}

TEST_F(LaunchTest, TargetsOpenWithTheirParametersAndStyle) {
    os.files.AddFile("C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts\\mybatch.dcb", "@echo batch");
    in.SetVar("OutputKeep", "1");
    os.shell.openable = {"c:\\program files\\app\\app.exe", "http://example.com/a b", "c:\\\\",
                         "my tool", "notepad"};
    const std::string app = "C:\\Program Files\\App\\app.exe";
    // A line, how many shell opens it makes, the last one, what it prints.
    const std::tuple<std::string, size_t, Open, const char*> cases[] = {
        {"run \"" + app + "\" -a", 1, {app, "-a", kShowNormal}, ""},
        {"runhide \"" + app + "\"", 1, {app, "", kShowHidden}, ""},
        {"http://example.com/a b", 1, {"http://example.com/a b", "", kShowNormal}, ""},
        {"run", 1, {"C:\\\\", "", kShowNormal}, ""},
        {"run \"my tool\" x y", 5, {"my tool", "x y", kShowNormal}, ""},
        {"runmax notepad readme.txt", 10, {"notepad", "readme.txt", kShowMaximized}, ""},
        // The whole text is tried first, then the part before the blank.
        {"runmin C:\\x\\tool.exe /q", 2, {"C:\\x\\tool.exe", "/q", kShowMinimized}, kInvalidTarget},
        // A batch file in the shortcut folder wins over the shell there.
        {"mybatch", 1, {"C:\\\\mybatch", "", kShowNormal}, "batch"},
    };
    for (const auto& [line, tries, last, output] : cases) {
        os.shell.opens.clear();
        EXPECT_EQ(Output(line), output) << line;
        ASSERT_EQ(os.shell.opens.size(), tries) << line;
        EXPECT_EQ(os.shell.opens.back(), last) << line;
    }
}

TEST(BatchParams, MarkersAroundNumbersTakeTheParameters) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"`1` `1`", "p", "p p"},
        {"`1``1`", "p", "p"},         // the second pair's opening marker closes the first
        {"<`1`>", "`1` q", "<`1`>"},  // a parameter is never substituted again
        {"`99999999999`", "a b", ""},
        {"[``] `2`", "\"a b\" c", "[\"a b\" c] c"},
    };
    for (auto [line, params, result] : cases)
        EXPECT_EQ(SubstituteBatchParams(line, "`", params), result) << line;
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
