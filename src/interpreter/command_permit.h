// The commands a linked client may run (LinkCommands), and the check each of
// its lines passes before anything of it runs. A line is read as the
// interpreter reads it: split at the separator, each command resolved
// through the table's rewrites (an unknown word is RUN's), each marker
// (which runs script or reads the environment) and each expression (which
// the script engine evaluates) looked at. What may run script, and the
// change of a setting of the links (LinkCommands itself), is refused unless
// VB's row is listed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "interpreter/command_line.h"
#include "interpreter/dispatch.h"

namespace script {
class Engine;
}

namespace vantrel {

class CommandPermit {
  public:
    // The whole console: what an empty setting gives.
    CommandPermit() = default;

    // Reads the setting's text against the table: command words separated by
    // blanks and commas, in any case; a word allows its whole row ("print"
    // allows "?" and "calc"; "cdd" the drive form "d:" too). Nothing but
    // blanks is the whole console. False, with the reason in *error, when a
    // word is no command: such a setting must never serve unlimited.
    static bool Parse(std::string_view text, const CommandTable& table, CommandPermit* permit,
                      std::string* error);

    bool Unlimited() const { return rows_.empty(); }
    bool Allows(const CommandRow& row) const;
    // Whether the client may run script: VB's row is listed, or the console is
    // whole.
    bool AllowsScript() const { return Unlimited() || script_; }

  private:
    std::vector<const CommandRow*> rows_;
    bool script_ = false;
};

// Why the permit refuses one command of a line (as split off, before its
// markers are expanded): one line beginning "Refused: ", or "" when it may
// run. Its row is found as the interpreter finds it, following the table's
// rewrites up to kMaxRewrites. The engine, when given, tells which names a
// script has made its own, so that a library name no longer means the
// library's pure function.
std::string RefuseCommand(const CommandPermit& permit, const CommandTable& table,
                          const LineMarkers& markers, std::string_view command,
                          const script::Engine* engine);

// The same for a whole line, its "@" or "&" prefix and all, split at the
// separator as the interpreter splits it: the refusal of its first refused
// command, or "" when every command may run.
std::string RefuseLine(const CommandPermit& permit, const CommandTable& table,
                       const LineMarkers& markers, std::string_view line,
                       const script::Engine* engine);

}  // namespace vantrel
