#include "interpreter/launch.h"

#include <climits>
#include <vector>

#include "interpreter/interpreter.h"
#include "interpreter/text.h"

namespace vantrel {

namespace {

constexpr char kInvalidTarget[] = "Invalid command, filename or URL";

bool HasDcbExtension(std::string_view name) { return EndsWithNoCase(name, ".dcb"); }

// Finds a batch file named without a folder in the folders of PATH.
std::string SearchPath(Interpreter& in, const std::string& name) {
    std::string path = in.EnvGet("PATH");
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(';', start);
        if (end == std::string::npos) end = path.size();
        std::string folder = path.substr(start, end - start);
        if (!folder.empty()) {
            if (folder.back() != '\\') folder += '\\';
            if (in.Os().files.Exists(folder + name, FileMask::kFiles)) return folder + name;
        }
        start = end + 1;
    }
    return std::string();
}

int StyleOf(const std::string& word) {
    if (word == "runmax") return kShowMaximized;
    if (word == "runmin") return kShowMinimized;
    if (word == "runhide") return kShowHidden;
    return kShowNormal;
}

// The five places a name is looked for, in order.
std::vector<std::string> Candidates(Interpreter& in, const std::string& name) {
    return {in.Os().files.CurrentDirectory() + "\\" + name,
            in.EvaluateText("ShortcutFolder") + "\\" + name,
            in.EvaluateText("DesktopUser") + "\\" + name,
            in.EvaluateText("DesktopPublic") + "\\" + name, name};
}

bool OpenAny(Interpreter& in, const std::vector<std::string>& targets, const std::string& params,
             int style) {
    for (const std::string& target : targets) {
        if (OpenTarget(in, target, params, style) > 32) return true;
    }
    return false;
}

}  // namespace

int OpenTarget(Interpreter& in, const std::string& target, const std::string& params, int style) {
    if (HasDcbExtension(target)) return RunBatch(in, target, params);
    if (target.find('.') == std::string::npos) {
        int result = RunBatch(in, target, params);
        if (result > 32) return result;
    }
    return in.Os().shell.Open(target, params, style);
}

std::string SubstituteBatchParams(std::string line, const std::string& marker,
                                  const std::string& params) {
    if (marker.empty()) return line;
    line = ReplaceAll(line, marker + marker, params);
    size_t open = FindNoCase(line, marker);
    while (open != std::string::npos) {
        size_t textStart = open + marker.size();
        size_t close = FindNoCase(line, marker, textStart);
        if (close == std::string::npos) break;
        std::string text = line.substr(textStart, close - textStart);
        long long n = RoundHalfEven(LeadingNumber(text));
        if (n < 1) {
            open = FindNoCase(line, marker, close + marker.size());
            continue;
        }
        std::string param = ParseArgs(params, n > INT_MAX ? INT_MAX : static_cast<int>(n));
        std::string token = marker + text + marker;
        std::string head = ReplaceAll(std::string_view(line).substr(0, open), token, param, true);
        std::string tail = ReplaceAll(std::string_view(line).substr(open + token.size()), token,
                                      param, true);
        size_t resume = head.size() + param.size();
        line = head + param + tail;
        open = FindNoCase(line, marker, resume);
    }
    return line;
}

int RunBatch(Interpreter& in, const std::string& fileIn, const std::string& params) {
    FileSystem& files = in.Os().files;
    std::string file = HasDcbExtension(fileIn) ? fileIn : fileIn + ".dcb";
    if (!files.Exists(file, FileMask::kFiles)) {
        if (file.find('\\') != std::string::npos) return 0;
        file = SearchPath(in, file);
        if (file.empty()) return 0;
    }
    std::string contents, err;
    if (!files.ReadFile(file, &contents, &err)) return 0;

    if (in.batchDepth >= Interpreter::kMaxBatchDepth) {
        in.PrintOut("Batch files nested more than " + std::to_string(Interpreter::kMaxBatchDepth) +
                    " deep; stopped");
        return kOpened;
    }
    ++in.batchDepth;
    for (const std::string& raw : SplitLines(contents)) {
        if (in.exitRequested) break;
        std::string line = SubstituteBatchParams(raw, in.EvaluateText("VarString"), params);
        in.Os().bar.SetCommandText(line);
        in.RunCommand(line);
    }
    --in.batchDepth;
    return kOpened;
}

void RunFamily(Interpreter& in, const Command& c) {
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
        opened = quoted ? OpenTarget(in, a, paramText, style) > 32
                        : OpenTarget(in, args, "", style) > 32 ||
                              OpenTarget(in, a, paramText, style) > 32;
    } else if (!quoted) {
        opened = OpenAny(in, Candidates(in, args), "", style) ||
                 OpenAny(in, Candidates(in, a), paramText, style);
    } else {
        std::string quotedParams = a.size() + 3 < args.size() ? args.substr(a.size() + 3) : "";
        opened = OpenAny(in, Candidates(in, a), quotedParams, style);
    }
    if (!opened) in.PrintOut(kInvalidTarget);
}

}  // namespace vantrel
