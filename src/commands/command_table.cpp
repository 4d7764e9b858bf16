#include "commands/command_table.h"

#include "commands/batch_commands.h"
#include "commands/clock_commands.h"
#include "commands/colour_commands.h"
#include "commands/dos_command.h"
#include "commands/file_commands.h"
#include "commands/folder_commands.h"
#include "commands/input_commands.h"
#include "commands/link_commands.h"
#include "commands/output_commands.h"
#include "commands/placement_commands.h"
#include "commands/power_commands.h"
#include "commands/run_commands.h"
#include "commands/startup_commands.h"
#include "commands/variable_commands.h"
#include "commands/web_commands.h"
#include "commands/window_commands.h"
#include "interpreter/text.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

// The run-together forms: "cd.." is "cd ..", "cdd\x" is "cdd \x".
bool RewriteFolderForm(const Command& c, std::string_view word, std::string* line) {
    std::string lower = text::LowerCase(c.line);
    for (char next : {'\\', '/', '.'}) {
        if (lower.size() > word.size() && lower.compare(0, word.size(), word) == 0 &&
            lower[word.size()] == next) {
            *line = std::string(word) + " " + c.line.substr(word.size());
            return true;
        }
    }
    return false;
}

bool RewriteCd(const Command& c, std::string* line) {
    return RewriteFolderForm(c, "cd", line) || RewriteFolderForm(c, "chdir", line);
}

bool RewriteCdd(const Command& c, std::string* line) {
    return RewriteFolderForm(c, "cdd", line);
}

// Whatever no row took is opened as a target.
bool RewriteToRun(const Command& c, std::string* line) {
    *line = "run " + c.line;
    return true;
}

bool IsDriveForm(const Command& c) {
    return c.line.size() == 2 && c.line[1] == ':';
}

using enum ArgKind;

// What the arguments of the rows are: what Tab offers and what the history
// keeps.
const Arguments kPaths{kPath, kPath};
const Arguments kFolderText{kPath, kPath, true};  // MD and RD take the text whole
const Arguments kTargets{kTarget, kPath};
const Arguments kBatchAndPath{kBatch, kPath};
const Arguments kBatchName{kBatch, kText};
const Arguments kVariables{kVariable, kVariable};
const Arguments kVariableName{kVariable, kText};
const Arguments kExpressions{kExpression, kExpression};
const Arguments kEnvironmentName{kEnvironment, kText};
const Arguments kWindows{kWindow, kWindow, true};
const Arguments kPortAndPassword{kWords, kPassword};
const Arguments kNameAndPassword{kText, kPassword};
const Arguments kEchoWords{kWords, kText, false, {"on", "off"}};
const Arguments kColourArguments{kWords, kWords, false, {}, ColourArgumentAt};

