#include "commands/batch_commands.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kFolder[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";

std::string Batch(const std::string& name) {
    return std::string(kFolder) + "\\" + name + ".dcb";
}

// What batch_management.dcb cannot show: the editor each command starts.
class BatchCommandsTest : public InterpreterTest {
  protected:
    BatchCommandsTest() {
        for (const char* folder : {"C:\\ProgramData", "C:\\ProgramData\\Orvane",
                                   "C:\\ProgramData\\Orvane\\Vantrel", kFolder})
            os.files.AddFolder(folder);
    }
};

TEST(BatchNames, Validity) {
    const std::pair<const char*, bool> cases[] = {
        {"docs", true},      {"docs.txt", true}, {"docs.DCB", true},
        {"docs.dcb", false}, {"", false},        {"sub\\docs", false},
        {"sub/docs", false}, {".dcb", false},    {"my docs", true}};
    for (auto [name, valid] : cases) EXPECT_EQ(IsValidBatchName(name), valid) << name;
}

TEST_F(BatchCommandsTest, NewAndEditedBatchFilesOpenInTheEditorAndSearchesOpenTheAddress) {
    os.files.AddFile(Batch("mine"), "");
    for (const char* line : {"addbatch docs", "addsearch find http://x/?q=%s", "editbatch \"mine\"",
                             "addbatch mine", "editbatch nothere", "editbatch *"})
        Output(line);
    EXPECT_EQ(os.files.Contents(Batch("mine")), "");  // an existing file is never written
    std::vector<FakeProcesses::StartCall> expected;
    for (const char* name : {"docs", "find", "mine"})
        expected.push_back({"Notepad.exe \"" + Batch(name) + "\"", kShowNormal});
    EXPECT_EQ(os.processes.started, expected);
    // The search shortcut opens its address with the text encoded.
    os.shell.openable.insert("https://example.com/?q=a+b%26c");
    ASSERT_EQ(Output("addsearch ex https://example.com/?q=%s"), "");
    in.SetVar("OutputKeep", "1");
    EXPECT_EQ(Output("ex a b&c"), "");
    EXPECT_EQ(os.shell.opens.back().file, "https://example.com/?q=a+b%26c");
    EXPECT_EQ(in.EvaluateText("Search"), "");
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

}  // namespace
}  // namespace vantrel::testing
