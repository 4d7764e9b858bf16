#include "commands/run_commands.h"

#include <string>
#include <vector>

#include "interpreter/interpreter.h"
#include "interpreter/launch.h"
#include "interpreter/settings.h"
#include "platform/paths.h"

namespace vantrel {

namespace {

constexpr char kDidYouMean[] = "Did you mean: ";
// A line of names, not a list to read through.
constexpr size_t kMostSuggested = 3;

int StyleOf(const std::string& word) {
    if (word == "runmax") return kShowMaximized;
    if (word == "runmin") return kShowMinimized;
    if (word == "runhide") return kShowHidden;
    return kShowNormal;
}

// The five places a name is looked for, in order.
std::vector<std::string> Candidates(Interpreter& in, const std::string& name) {
    return {JoinPath(in.Os().files.CurrentDirectory(), name),
            JoinPath(in.SettingText(settings::kShortcutFolder), name),
            JoinPath(in.SettingText(settings::kDesktopUser), name),
            JoinPath(in.SettingText(settings::kDesktopPublic), name), name};
}

bool Open(Interpreter& in, const std::string& target, const std::string& params, int style) {
    std::string err;
    return OpenTarget(in, target, params, style, &err);
}

bool OpenAny(Interpreter& in, const std::vector<std::string>& targets, const std::string& params,
             int style) {
    for (const std::string& target : targets) {
        if (Open(in, target, params, style)) return true;
    }
    return false;
}

// A name that opened nothing may be a program's misspelt or shortened: the
// line says which ones, and runs none of them.
void SuggestNames(Interpreter& in, const std::string& name) {
    if (!in.Suggester() || name.empty() || name.find('\\') != std::string::npos ||
        name.find(":/") != std::string::npos) {
        return;
    }
    const std::vector<std::string> names = in.Suggester()->SimilarNames(name, kMostSuggested);
    if (names.empty()) return;
    std::string line = kDidYouMean;
    for (size_t i = 0; i < names.size(); ++i) line += (i > 0 ? ", " : "") + names[i];
    in.PrintOut(line + "?");
}

}  // namespace

void RunFamilyCommand(Interpreter& in, const Command& c) {
    const int style = StyleOf(c.word);
    const std::string a = c.Arg(1);
    const std::string& args = c.args;
    std::string paramText = a.size() + 1 < args.size() ? args.substr(a.size() + 1) : "";
    if (paramText.compare(0, 2, "\" ") == 0) {
        paramText.erase(0, 2);
    } else if (paramText == "\"") {
        paramText.clear();
    }

    bool opened = false;
    const bool quoted = a.find(' ') != std::string::npos;
    if (a.find('\\') != std::string::npos || a.find(":/") != std::string::npos) {
        opened = quoted ? Open(in, a, paramText, style)
                        : Open(in, args, "", style) || Open(in, a, paramText, style);
    } else if (!quoted) {
        opened = OpenAny(in, Candidates(in, args), "", style) ||
                 OpenAny(in, Candidates(in, a), paramText, style);
    } else {
        std::string quotedParams = a.size() + 3 < args.size() ? args.substr(a.size() + 3) : "";
        opened = OpenAny(in, Candidates(in, a), quotedParams, style);
    }
    if (!opened) {
        in.PrintOut(kInvalidTarget);
        SuggestNames(in, a);
    }
}

}  // namespace vantrel
