#include "interpreter/launch.h"

#include <climits>

#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "interpreter/settings.h"
#include "platform/device_names.h"
#include "platform/paths.h"
#include "platform/text_decoding.h"
#include "script/convert.h"
#include "text/compare.h"

namespace vantrel {

namespace {

constexpr char kNotFound[] = "File not found";
constexpr char kNotText[] = "not a batch file of text (UTF-8, UTF-16 or the legacy code page)";

bool HasDcbExtension(std::string_view name) {
    return text::EndsWithNoCase(name, ".dcb");
}

// Finds a batch file named without a folder in the folders of PATH.
std::string SearchPath(Interpreter& in, const std::string& name) {
    std::string path = in.EnvGet("PATH");
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(';', start);
        if (end == std::string::npos) end = path.size();
        std::string folder = path.substr(start, end - start);
        if (!folder.empty()) {
            std::string file = JoinPath(folder, name);
            if (in.Os().files.Exists(file, FileMask::kFiles)) return file;
        }
        start = end + 1;
    }
    return std::string();
}

}  // namespace

bool OpenTarget(Interpreter& in, const std::string& target, const std::string& params, int style,
                std::string* err) {
    if (HasDcbExtension(target)) return RunBatch(in, target, params, err);
    if (target.find('.') == std::string::npos && RunBatch(in, target, params, err)) return true;
    Shell& shell = in.Os().shell;
    if (!shell.Fits(target, params) || (!IsAddress(target) && IsDeviceName(target))) {
        *err = kInvalidTarget;
        return false;
    }
    return shell.Open(target, params, style, err);
}

std::string SubstituteBatchParams(std::string line, const std::string& marker,
                                  const std::string& params) {
    if (marker.empty()) return line;
    line = text::ReplaceAll(line, marker + marker, params);
    size_t open = text::FindNoCase(line, marker);
    while (open != std::string::npos) {
        size_t textStart = open + marker.size();
        size_t close = text::FindNoCase(line, marker, textStart);
        if (close == std::string::npos) break;
        std::string text = line.substr(textStart, close - textStart);
        const double n = script::RoundHalfEven(LeadingNumber(text));
        if (n < 1) {
            open = text::FindNoCase(line, marker, close + marker.size());
            continue;
        }
        std::string param = ParseArgs(params, n > INT_MAX ? INT_MAX : static_cast<int>(n));
        std::string token = marker + text + marker;
        std::string head =
            text::ReplaceAll(std::string_view(line).substr(0, open), token, param, true);
        std::string tail = text::ReplaceAll(std::string_view(line).substr(open + token.size()),
                                            token, param, true);
        size_t resume = head.size() + param.size();
        line = head + param + tail;
        open = text::FindNoCase(line, marker, resume);
    }
    return line;
}

bool RunBatch(Interpreter& in, const std::string& fileIn, const std::string& params,
              std::string* err) {
    FileSystem& files = in.Os().files;
    std::string file = HasDcbExtension(fileIn) ? fileIn : fileIn + ".dcb";
    if (IsDeviceName(file)) {
        *err = kNotFound;
        return false;
    }
    if (!files.Exists(file, FileMask::kFiles)) {
        // Only a name without a folder is looked for along PATH.
        file = file.find('\\') == std::string::npos ? SearchPath(in, file) : "";
        if (file.empty()) {
            *err = kNotFound;
            return false;
        }
    }
    std::string bytes;
    if (!files.ReadFile(file, &bytes, err)) return false;
    // Older versions, and ADDBATCH of this one, may each have added lines.
    // No code page of bytes puts a zero byte in a command, so zeros without
    // a byte-order mark are UTF-16 saved without one; zeros that make no
    // UTF-16 either leave no line to run.
    std::string contents;
    if (bytes.find('\0') == std::string::npos) {
        contents = DecodeStoredText(in.Os().codePages, bytes, LineMix::kPerLine);
    } else {
        TextDecoder decoder(in.Os().codePages, Fallback::kLegacy, true);
        contents = decoder.Next(bytes);
        contents += decoder.Finish();
    }
    // The file is the one asked for: it answers why it runs nothing rather
    // than letting another place be tried.
    if (contents.find('\0') != std::string::npos) {
        in.PrintOut(file + ": " + kNotText);
        return true;
    }

    if (in.batchDepth >= Interpreter::kMaxBatchDepth) {
        in.PrintOut("Batch files nested more than " + std::to_string(Interpreter::kMaxBatchDepth) +
                    " deep; stopped");
        return true;
    }
    ++in.batchDepth;
    Interpreter::Activity activity(in);
    // A stop (Esc) ends the file before its next line, and every file that
    // runs it.
    for (const std::string& raw : SplitLines(contents)) {
        if (in.exitRequested || in.Poll()) break;
        in.RunCommand(SubstituteBatchParams(raw, in.SettingText(settings::kVarString), params));
    }
    --in.batchDepth;
    return true;
}

}  // namespace vantrel
