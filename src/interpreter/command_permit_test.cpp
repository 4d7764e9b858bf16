#include "interpreter/command_permit.h"

#include <chrono>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

const std::string kNot = " is not among the commands this link may run";
const std::string kNoVb = ", and vb is not among the commands this link may run";

CommandPermit Permit(std::string_view list) {
    CommandPermit permit;
    std::string error;
    EXPECT_TRUE(CommandPermit::Parse(list, BuiltInCommands(), &permit, &error)) << error;
    return permit;
}

TEST(CommandPermitTest, TheListIsCommandWordsOrUnreadable) {
    const struct {
        const char* text;
        const char* error;    // "" when it reads
        const char* allowed;  // a command it then allows, or nullptr
        const char* refused;
    } cases[] = {
        {"", "", "md", nullptr},
        {" \t ", "", "vb", nullptr},
        {"PRINT,,Dir", "", "?", "md"},
        {" calc , dir ", "", "print", "!"},
        {"cdd", "", "d:", "cd"},
        {"prnt", "LinkCommands names \"prnt\", which is no command", nullptr, nullptr},
        {"dir|md", "LinkCommands names \"dir|md\", which is no command", nullptr, nullptr},
        {"\"dir\"", "LinkCommands names \"\"dir\"\", which is no command", nullptr, nullptr},
        {"dir run;", "LinkCommands names \"run;\", which is no command", nullptr, nullptr},
    };
    const CommandTable& table = BuiltInCommands();
    for (const auto& c : cases) {
        CommandPermit permit;
        std::string error;
        EXPECT_EQ(CommandPermit::Parse(c.text, table, &permit, &error), !*c.error) << c.text;
        EXPECT_EQ(error, c.error);
        for (const char* word : {c.allowed, c.refused}) {
            if (!word) continue;
            const CommandRow* row = MatchRow(table, ParseCommand(word)).row;
            ASSERT_NE(row, nullptr) << word;
            EXPECT_EQ(permit.Allows(*row), word == c.allowed) << c.text << ": " << word;
        }
    }
}

using LineCheckTest = InterpreterTest;

