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
#include "commands/private_command.h"
#include "commands/run_commands.h"
#include "commands/startup_commands.h"
#include "commands/variable_commands.h"
#include "commands/web_commands.h"
#include "commands/window_commands.h"
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
// keeps. A row that says nothing takes the words its syntax lines show.
const Arguments kOwnWords{};
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
const Arguments kExpressionsRunningOn{kExpression, kExpression, false, {}, nullptr, true};
const Arguments kColourArguments{kWords, kWords, false, {}, ColourArgumentAt};

CommandTable BuildTable() {
    return {
        // output_commands.cpp
        {{"cls"}, ClsCommand},
        // run_commands.cpp
        {{"run", "runmax", "runmin", "runhide"}, RunFamilyCommand, kTargets},
        // window_commands.cpp
        {{"focus", "activate"},
         FocusCommand,
         kWindows,
         1,
         kAnyArgs,
         {"Syntax: FOCUS title|pid", "Title can be a full or partial window title"}},
        {{"close"},
         CloseCommand,
         kWindows,
         1,
         kAnyArgs,
         {"Syntax: CLOSE title|pid", "Title can be a full or partial window title"}},
        {{"kill", "terminate"},
         KillCommand,
         kWindows,
         1,
         kAnyArgs,
         {"Syntax: KILL title|pid", "Title can be a full or partial window title"}},
        {{"wins", "windows"}, WinsCommand, kWindows},
        // link_commands.cpp
        {{"listen"},
         ListenCommand,
         kPortAndPassword,
         0,
         2,
         {"Syntax: LISTEN [port|OFF [password]]"}},
        {{"connect"},
         ConnectCommand,
         kNameAndPassword,
         1,
         2,
         {"Syntax: CONNECT address[:port] [password]"}},
        {{"disconnect"}, DisconnectCommand, kOwnWords, 0, 0, {"Syntax: DISCONNECT"}},
        {{"ban"}, BanCommand, kOwnWords, 0, 1, {"Syntax: BAN [ip]"}},
        {{"unban"}, UnbanCommand, kOwnWords, 1, 1, {"Syntax: UNBAN ip"}},
        {{"linkkey"},
         LinkKeyCommand,
         kOwnWords,
         0,
         2,
         {"Syntax: LINKKEY [FORGET host:port]",
          "Shows this console's link key, or forgets the key a server was known by"}},
        // power_commands.cpp
        {{"exit", "quit"}, ExitCommand, kOwnWords, 0, 0, {"Syntax: EXIT"}},
        {{"shutdown"}, ShutdownCommand, kOwnWords, 0, 0, {"Syntax: SHUTDOWN"}},
        {{"restart"}, RestartCommand, kOwnWords, 0, 0, {"Syntax: RESTART"}},
        // folder_commands.cpp
        {{}, ChangeDriveCommand, kOwnWords, 0, kAnyArgs, {}, nullptr, IsDriveForm},
        {{"cd", "chdir"}, CdCommand, kPaths, 1, kAnyArgs, {"Syntax: CD [folder]"}, RewriteCd},
        {{"cdd"}, CddCommand, kPaths, 1, kAnyArgs, {"Syntax: CDD [folder]"}, RewriteCdd},
        {{"md", "mkdir"}, MdCommand, kFolderText, 1, kAnyArgs, {"Syntax: MD [folder]"}},
        {{"rd", "rmdir"}, RdCommand, kFolderText, 1, kAnyArgs, {"Syntax: RD [folder]"}},
        // file_commands.cpp
        {{"dir"}, DirCommand, kPaths},
        // variable_commands.cpp
        {{"set"}, SetCommand, kVariables, 0, kAnyArgs, {"Syntax: SET [name[=text]]"}},
        {{"let", "setvb"}, LetCommand, kExpressions, 0, kAnyArgs, {"Syntax: LET name=expression"}},
        {{"env", "environ"}, EnvCommand, kEnvironmentName, 0, kAnyArgs, {"Syntax: ENV [name]"}},
        {{"urlhex"}, UrlHexCommand, kVariableName, 1, 1, {"Syntax: URLHEX varname"}},
        // input_commands.cpp
        {{"sendkeys"}, SendKeysCommand, kOwnWords, 1, kAnyArgs, {"Syntax: SENDKEYS keys"}},
        // dos_command.cpp
        {{"dos"}, DosCommand, kOwnWords, 1, kAnyArgs, {"Syntax: DOS command"}},
        // clock_commands.cpp
        {{"time"}, TimeCommand},
        {{"date"}, DateCommand},
        {{"now"}, NowCommand},
        // colour_commands.cpp
        {{"colour", "color"},
         ColourCommand,
         kColourArguments,
         1,
         4,
         {"Syntax: COLOUR PROMPT|COMMAND|OUTPUT [BUSY] TEXT|BG colour",
          "Example 1: COLOUR OUTPUT BG RED", "Example 2: COLOUR COMMAND BUSY TEXT #0099FF"}},
        // file_commands.cpp
        {{"path"}, PathCommand, kOwnWords, 0, 0, {"Syntax: PATH"}},
        {{"copy", "cp"}, CopyCommand, kPaths, 2, 2, {"Syntax: COPY source destination"}},
        {{"move", "mv"}, MoveCommand, kPaths, 2, 2, {"Syntax: MOVE source destination"}},
        {{"rename", "rn", "ren", "name"},
         RenameCommand,
         kPaths,
         2,
         2,
         {"Syntax: RENAME source destination"}},
        {{"del", "rm", "delete"}, DelCommand, kPaths},
        // variable_commands.cpp
        {{"echo"}, EchoCommand, kEchoWords},
        {{"vb", "vbscript", "basic", "!"}, VbCommand, kExpressionsRunningOn},
        {{"print", "?", "calc"}, PrintCommand, kExpressionsRunningOn},
        // output_commands.cpp
        {{"keepoutput", "outputkeep"},
         KeepOutputCommand,
         kOwnWords,
         0,
         1,
         {"Syntax: KEEPOUTPUT [ON|OFF]"}},
        {{"enterbutton"}, EnterButtonCommand, kOwnWords, 0, 1, {"Syntax: ENTERBUTTON [ON|OFF]"}},
        {{"private"},
         PrivateCommand,
         kOwnWords,
         0,
         1,
         {"Syntax: PRIVATE [ON|OFF]"},
         nullptr,
         nullptr,
         true},
        // placement_commands.cpp
        {{"alwaysontop"}, AlwaysOnTopCommand, kOwnWords, 0, 1, {"Syntax: ALWAYSONTOP [ON|OFF]"}},
        // file_commands.cpp
        {{"edit"}, EditCommand, kPaths, 1, kAnyArgs, {"Syntax: EDIT filename"}},
        {{"type"}, TypeCommand, kPaths, 1, kAnyArgs, {"Syntax: TYPE filename"}},
        // batch_commands.cpp
        {{"addbatch", "adddcb", "addshortcut"},
         AddBatchCommand,
         kBatchAndPath,
         1,
         kAnyArgs,
         {"Syntax: ADDBATCH filename [command]",
          "Filename should not contain a folder or a file extension"}},
        {{"editbatch", "editdcb", "editshortcut"},
         EditBatchCommand,
         kBatchName,
         1,
         kAnyArgs,
         {"Syntax: EDITBATCH filename",
          "Filename should not contain a folder or a file extension and should be the name of a "
          "file in your batch folder"}},
        {{"delbatch", "deldcb", "delshortcut"},
         DelBatchCommand,
         kBatchName,
         1,
         kAnyArgs,
         {"Syntax: DELBATCH filename",
          "Filename should not contain a folder or a file extension and should be the name of a "
          "file in your batch folder"}},
        {{"addsearch"},
         AddSearchCommand,
         kOwnWords,
         2,
         kAnyArgs,
         {"Syntax: ADDSEARCH filename [url]", "Use %s to represent the search string in the URL"}},
        // startup_commands.cpp
        {{"savepos"}, SavePosCommand, kOwnWords, 0, 0, {"Syntax: SAVEPOS"}},
        // placement_commands.cpp
        {{"dock"}, DockCommand, kOwnWords, 1, 3, {"Syntax: DOCK TOP|BOTTOM|OFF"}},
        {{"hide"}, HideCommand, kOwnWords, 0, 0, {"Syntax: HIDE"}},
        {{"show"}, ShowCommand, kOwnWords, 0, 0, {"Syntax: SHOW"}},
        {{"winpos"},
         WinPosCommand,
         kOwnWords,
         0,
         3,
         {"Syntax: WINPOS x y [width]", "Enter values in pixels"}},
        // input_commands.cpp
        {{"mouse"},
         MouseCommand,
         kOwnWords,
         0,
         3,
         {"Syntax: MOUSE [x y [button]]", "Example: MOUSE 180 600 LEFT"}},
        // batch_commands.cpp
        {{"shortcuts", "batch", "dcb"}, ShortcutsCommand, kOwnWords, 0, 0, {"Syntax: DCB"}},
        // startup_commands.cpp
        {{"autostart"}, AutostartCommand, kOwnWords, 0, 1, {"Syntax: AUTOSTART [ON|OFF]"}},
        // web_commands.cpp
        {{"orid"},
         OridCommand,
         kNameAndPassword,
         0,
         kAnyArgs,
         {"Syntax: ORID username [password]"}},
        {{"orvanesite"}, OrvaneSiteCommand, kOwnWords, 0, 1, {"Syntax: ORVANESITE [subdomain]"}},
        {{"donate"}, DonateCommand},
        {{"update"}, UpdateCommand, kOwnWords, 0, 0, {"Syntax: UPDATE"}},
        {{"ver", "version"}, VerCommand, kOwnWords, 0, 0, {"Syntax: VER"}},
        {{"help"}, HelpCommand},
        // run_commands.cpp: whatever no row took is opened as a target.
        {{}, nullptr, kOwnWords, 0, kAnyArgs, {}, RewriteToRun},
    };
}

}  // namespace

const CommandTable& BuiltInCommands() {
    static const CommandTable table = BuildTable();
    return table;
}

}  // namespace vantrel
