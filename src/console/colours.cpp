#include "console/colours.h"

#include <string>

#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"
#include "interpreter/text.h"

namespace vantrel {

namespace {

constexpr char kColourFile[] = "Colours.txt";
constexpr char kNoBusyOutput[] = "Busy colours cannot be set for the output pane.";

// Looks a name up in Colours.txt: the first line that begins with the name
// and a space gives the rest of the line.
bool LookUpName(std::string_view name, const FileSystem& files, std::string* colour) {
    std::string contents, err;
    if (!files.ReadFile(files.ProgramFolder() + "\\" + kColourFile, &contents, &err)) return false;
    std::string prefix = std::string(name) + " ";
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string::npos) end = contents.size();
        std::string_view line = std::string_view(contents).substr(start, end - start);
        if (StartsWithNoCase(line, prefix)) {
            *colour = std::string(line.substr(prefix.size()));
            return true;
        }
        start = end + (contents.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return false;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerChar(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Two characters read as a hexadecimal number prefix: "0F" is 15, "F" and
// then anything else is 15, nothing readable is 0.
int HexPair(std::string_view text, size_t at) {
    int value = 0;
    for (size_t i = at; i < at + 2 && i < text.size(); ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

enum class Target { kPrompt, kCommand, kOutput, kNone };
enum class Part { kText, kBg, kBusy, kNone };

Target TargetOf(const std::string& word) {
    if (word == "prompt") return Target::kPrompt;
    if (word == "command" || word == "cmd") return Target::kCommand;
    if (word == "output" || word == "out") return Target::kOutput;
    return Target::kNone;
}

Part PartOf(const std::string& word) {
    if (word == "text" || word == "txt" || word == "foreground" || word == "fore")
        return Part::kText;
    if (word == "bg" || word == "background" || word == "back") return Part::kBg;
    if (word == "busy" || word == "loading" || word == "load") return Part::kBusy;
    return Part::kNone;
}

const char* VariableFor(Target target, Part part, bool busy) {
    static const char* const kNames[2][2][2] = {
        {{"ColourPromptText", "ColourPromptBg"}, {"ColourPromptBusyText", "ColourPromptBusyBg"}},
        {{"ColourCommandText", "ColourCommandBg"},
         {"ColourCommandBusyText", "ColourCommandBusyBg"}},
    };
    if (target == Target::kOutput)
        return part == Part::kText ? "ColourOutputText" : "ColourOutputBg";
    return kNames[target == Target::kCommand][busy][part == Part::kBg];
}

}  // namespace

Colour ParseColour(std::string_view text, const FileSystem& files) {
    std::string c(text);
    if (c.empty() || c[0] != '#') {
        std::string named;
        if (LookUpName(c, files, &named)) c = named;
        if (c.empty() || c[0] != '#') c = "#" + c;
    }
    return static_cast<Colour>(HexPair(c, 1) + 256 * HexPair(c, 3) + 65536 * HexPair(c, 5));
}

void ColourCommand(Interpreter& in, const Command& c) {
    std::string a[6];
    for (int i = 1; i <= 5; ++i) a[i] = c.Arg(i);
    const std::string a1 = LowerCase(a[1]), a2 = LowerCase(a[2]), a3 = LowerCase(a[3]);
    // "loading" and "load" name the busy colours as "busy" does, so they
    // take the same fourth argument.
    const bool valid = a[4].empty() || (PartOf(a2) == Part::kBusy && a[5].empty());
    const Target target = TargetOf(a1);
    if (!valid || target == Target::kNone) {
        PrintSyntax(in, c);
        return;
    }
    Part part = PartOf(a2);
    if (part == Part::kText || part == Part::kBg) {
        in.SetVar(VariableFor(target, part, false), a[3]);
    } else if (part == Part::kBusy && target == Target::kOutput) {
        in.PrintOut(kNoBusyOutput);
    } else if (part == Part::kBusy && (PartOf(a3) == Part::kText || PartOf(a3) == Part::kBg)) {
        in.SetVar(VariableFor(target, PartOf(a3), true), a[4]);
    } else {
        PrintSyntax(in, c);
    }
}

}  // namespace vantrel
