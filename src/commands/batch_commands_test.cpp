#include "commands/batch_commands.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

constexpr char kFolder[] = "C:\\ProgramData\\Orvane\\Vantrel\\Shortcuts";
constexpr char kAddSyntax[] =
    "Syntax: ADDBATCH filename [command]\nFilename should not contain a folder or a file "
    "extension";
constexpr char kSearchSyntax[] =
    "Syntax: ADDSEARCH filename [url]\nUse %s to represent the search string in the URL";
constexpr char kEditSyntax[] =
    "Syntax: EDITBATCH filename\nFilename should not contain a folder or a file extension and "
    "should be the name of a file in your batch folder";
constexpr char kDelSyntax[] =
    "Syntax: DELBATCH filename\nFilename should not contain a folder or a file extension and "
    "should be the name of a file in your batch folder";

class BatchCommandsTest : public InterpreterTest {
  protected:
    BatchCommandsTest() {
        for (const char* folder :
             {"C:\\ProgramData", "C:\\ProgramData\\Orvane", "C:\\ProgramData\\Orvane\\Vantrel",
              kFolder, "D:\\", "D:\\Docs", "C:\\Tools"}) {
            os.files.AddFolder(folder);
        }
        os.files.current = "D:\\Docs";
    }
    static std::string Batch(const std::string& name) {
        return std::string(kFolder) + "\\" + name + ".dcb";
    }
    FakeProcesses::StartCall Editor(const std::string& name) {
        return {"Notepad.exe \"" + Batch(name) + "\"", 1};
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

TEST_F(BatchCommandsTest, AddBatchMakesAFolderShortcut) {
    EXPECT_EQ(Output("addbatch docs"), "");
    EXPECT_EQ(os.files.Contents(Batch("docs")), "cdd D:\\Docs\r\n");
    ASSERT_EQ(os.processes.started.size(), 1u);
    EXPECT_EQ(os.processes.started[0], Editor("docs"));

    os.files.AddFile(Batch("docs"), "mine\r\n");
    EXPECT_EQ(Output("adddcb docs"), "File already exists\nPlease use EDITBATCH to edit this file");
    EXPECT_EQ(os.files.Contents(Batch("docs")), "mine\r\n");
    EXPECT_EQ(os.processes.started.size(), 1u);
}

TEST_F(BatchCommandsTest, AddBatchMakesAProgramShortcut) {
    os.files.current = "C:\\Tools";
    EXPECT_EQ(Output("addshortcut tool run tool.exe"), "");
    EXPECT_EQ(os.files.Contents(Batch("tool")),
              "set OldDir=`CurDir`\r\n"
              "cdd C:\\Tools\r\n"
              "run tool.exe ``\r\n"
              "cdd `OldDir`\r\n"
              "set OldDir=\r\n");
    // A quoted name: its closing quote and blank are not part of the command.
    EXPECT_EQ(Output("addbatch \"my files\" explorer ."), "");
    EXPECT_EQ(os.files.Contents(Batch("my files")).substr(0, 50),
              "set OldDir=`CurDir`\r\ncdd C:\\Tools\r\nexplorer . ``\r\n");
}

TEST_F(BatchCommandsTest, MarkerFollowsVarStringAndFallsBackToTheBackQuote) {
    in.SetVar("VarString", "%");
    EXPECT_EQ(Output("addbatch a run x"), "");
    EXPECT_EQ(os.files.Contents(Batch("a")),
              "set OldDir=%CurDir%\r\ncdd D:\\Docs\r\nrun x %%\r\ncdd %OldDir%\r\nset OldDir=\r\n");
    // Set through the engine: SET cannot empty it once its marker is gone.
    in.SetVar("VarString", "");
    EXPECT_EQ(Output("addbatch b run y"), "");
    EXPECT_EQ(os.files.Contents(Batch("b")),
              "set OldDir=`CurDir`\r\ncdd D:\\Docs\r\nrun y ``\r\ncdd `OldDir`\r\nset OldDir=\r\n");
    EXPECT_EQ(Output("addsearch s http://x/?q=%s"), "");
    EXPECT_EQ(os.files.Contents(Batch("s")),
              "set Search=``\r\nurlhex Search\r\nhttp://x/?q=`Search`\r\nset Search=\r\n");
}

TEST_F(BatchCommandsTest, AddBatchNames) {
    for (const char* line :
         {"addbatch", "addbatch docs.dcb", "addbatch sub\\docs", "addbatch a/b run x"}) {
        EXPECT_EQ(Output(line), kAddSyntax) << line;
    }
    EXPECT_EQ(Output("addbatch docs.txt"), "");
    EXPECT_TRUE(os.files.HasFile(Batch("docs.txt")));
    EXPECT_EQ(Output("addbatch x.DCB"), "");
    EXPECT_TRUE(os.files.HasFile(Batch("x.DCB")));
}

TEST_F(BatchCommandsTest, AddBatchReportsAFileThatCannotBeCreated) {
    in.SetVar("ShortcutFolder", "C:\\Gone");
    EXPECT_EQ(Output("addbatch docs"), kPathNotFound);
    EXPECT_TRUE(os.processes.started.empty());
}

TEST_F(BatchCommandsTest, AddSearchWritesTheFourLines) {
    EXPECT_EQ(Output("addsearch find https://example.com/search?q=%S&lang=en&also=%s"), "");
    EXPECT_EQ(os.files.Contents(Batch("find")),
              "set Search=``\r\n"
              "urlhex Search\r\n"
              "https://example.com/search?q=`Search`&lang=en&also=`Search`\r\n"
              "set Search=\r\n");
    EXPECT_EQ(os.processes.started.back(), Editor("find"));
    EXPECT_EQ(Output("addsearch find http://x/%s"),
              "File already exists\nPlease use EDITBATCH to edit this file");

    for (const char* line :
         {"addsearch", "addsearch g", "addsearch g http://x/", "addsearch g.dcb http://x/%s"}) {
        EXPECT_EQ(Output(line), kSearchSyntax) << line;
    }
    EXPECT_FALSE(os.files.HasFile(Batch("g")));
}

TEST_F(BatchCommandsTest, ASearchShortcutOpensTheEncodedAddress) {
    os.shell.openable.insert("https://example.com/?q=a+b%26c");
    ASSERT_EQ(Output("addsearch ex https://example.com/?q=%s"), "");
    in.SetVar("OutputKeep", "1");
    EXPECT_EQ(Output("ex a b&c"), "");
    EXPECT_EQ(os.shell.opens.back().file, "https://example.com/?q=a+b%26c");
    EXPECT_EQ(in.EvaluateText("Search"), "");
}

TEST_F(BatchCommandsTest, AProgramShortcutRunsThereAndComesBack) {
    os.files.current = "C:\\Tools";
    ASSERT_EQ(Output("addbatch tl echo ran in"), "");
    in.SetVar("OutputKeep", "1");
    ASSERT_EQ(Output("cdd D:\\Docs"), "");
    EXPECT_EQ(Output("tl x y"), "ran in x y");
    EXPECT_EQ(os.files.current, "D:\\Docs");
    EXPECT_EQ(in.EvaluateText("OldDir"), "");
}

TEST_F(BatchCommandsTest, EditBatch) {
    os.files.AddFile(Batch("docs"), "");
    EXPECT_EQ(Output("editbatch \"docs\""), "");
    EXPECT_EQ(os.processes.started.back(), Editor("docs"));
    EXPECT_EQ(Output("editshortcut nothere"), "File not found");
    for (const char* line : {"editdcb", "editbatch docs.dcb", "editbatch a\\docs", "editbatch *"}) {
        EXPECT_EQ(Output(line), kEditSyntax) << line;
    }
    EXPECT_EQ(os.processes.started.size(), 1u);
}

TEST_F(BatchCommandsTest, DelBatchDeletesOneFileAndRefusesWildcards) {
    os.files.AddFile(Batch("docs"), "");
    os.files.AddFile(Batch("Autoexec"), "set a=1\r\n");
    for (const char* line : {"delbatch *", "deldcb ?utoexec", "delshortcut d*", "delbatch",
                             "delbatch docs.dcb", "delbatch ..\\docs"}) {
        EXPECT_EQ(Output(line), kDelSyntax) << line;
    }
    EXPECT_TRUE(os.files.HasFile(Batch("Autoexec")));
    EXPECT_TRUE(os.files.HasFile(Batch("docs")));
    EXPECT_EQ(Output("delbatch nothere"), "File not found");
    EXPECT_EQ(Output("delbatch \"docs\""), "");
    EXPECT_FALSE(os.files.HasFile(Batch("docs")));
    EXPECT_TRUE(os.files.HasFile(Batch("Autoexec")));

    os.files.AddFile(Batch("locked"), "");
    os.files.At(Batch("locked")).readOnly = true;
    EXPECT_EQ(Output("delbatch locked"), kAccessDenied);
}

TEST_F(BatchCommandsTest, ShortcutsMakesTheFolderCurrent) {
    EXPECT_EQ(Output("dcb x"), "Syntax: DCB");
    EXPECT_EQ(os.files.current, "D:\\Docs");
    EXPECT_EQ(Output("shortcuts"), "");
    EXPECT_EQ(os.files.current, kFolder);
    EXPECT_EQ(in.EvaluateText("CurDir"), kFolder);
    os.files.current = "D:\\Docs";
    EXPECT_EQ(Output("BATCH"), "");
    EXPECT_EQ(os.files.current, kFolder);
    in.SetVar("ShortcutFolder", "C:\\Gone");
    EXPECT_EQ(Output("dcb"), "");  // not reported
    EXPECT_EQ(os.files.current, kFolder);
}

}  // namespace
}  // namespace vantrel::testing
