#include "commands/batch_commands.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kFolder[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";

// What batch_management.dcb cannot show: the editor each command starts.
class BatchCommandsTest : public InterpreterTest {
  protected:
    BatchCommandsTest() {
        for (const char* folder : {"C:\\ProgramData", "C:\\ProgramData\\Orvane",
                                   "C:\\ProgramData\\Orvane\\Vantrel", kFolder}) {
            os.files.AddFolder(folder);
        }
    }
    static std::string Batch(const std::string& name) {
        return std::string(kFolder) + "\\" + name + ".dcb";
    }
};

TEST(BatchNames, Validity) {
    struct Case {
        const char* name;
        bool valid;
    } cases[] = {{"docs", true},      {"docs.txt", true}, {"docs.DCB", true},
                 {"docs.dcb", false}, {"", false},        {"sub\\docs", false},
                 {"sub/docs", false}, {".dcb", false},    {"my docs", true}};
    for (const Case& c : cases) EXPECT_EQ(IsValidBatchName(c.name), c.valid) << c.name;
}

TEST_F(BatchCommandsTest, NewAndEditedBatchFilesOpenInTheEditor) {
    os.files.AddFile(Batch("mine"), "");
    for (const char* line : {"addbatch docs", "addsearch find http://x/?q=%s", "editbatch \"mine\"",
                             "addbatch mine", "editbatch nothere", "editbatch *"}) {
        Output(line);
    }
    EXPECT_EQ(os.files.Contents(Batch("mine")), "");  // an existing file is never written
    std::vector<FakeProcesses::StartCall> expected;
    for (const char* name : {"docs", "find", "mine"}) {
        expected.push_back({"Notepad.exe \"" + Batch(name) + "\"", kShowNormal});
    }
    EXPECT_EQ(os.processes.started, expected);
}

TEST_F(BatchCommandsTest, FailuresAreReported) {
    in.SetVar("ShortcutFolder", "C:\\Gone");
    EXPECT_EQ(Output("addbatch docs"), kPathNotFound);
    EXPECT_TRUE(os.processes.started.empty());
    in.SetVar("ShortcutFolder", kFolder);
    os.processes.startError = "No editor";
    EXPECT_EQ(Output("addbatch docs"), "No editor");
    EXPECT_TRUE(os.files.HasFile(Batch("docs")));
    os.files.At(Batch("docs")).readOnly = true;
    EXPECT_EQ(Output("delbatch docs"), kAccessDenied);
    // A disk that fills up on the way leaves no empty or half batch file.
    os.files.writeError = "Disk full";
    EXPECT_EQ(Output("addbatch full"), "Disk full");
    EXPECT_FALSE(os.files.HasFile(Batch("full")));
}

TEST_F(BatchCommandsTest, ASearchShortcutOpensTheEncodedAddress) {
    os.shell.openable.insert("https://example.com/?q=a+b%26c");
    ASSERT_EQ(Output("addsearch ex https://example.com/?q=%s"), "");
    in.SetVar("OutputKeep", "1");
    EXPECT_EQ(Output("ex a b&c"), "");
    EXPECT_EQ(os.shell.opens.back().file, "https://example.com/?q=a+b%26c");
    EXPECT_EQ(in.EvaluateText("Search"), "");
}

}  // namespace
}  // namespace vantrel::testing
