#include "interpreter/command_permit.h"

#include <algorithm>

#include "interpreter/line_text.h"
#include "interpreter/variables.h"
#include "script/builtins.h"
#include "script/engine.h"
#include "script/lexer.h"
#include "text/case_fold.h"
#include "text/compare.h"
#include "text/utf8.h"

namespace vantrel {

namespace {

constexpr char kNotListed[] = " is not among the commands this link may run";
constexpr char kNoScript[] = ", and vb is not among the commands this link may run";
// The drive form ("d:") has no word of its own: CDD's names it.
constexpr char kDriveWord[] = "cdd";
constexpr char kStrayByte[] = "Refused: a byte that is not UTF-8 may stand for a marker";
// Longer text from a line or the setting is cut in a refusal.
constexpr size_t kShownLength = 40;

// Text quoted into a refusal, which stays one line: its start only, cut at
// a character's edge, control characters shown as "?".
std::string Shown(std::string_view text) {
    size_t cut = text.size();
    if (cut > kShownLength) {
        cut = kShownLength;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    }
    std::string shown(text.substr(0, cut));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return cut < text.size() ? shown + "..." : shown;
}

std::string_view RowWord(const CommandRow& row) {
    return row.words.empty() ? std::string_view(kDriveWord) : row.words[0];
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

// What a permit without script refuses of a marker in the command: "" for
// none. A byte that is not UTF-8 may stand for a marker of the legacy code
// page, which the interpreter matches as that marker.
std::string RefuseMarkers(std::string_view command, const LineMarkers& markers) {
    if (FindMarker(command, markers.variable) != std::string_view::npos) {
        return "Refused: a marker (" + Shown(markers.variable) + ") runs script" + kNoScript;
    }
    if (FindMarker(command, markers.environment) != std::string_view::npos) {
        return "Refused: a marker (" + Shown(markers.environment) + ") reads the environment" +
               kNoScript;
    }
    if (markers.variable.size() < 2 && markers.environment.size() < 2) return {};
    for (size_t at = 0; at < command.size();) {
        const text::utf8::Char c = text::utf8::Decode(command, at);
        if (!c.valid) return std::string(kStrayByte) + kNoScript;
        at += c.bytes;
    }
    return {};
}

// The keywords an expression may hold: operators and literals.
constexpr script::Kw kOperatorWords[] = {script::Kw::kAnd,    script::Kw::kOr,    script::Kw::kNot,
                                         script::Kw::kXor,    script::Kw::kEqv,   script::Kw::kImp,
                                         script::Kw::kMod,    script::Kw::kIs,    script::Kw::kTrue,
                                         script::Kw::kFalse,  script::Kw::kEmpty, script::Kw::kNull,
                                         script::Kw::kNothing};

// What of an expression may run script: "" when it holds only literals,
// operators, parentheses, commas and the names of the library's pure
// functions and constants that no script has made its own.
std::string ImpurePart(std::string_view expression, const script::Engine* engine) {
    using script::Kw;
    using script::Tok;
    const script::LexResult lexed = script::Lex(expression);
    if (lexed.errorNumber != 0) return "text that is no expression";
    for (const script::Token& token : lexed.tokens) {
        switch (token.kind) {
            case Tok::kEnd:
                return {};
            case Tok::kIdent: {
                if (std::find(std::begin(kOperatorWords), std::end(kOperatorWords),
                              token.keyword) != std::end(kOperatorWords)) {
                    continue;
                }
                if (token.keyword != Kw::kNone) return Shown(token.text);
                const std::string name = text::LowerCase(token.text);
                if (script::IsPureBuiltin(name) && !(engine && engine->Declares(name))) continue;
                return Shown(token.text);
            }
            case Tok::kDot:
            case Tok::kWithDot:
                return "member access (.)";
            case Tok::kNewline:
            case Tok::kColon:
                return "a second statement";
            default:
                continue;
        }
    }
    return {};
}

// What of the command's arguments may run script, for its row: "" when
// nothing may. Expressions are evaluated; LET's name before "=" is the
// variable it assigns; SET and URLHEX read a name as an expression.
std::string RefuseArguments(const CommandRow& row, const CommandTable& table,
                            const Command& command, const script::Engine* engine) {
    std::string_view args = command.args;
    const size_t eq = args.find('=');
    if (row.arguments.first == ArgKind::kVariable ||
        (&row == FindRow(table, "let") && eq != std::string_view::npos)) {
        const std::string_view name = TrimSpaces(args.substr(0, eq));
        if (!name.empty() && !IsVariableName(name)) {
            return "Refused: " + Shown(name) + " is no variable name" + kNoScript;
        }
        // The settings of the links (LinkCommands itself, the logins, the
        // transcript's days) are not for a client they limit to change.
        if (text::StartsWithNoCase(name, "link") || text::StartsWithNoCase(name, "login")) {
            return "Refused: " + std::string(name) + " is a setting of the links" + kNoScript;
        }
        if (row.arguments.first == ArgKind::kVariable) return {};
        args = args.substr(eq + 1);
    }
    if (row.arguments.first != ArgKind::kExpression && row.arguments.later != ArgKind::kExpression)
        return {};
    const std::string part = ImpurePart(args, engine);
    if (part.empty()) return {};
    return "Refused: " + part + " in " + std::string(RowWord(row)) +
           "'s expression may run script" + kNoScript;
}

}  // namespace

bool CommandPermit::Parse(std::string_view text, const CommandTable& table, CommandPermit* permit,
                          std::string* error) {
    CommandPermit read;
    for (size_t at = 0; at < text.size();) {
        if (IsBlank(text[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        const std::string word = text::LowerCase(text.substr(at, end - at));
        at = end;
        const CommandRow* row = FindRow(table, word);
        for (const CommandRow& r : table) {
            if (word == kDriveWord && r.words.empty() && r.handler) read.rows_.push_back(&r);
        }
        if (!row) {
            *error = "LinkCommands names \"" + Shown(word) + "\", which is no command";
            return false;
        }
        read.rows_.push_back(row);
        if (FindRow(table, "vb") == row) read.script_ = true;
    }
    *permit = std::move(read);
    return true;
}

bool CommandPermit::Allows(const CommandRow& row) const {
    return Unlimited() || std::find(rows_.begin(), rows_.end(), &row) != rows_.end();
}

namespace {

// RefuseCommand with the rewrites the line has gone through so far: as in
// the interpreter, a line's rewrites share one bound.
std::string RefuseRewritten(const CommandPermit& permit, const CommandTable& table,
                            const LineMarkers& markers, std::string line,
                            const script::Engine* engine, int* rewrites) {
    std::string typed;
    for (;;) {
        if (!permit.AllowsScript()) {
            std::string refusal = RefuseMarkers(line, markers);
            if (!refusal.empty()) return refusal;
        }
        const Command command = ParseCommand(line);
        if (command.line.empty()) return {};
        if (typed.empty()) typed = command.word;
        TableMatch match = MatchRow(table, command);
        if (match.rewritten) {
            // What no rewrite may take runs nothing.
            if ((*rewrites)++ == kMaxRewrites) return {};
            // A separator the rewrite brought splits its line again.
            const size_t at = FindSeparator(match.line, markers.separator);
            if (at != std::string::npos) {
                size_t end = at + markers.separator.size();
                text::MatchesAt(match.line, at, markers.separator, &end);
                std::string rest = RefuseRewritten(permit, table, markers, match.line.substr(end),
                                                   engine, rewrites);
                if (!rest.empty()) return rest;
                match.line.resize(at);
            }
            line = std::move(match.line);
            continue;
        }
        if (!match.row) return {};
        const CommandRow& row = *match.row;
        if (!permit.Allows(row)) {
            const std::string word(RowWord(row));
            if (FindRow(table, typed) == &row) return "Refused: " + Shown(typed) + kNotListed;
            if (&row == FindRow(table, "run")) {
                return "Refused: " + Shown(typed) + " would be opened by run, which" + kNotListed;
            }
            return "Refused: " + Shown(typed) + " runs as " + word + ", which" + kNotListed;
        }
        if (permit.AllowsScript()) return {};
        return RefuseArguments(row, table, command, engine);
    }
}

}  // namespace

std::string RefuseCommand(const CommandPermit& permit, const CommandTable& table,
                          const LineMarkers& markers, std::string_view command,
                          const script::Engine* engine) {
    if (permit.Unlimited()) return {};
    int rewrites = 0;
    return RefuseRewritten(permit, table, markers, std::string(command), engine, &rewrites);
}

std::string RefuseLine(const CommandPermit& permit, const CommandTable& table,
                       const LineMarkers& markers, std::string_view line,
                       const script::Engine* engine) {
    std::string refusal;
    if (permit.Unlimited()) return refusal;
    AnyCommand(line, markers.separator, [&](size_t start, size_t end) {
        refusal = RefuseCommand(permit, table, markers, line.substr(start, end - start), engine);
        return !refusal.empty();
    });
    return refusal;
}

}  // namespace vantrel
