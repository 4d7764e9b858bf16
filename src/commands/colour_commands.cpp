#include "commands/colour_commands.h"

#include <string>

#include "interpreter/interpreter.h"
#include "interpreter/settings.h"
#include "text/case_fold.h"

namespace vantrel {

namespace {

constexpr char kNoBusyOutput[] = "Busy colours cannot be set for the output pane.";

enum class Target { kPrompt, kCommand, kOutput, kNone };
enum class Part { kText, kBg, kBusy, kNone };

Target TargetOf(std::string_view word) {
    if (word == "prompt") return Target::kPrompt;
    if (word == "command" || word == "cmd") return Target::kCommand;
    if (word == "output" || word == "out") return Target::kOutput;
    return Target::kNone;
}

Part PartOf(std::string_view word) {
    if (word == "text" || word == "txt" || word == "foreground" || word == "fore")
        return Part::kText;
    if (word == "bg" || word == "background" || word == "back") return Part::kBg;
    if (word == "busy" || word == "loading" || word == "load") return Part::kBusy;
    return Part::kNone;
}

const char* VariableFor(Target target, Part part, bool busy) {
    static const char* const kNames[2][2][2] = {
        {{settings::kColourPromptText, settings::kColourPromptBg},
         {settings::kColourPromptBusyText, settings::kColourPromptBusyBg}},
        {{settings::kColourCommandText, settings::kColourCommandBg},
         {settings::kColourCommandBusyText, settings::kColourCommandBusyBg}},
    };
    if (target == Target::kOutput)
        return part == Part::kText ? settings::kColourOutputText : settings::kColourOutputBg;
    return kNames[target == Target::kCommand][busy][part == Part::kBg];
}

}  // namespace

ArgKind ColourArgumentAt(int index, std::string_view previous, std::vector<std::string>* words) {
    const bool afterBusy = PartOf(previous) == Part::kBusy;
    if (index == 1) {
        words->insert(words->end(), {"prompt", "command", "output"});
    } else if (index == 2) {
        words->insert(words->end(), {"text", "bg", "busy"});
    } else if (index == 3 && afterBusy) {
        words->insert(words->end(), {"text", "bg"});
    } else if (index == 3 || index == 4) {
        return ArgKind::kColour;
    } else {
        return ArgKind::kText;
    }
    return ArgKind::kWords;
}

void ColourCommand(Interpreter& in, const Command& c) {
    std::string a[5];
    for (int i = 1; i <= 4; ++i) a[i] = c.Arg(i);
    const std::string a1 = text::LowerCase(a[1]), a2 = text::LowerCase(a[2]),
                      a3 = text::LowerCase(a[3]);
    // "loading" and "load" name the busy colours as "busy" does, so they
    // take the same fourth argument.
    const bool valid = a[4].empty() || PartOf(a2) == Part::kBusy;
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