TEST_F(LineCheckTest, EveryCommandMarkerAndNameOfTheLineIsChecked) {
    ASSERT_TRUE(in.Engine().ExecuteStatement("Function Trim(s) : Trim = s : End Function"));
    const std::string run = ", which" + kNot;
    const struct {
        const char* list;
        const char* separator;
        std::string line;
        std::string refusal;
    } cases[] = {
        {"print dir", "|", "print 6*7", ""},
        {"print dir", "|", "@print 6*7|dir", ""},
        {"print dir", "|", "&dir|&dir", "Refused: &dir would be opened by run" + run},
        {"print dir", "|", "dir | md C:\\linked", "Refused: md" + kNot},
        {"print dir", "Xy", "dir xY md C:\\linked", "Refused: md" + kNot},
        {"print dir", "Xy", "dir | md C:\\linked", ""},
        {"print dir", "|", "\"MD\" C:\\linked", "Refused: md" + kNot},
        {"print dir", "|", "?6*7|calc 1", ""},
        {"dir", "|", "?6*7", "Refused: ?6*7 runs as print" + run},
        {"dir", "|", "!x=1", "Refused: !x=1 runs as vb" + run},
        {"dir", "|", "cd..", "Refused: cd.. runs as cd" + run},
        {"cd", "|", "cd..", ""},
        {"dir", "|", "c:", "Refused: c: runs as cdd" + run},
        {"cdd", "|", "c:", ""},
        {"dir", "|", "note\fpad", "Refused: note?pad would be opened by run" + run},
        {"dir", "|", "notepad", "Refused: notepad would be opened by run" + run},
        {"dir", "|", "x.dcb", "Refused: x.dcb would be opened by run" + run},
        {"run", "|", "x.dcb|run notepad", ""},
        {"print dir", "|", "print `x`", "Refused: a marker (`) runs script" + kNoVb},
        {"print dir", "|", "dir `x", "Refused: a marker (`) runs script" + kNoVb},
        {"print dir", "|", "dir \xC2\xACTEMP",
         "Refused: a marker (\xC2\xAC) reads the environment" + kNoVb},
        {"print dir", "|", "dir \xACTEMP\xAC",
         "Refused: a byte that is not UTF-8 may stand for a marker" + kNoVb},
        {"print vb", "|", "print `x` & \xC2\xACTEMP\xC2\xAC & fso.x", ""},
        {"print", "|", "print UCase(\"a\") & Len(\"abc\") & vbCrLf & Not True Mod 2", ""},
        {"print", "|", "print x", "Refused: x in print's expression may run script" + kNoVb},
        {"print", "|", "print CreateObject(\"Scripting.FileSystemObject\").CreateFolder(\"C:\\x\")",
         "Refused: CreateObject in print's expression may run script" + kNoVb},
        {"print", "|", "print Now.Year",
         "Refused: member access (.) in print's expression may run script" + kNoVb},
        {"print", "|", "print 1 : Dim a",
         "Refused: a second statement in print's expression may run script" + kNoVb},
        {"print", "|", "print Trim(\"a\")",
         "Refused: Trim in print's expression may run script" + kNoVb},
        {"print", "|", "print \"open",
         "Refused: text that is no expression in print's expression may run script" + kNoVb},
        {"let", "|", "let y = Len(\"ab\") * 2", ""},
        {"let", "|", "let y=x", "Refused: x in let's expression may run script" + kNoVb},
        {"let", "|", "let a.b=1", "Refused: a.b is no variable name" + kNoVb},
        {"print", "|", "let y=1", "Refused: let" + kNot},
        {"set", "|", "set CmdSepString=;|set x", ""},
        {"set let", "|", "let linkcommands=\"\"|set LoginAttempts=9",
         "Refused: linkcommands is a setting of the links" + kNoVb},
        {"set", "|", "set Eval(\"1\")", "Refused: Eval(\"1\") is no variable name" + kNoVb},
        {"print", "|", "print 1" + text::ReplaceAll(std::string(150000, '+'), "+", "+1"), ""},
        {"dir", "|", std::string(100000, '|') + "md", "Refused: md" + kNot},
        {"dir", "|", std::string(300000, 'x'),
         "Refused: " + std::string(40, 'x') + "... would be opened by run" + run},
    };
    for (const auto& c : cases) {
        const LineMarkers markers{c.separator, "`", "\xC2\xAC"};
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(RefuseLine(Permit(c.list), BuiltInCommands(), markers, c.line, &in.Engine()),
                  c.refusal)
            << c.list << ": " << c.line.substr(0, 60);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
    std::string bytes = "print ";
    for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
    EXPECT_NE(RefuseLine(Permit("print"), BuiltInCommands(), {}, bytes, nullptr), "");
}

// The line as sent is checked whole before any of it runs; what it changes
// while it runs, and the lines of its batch files, the interpreter's guard
// checks command by command.
TEST_F(LineCheckTest, ARefusedCommandRunsNothingOfItsLine) {
    os.files.AddFile("C:\\job.dcb", "print 1\r\nmd C:\\made\r\nprint 2\r\n");
    const CommandPermit permit = Permit("dir set print run");
    const std::string md = "Refused: md is not among the commands this link may run";
    const struct {
        const char* line;
        std::string refusal;
        const char* shown;  // the pane's last line
    } cases[] = {
        {"print 6*7", "", "42"},
        {"set Made=1 | md C:\\made", md, md.c_str()},
        {"run C:\\job.dcb", md, "2"},
        {"set CmdSepString=; | dir ; md C:\\made", md, md.c_str()},
    };
    for (const auto& c : cases) {
        in.PendingOutput().clear();
        EXPECT_EQ(in.RunPermitted(c.line, permit), c.refusal) << c.line;
        const std::string out = Shown(in.PendingOutput());
        EXPECT_EQ(out.substr(out.rfind('\n') + 1), c.shown) << c.line;
        EXPECT_FALSE(os.files.IsFolder("C:\\made")) << c.line;
    }
    EXPECT_EQ(in.EvaluateText("Made"), "");
}

}  // namespace
}  // namespace vantrel::testing