CommandTable BuildTable() {
    return {
        // output_commands.cpp
        {{"cls"}, ClsCommand},
        // run_commands.cpp
        {{"run", "runmax", "runmin", "runhide"},
         RunFamilyCommand,
         0,
         kAnyArgs,
         {},
         nullptr,
         nullptr,
         kTargets},
        // window_commands.cpp
        {{"focus", "activate"},
         FocusCommand,
         1,
         kAnyArgs,
         {"Syntax: FOCUS title|pid", "Title can be a full or partial window title"},
         nullptr,
         nullptr,
         kWindows},
        {{"close"},
         CloseCommand,
         1,
         kAnyArgs,
         {"Syntax: CLOSE title|pid", "Title can be a full or partial window title"},
         nullptr,
         nullptr,
         kWindows},
        {{"kill", "terminate"},
         KillCommand,
         1,
         kAnyArgs,
         {"Syntax: KILL title|pid", "Title can be a full or partial window title"},
         nullptr,
         nullptr,
         kWindows},
        {{"wins", "windows"}, WinsCommand, 0, kAnyArgs, {}, nullptr, nullptr, kWindows},
        // link_commands.cpp
        {{"listen"},
         ListenCommand,
         0,
         2,
         {"Syntax: LISTEN [port|OFF [password]]"},
         nullptr,
         nullptr,
         kPortAndPassword},
        {{"connect"},
         ConnectCommand,
         1,
         2,
         {"Syntax: CONNECT address[:port] [password]"},
         nullptr,
         nullptr,
         kNameAndPassword},
        {{"disconnect"}, DisconnectCommand, 0, 0, {"Syntax: DISCONNECT"}},
        {{"ban"}, BanCommand, 0, 1, {"Syntax: BAN [ip]"}},
        {{"unban"}, UnbanCommand, 1, 1, {"Syntax: UNBAN ip"}},
        // power_commands.cpp
        {{"exit", "quit"}, ExitCommand, 0, 0, {"Syntax: EXIT"}},
        {{"shutdown"}, ShutdownCommand, 0, 0, {"Syntax: SHUTDOWN"}},
        {{"restart"}, RestartCommand, 0, 0, {"Syntax: RESTART"}},
        // folder_commands.cpp
        {{}, ChangeDriveCommand, 0, kAnyArgs, {}, nullptr, IsDriveForm},
        {{"cd", "chdir"},
         CdCommand,
         1,
         kAnyArgs,
         {"Syntax: CD [folder]"},
         RewriteCd,
         nullptr,
         kPaths},
        {{"cdd"}, CddCommand, 1, kAnyArgs, {"Syntax: CDD [folder]"}, RewriteCdd, nullptr, kPaths},
        {{"md", "mkdir"},
         MdCommand,
         1,
         kAnyArgs,
         {"Syntax: MD [folder]"},
         nullptr,
         nullptr,
         kFolderText},
        {{"rd", "rmdir"},
         RdCommand,
         1,
         kAnyArgs,
         {"Syntax: RD [folder]"},
         nullptr,
         nullptr,
         kFolderText},
        // file_commands.cpp
        {{"dir"}, DirCommand, 0, kAnyArgs, {}, nullptr, nullptr, kPaths},
        // variable_commands.cpp
        {{"set"},
         SetCommand,
         0,
         kAnyArgs,
         {"Syntax: SET [name[=text]]"},
         nullptr,
         nullptr,
         kVariables},
        {{"let", "setvb"},
         LetCommand,
         0,
         kAnyArgs,
         {"Syntax: LET name=expression"},
         nullptr,
         nullptr,
         kExpressions},
        {{"env", "environ"},
         EnvCommand,
         0,
         kAnyArgs,
         {"Syntax: ENV [name]"},
         nullptr,
         nullptr,
         kEnvironmentName},
        {{"urlhex"},
         UrlHexCommand,
         1,
         1,
         {"Syntax: URLHEX varname"},
         nullptr,
         nullptr,
         kVariableName},
        // input_commands.cpp
        {{"sendkeys"}, SendKeysCommand, 1, kAnyArgs, {"Syntax: SENDKEYS keys"}},
        // dos_command.cpp
        {{"dos"}, DosCommand, 1, kAnyArgs, {"Syntax: DOS command"}},
        // clock_commands.cpp
        {{"time"}, TimeCommand},
        {{"date"}, DateCommand},
        {{"now"}, NowCommand},
        // colour_commands.cpp
        {{"colour", "color"},
         ColourCommand,
         1,
         4,
         {"Syntax: COLOUR PROMPT|COMMAND|OUTPUT [BUSY] TEXT|BG colour",
          "Example 1: COLOUR OUTPUT BG RED", "Example 2: COLOUR COMMAND BUSY TEXT #0099FF"},
         nullptr,
         nullptr,
         kColourArguments},
        // file_commands.cpp
        {{"path"}, PathCommand, 0, 0, {"Syntax: PATH"}},
        {{"copy", "cp"},
         CopyCommand,
         2,
         2,
         {"Syntax: COPY source destination"},
         nullptr,
         nullptr,
         kPaths},
        {{"move", "mv"},
         MoveCommand,
         2,
         2,
         {"Syntax: MOVE source destination"},
         nullptr,
         nullptr,
         kPaths},
        {{"rename", "rn", "ren", "name"},
         RenameCommand,
         2,
         2,
         {"Syntax: RENAME source destination"},
         nullptr,
         nullptr,
         kPaths},
        {{"del", "rm", "delete"}, DelCommand, 0, kAnyArgs, {}, nullptr, nullptr, kPaths},
        // variable_commands.cpp
        {{"echo"}, EchoCommand, 0, kAnyArgs, {}, nullptr, nullptr, kEchoWords},
        {{"vb", "vbscript", "basic", "!"},
         VbCommand,
         0,
         kAnyArgs,
         {},
         nullptr,
         nullptr,
         kExpressions,
         true},
        {{"print", "?", "calc"},
         PrintCommand,
         0,
         kAnyArgs,
         {},
         nullptr,
         nullptr,
         kExpressions,
         true},
        // output_commands.cpp
        {{"keepoutput", "outputkeep"}, KeepOutputCommand, 0, 1, {"Syntax: KEEPOUTPUT [ON|OFF]"}},
        {{"enterbutton"}, EnterButtonCommand, 0, 1, {"Syntax: ENTERBUTTON [ON|OFF]"}},
        // placement_commands.cpp
        {{"alwaysontop"}, AlwaysOnTopCommand, 0, 1, {"Syntax: ALWAYSONTOP [ON|OFF]"}},
        // file_commands.cpp
        {{"edit"}, EditCommand, 1, kAnyArgs, {"Syntax: EDIT filename"}, nullptr, nullptr, kPaths},
        {{"type"}, TypeCommand, 1, kAnyArgs, {"Syntax: TYPE filename"}, nullptr, nullptr, kPaths},
        // batch_commands.cpp
        {{"addbatch", "adddcb", "addshortcut"},
         AddBatchCommand,
         1,
         kAnyArgs,
         {"Syntax: ADDBATCH filename [command]",
          "Filename should not contain a folder or a file extension"},
         nullptr,
         nullptr,
         kBatchAndPath},
        {{"editbatch", "editdcb", "editshortcut"},
         EditBatchCommand,
         1,
         kAnyArgs,
         {"Syntax: EDITBATCH filename",
          "Filename should not contain a folder or a file extension and should be the name of a "
          "file in your batch folder"},
         nullptr,
         nullptr,
         kBatchName},
        {{"delbatch", "deldcb", "delshortcut"},
         DelBatchCommand,
         1,
         kAnyArgs,
         {"Syntax: DELBATCH filename",
          "Filename should not contain a folder or a file extension and should be the name of a "
          "file in your batch folder"},
         nullptr,
         nullptr,
         kBatchName},
        {{"addsearch"},
         AddSearchCommand,
         2,
         kAnyArgs,
         {"Syntax: ADDSEARCH filename [url]", "Use %s to represent the search string in the URL"}},
        // startup_commands.cpp
        {{"savepos"}, SavePosCommand, 0, 0, {"Syntax: SAVEPOS"}},
        // placement_commands.cpp
        {{"dock"}, DockCommand, 1, 3, {"Syntax: DOCK TOP|BOTTOM|OFF"}},
        {{"hide"}, HideCommand, 0, 0, {"Syntax: HIDE"}},
        {{"show"}, ShowCommand, 0, 0, {"Syntax: SHOW"}},
        {{"winpos"}, WinPosCommand, 0, 3, {"Syntax: WINPOS x y [width]", "Enter values in pixels"}},
        // input_commands.cpp
        {{"mouse"},
         MouseCommand,
         0,
         3,
         {"Syntax: MOUSE [x y [button]]", "Example: MOUSE 180 600 LEFT"}},
        // batch_commands.cpp
        {{"shortcuts", "batch", "dcb"}, ShortcutsCommand, 0, 0, {"Syntax: DCB"}},
        // startup_commands.cpp
        {{"autostart"}, AutostartCommand, 0, 1, {"Syntax: AUTOSTART [ON|OFF]"}},
        // web_commands.cpp
        {{"orid"},
         OridCommand,
         0,
         kAnyArgs,
         {"Syntax: ORID username [password]"},
         nullptr,
         nullptr,
         kNameAndPassword},
        {{"orvanesite"}, OrvaneSiteCommand, 0, 1, {"Syntax: ORVANESITE [subdomain]"}},
        {{"donate"}, DonateCommand},
        {{"update"}, UpdateCommand, 0, 0, {"Syntax: UPDATE"}},
        {{"ver", "version"}, VerCommand, 0, 0, {"Syntax: VER"}},
        {{"help"}, HelpCommand},
        // run_commands.cpp: whatever no row took is opened as a target.
        {{}, nullptr, 0, kAnyArgs, {}, RewriteToRun},
    };
}

}  // namespace

const CommandTable& BuiltInCommands() {
    static const CommandTable table = BuildTable();
    return table;
}

}  // namespace vantrel
