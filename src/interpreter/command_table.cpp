#include "interpreter/command_table.h"

#include "commands/batch_commands.h"
#include "commands/dos_command.h"
#include "commands/file_commands.h"
#include "commands/folder_commands.h"
#include "commands/input_commands.h"
#include "commands/power_commands.h"
#include "commands/web_commands.h"
#include "commands/window_commands.h"
#include "console/colours.h"
#include "console/output_commands.h"
#include "console/placement_commands.h"
#include "interpreter/interpreter.h"
#include "interpreter/launch.h"
#include "interpreter/text.h"
#include "interpreter/variable_commands.h"
#include "remote/link_commands.h"
#include "startup/autoexec.h"
#include "startup/autostart.h"

namespace vantrel {

namespace {

// The run-together forms: "cd.." is "cd ..", "cdd\x" is "cdd \x".
bool RewriteFolderForm(const Command& c, std::string_view word, std::string* line) {
    std::string lower = LowerCase(c.line);
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

bool RewriteCdd(const Command& c, std::string* line) { return RewriteFolderForm(c, "cdd", line); }

// "!x=1" is "! x=1" and "?1+1" is "? 1+1".
bool RewriteLeadingChar(const Command& c, char lead, std::string* line) {
    if (c.word.empty() || c.word[0] != lead) return false;
    *line = std::string(1, lead) + " " + c.line.substr(1);
    return true;
}

bool RewriteBang(const Command& c, std::string* line) { return RewriteLeadingChar(c, '!', line); }
bool RewriteQuestion(const Command& c, std::string* line) {
    return RewriteLeadingChar(c, '?', line);
}

// Whatever no row took is opened as a target.
bool RewriteToRun(const Command& c, std::string* line) {
    *line = "run " + c.line;
    return true;
}

// DONATE, whatever follows it, opens the donation page.
bool RewriteDonate(const Command& c, std::string* line) {
    if (c.word != "donate") return false;
    *line = "orvanesite donate";
    return true;
}

// UPDATE alone opens the product's site; with an argument the row's handler
// prints its syntax line instead.
bool IsUpdateWithArgs(const Command& c) { return c.word == "update" && !c.args.empty(); }
bool RewriteUpdate(const Command& c, std::string* line) {
    if (c.word != "update") return false;
    *line = "orvanesite vtrl";
    return true;
}

bool IsDriveForm(const Command& c) { return c.line.size() == 2 && c.line[1] == ':'; }

std::vector<CommandRow> BuildTable() {
    return {
        {{"cls"}, Cls, {}},
        {{"run", "runmax", "runmin", "runhide"}, RunFamily, {}},
        {{"focus", "activate"},
         Focus,
         {"Syntax: FOCUS title|pid", "Title can be a full or partial window title"}},
        {{"close"}, Close, {"Syntax: CLOSE title|pid", "Title can be a full or partial window title"}},
        {{"kill", "terminate"},
         Kill,
         {"Syntax: KILL title|pid", "Title can be a full or partial window title"}},
        {{"wins", "windows"}, Wins, {}},
        {{"listen"}, ListenCommand, {"Syntax: LISTEN [port|OFF [password]]"}},
        {{"connect"}, ConnectCommand, {"Syntax: CONNECT address[:port] [password]"}},
        {{"disconnect"}, DisconnectCommand, {"Syntax: DISCONNECT"}},
        {{"ban"}, BanCommand, {"Syntax: BAN [ip]"}},
        {{"unban"}, UnbanCommand, {"Syntax: UNBAN ip"}},
        {{"exit", "quit"}, Exit, {"Syntax: EXIT"}},
        {{"shutdown"}, Shutdown, {"Syntax: SHUTDOWN"}},
        {{"restart"}, Restart, {"Syntax: RESTART"}},
        {{}, ChangeDriveCommand, {}, nullptr, IsDriveForm},
        {{"cd", "chdir"}, Cd, {"Syntax: CD [folder]"}, RewriteCd},
        {{"cdd"}, Cdd, {"Syntax: CDD [folder]"}, RewriteCdd},
        {{"md", "mkdir"}, Md, {"Syntax: MD [folder]"}},
        {{"rd", "rmdir"}, Rd, {"Syntax: RD [folder]"}},
        {{"dir"}, Dir, {}},
        {{"set"}, Set, {"Syntax: SET [name[=text]]"}},
        {{"let", "setvb"}, Let, {"Syntax: LET name=expression"}},
        {{"env", "environ"}, Env, {"Syntax: ENV [name]"}},
        {{"urlhex"}, UrlHexCommand, {"Syntax: URLHEX varname"}},
        {{"sendkeys"}, SendKeysCommand, {"Syntax: SENDKEYS keys"}},
        {{"dos"}, Dos, {"Syntax: DOS command"}},
        {{"time"}, Time, {}},
        {{"date"}, Date, {}},
        {{"now"}, Now, {}},
        {{"colour", "color"},
         ColourCommand,
         {"Syntax: COLOUR PROMPT|COMMAND|OUTPUT [BUSY] TEXT|BG colour",
          "Example 1: COLOUR OUTPUT BG RED", "Example 2: COLOUR COMMAND BUSY TEXT #0099FF"}},
        {{"path"}, Path, {"Syntax: PATH"}},
        {{"copy", "cp"}, Copy, {"Syntax: COPY source destination"}},
        {{"move", "mv"}, Move, {"Syntax: MOVE source destination"}},
        {{"rename", "rn", "ren", "name"}, Rename, {"Syntax: RENAME source destination"}},
        {{"del", "rm", "delete"}, Del, {}},
        {{"echo"}, Echo, {}},
        {{"vb", "vbscript", "basic", "!"}, Vb, {}, RewriteBang},
        {{"print", "?", "calc"}, Print, {}, RewriteQuestion},
        {{"keepoutput", "outputkeep"}, KeepOutput, {"Syntax: KEEPOUTPUT [ON|OFF]"}},
        {{"enterbutton"}, EnterButton, {"Syntax: ENTERBUTTON [ON|OFF]"}},
        {{"alwaysontop"}, AlwaysOnTopCommand, {"Syntax: ALWAYSONTOP [ON|OFF]"}},
        {{"edit"}, Edit, {"Syntax: EDIT filename"}},
        {{"type"}, Type, {"Syntax: TYPE filename"}},
        {{"addbatch", "adddcb", "addshortcut"},
         AddBatch,
         {"Syntax: ADDBATCH filename [command]",
          "Filename should not contain a folder or a file extension"}},
        {{"editbatch", "editdcb", "editshortcut"},
         EditBatch,
         {"Syntax: EDITBATCH filename",
          "Filename should not contain a folder or a file extension and should be the name of a "
          "file in your batch folder"}},
        {{"delbatch", "deldcb", "delshortcut"},
         DelBatch,
         {"Syntax: DELBATCH filename",
          "Filename should not contain a folder or a file extension and should be the name of a "
          "file in your batch folder"}},
        {{"addsearch"},
         AddSearch,
         {"Syntax: ADDSEARCH filename [url]", "Use %s to represent the search string in the URL"}},
        {{"savepos"}, SavePosCommand, {"Syntax: SAVEPOS"}},
        {{"dock"}, DockCommand, {"Syntax: DOCK TOP|BOTTOM|OFF"}},
        {{"hide"}, Hide, {"Syntax: HIDE"}},
        {{"show"}, Show, {"Syntax: SHOW"}},
        {{"winpos"}, WinPos, {"Syntax: WINPOS x y [width]", "Enter values in pixels"}},
        {{"mouse"}, Mouse, {"Syntax: MOUSE [x y [button]]", "Example: MOUSE 180 600 LEFT"}},
        {{"shortcuts", "batch", "dcb"}, Shortcuts, {"Syntax: DCB"}},
        {{"autostart"}, Autostart, {"Syntax: AUTOSTART [ON|OFF]"}},
        {{"orid"}, Orid, {"Syntax: ORID username [password]"}},
        {{"orvanesite"}, OrvaneSite, {"Syntax: ORVANESITE [subdomain]"}},
        {{}, nullptr, {}, RewriteDonate},
        {{}, UpdateSyntax, {"Syntax: UPDATE"}, RewriteUpdate, IsUpdateWithArgs},
        {{"ver", "version"}, Ver, {"Syntax: VER"}},
        {{"help"}, Help, {}},
        {{}, nullptr, {}, RewriteToRun},
    };
}

bool RowMatches(const CommandRow& row, const Command& command) {
    if (row.matches) return row.matches(command);
    for (std::string_view word : row.words) {
        if (word == command.word) return true;
    }
    return false;
}

}  // namespace

const std::vector<CommandRow>& CommandTable() {
    static const std::vector<CommandRow> table = BuildTable();
    return table;
}

bool Dispatch(Interpreter& interpreter, Command& command, std::string* rewritten) {
    for (const CommandRow& row : CommandTable()) {
        if (row.handler && RowMatches(row, command)) {
            command.row = &row;
            row.handler(interpreter, command);
            return false;
        }
        if (row.rewrite && row.rewrite(command, rewritten)) return true;
    }
    return false;
}

void PrintSyntax(Interpreter& interpreter, const Command& command) {
    if (!command.row) return;
    for (std::string_view line : command.row->syntax) interpreter.PrintOut(line);
}

}  // namespace vantrel
