#include "console/completion_sources.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "interpreter/interpreter.h"
#include "interpreter/settings.h"
#include "interpreter/text.h"
#include "platform/text_decoding.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

namespace {

using enum CompletionContext;

constexpr char kDefaultPathExt[] = ".COM;.EXE;.BAT;.CMD";
constexpr char kStartMenu[] = "\\Microsoft\\Windows\\Start Menu";
constexpr char kColourFile[] = "Colours.txt";

// folder + "\" + name, without doubling the separator of a drive's root.
std::string InFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
    return folder + "\\" + name;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        std::string part =
            RemoveQuotes(TrimSpaces(std::string_view(text).substr(start, end - start)));
        if (!part.empty()) parts.push_back(std::move(part));
        start = end + 1;
    }
    return parts;
}

void AddWords(std::initializer_list<const char*> words, std::vector<Candidate>* out) {
    for (const char* word : words) out->push_back({word});
}

std::string WithoutExtension(const std::string& name, std::string_view extension) {
    return text::EndsWithNoCase(name, extension) ? name.substr(0, name.size() - extension.size())
                                                 : name;
}

}  // namespace

std::vector<std::string> SyntaxWords(std::string_view syntax, int argIndex) {
    std::vector<std::string> tokens = SplitArgs(syntax);
    std::vector<std::string> words;
    if (argIndex < 1 || tokens.size() < 2 || static_cast<size_t>(argIndex) + 1 >= tokens.size()) {
        return words;
    }
    std::string place;
    for (char c : tokens[static_cast<size_t>(argIndex) + 1]) {
        if (c != '[' && c != ']') place += c;
    }
    for (size_t start = 0; start <= place.size();) {
        size_t end = place.find('|', start);
        if (end == std::string::npos) end = place.size();
        const std::string word = place.substr(start, end - start);
        const bool upper = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
            return c >= 'A' && c <= 'Z';
        });
        if (upper) words.push_back(text::LowerCase(word));
        start = end + 1;
    }
    return words;
}

CompletionSources::CompletionSources(Interpreter& in)
    : in_(in), index_(in.Os().files, in.Os().registry, in.Os().clock) {}

CompletionMarkers CompletionSources::Markers() {
    return {in_.SettingText(settings::kCmdSepString), in_.SettingText(settings::kVarString),
            in_.SettingText(settings::kVarEnvString)};
}

std::vector<Candidate> CompletionSources::Gather(const CompletionRequest& r, bool remote,
                                                 std::uint64_t budgetMs) {
    const Clock& clock = in_.Os().clock;
    const Deadline deadline{clock, clock.Milliseconds() + budgetMs};
    LookupDeadline bound(in_.Os().files, deadline);
    std::vector<Candidate> out;
    if (remote) {
        if (r.context == kCommandWord) CommandWords(&out);
        return RankCandidates(std::move(out), r.typed);
    }
    switch (r.context) {
        case kCommandWord:
            CommandWords(&out);
            NamedTargets(r, deadline, &out);
            Programs(r, deadline, &out);
            break;
        case kTarget:
            NamedTargets(r, deadline, &out);
            Programs(r, deadline, &out);
            Paths(r, deadline, &out);
            break;
        case kPath:
            Paths(r, deadline, &out);
            break;
        case kBatch:
            Batches(r, deadline, &out);
            break;
        case kVariable:
            Variables(&out);
            break;
        case kEnvironment:
            EnvironmentNames(&out);
            break;
        case kWindow:
            Windows(&out);
            break;
        case kColour:
            ColourWords(r, &out);
            break;
        case kWords:
            if (!FixedWords(r, &out)) Paths(r, deadline, &out);
            break;
        case kNone:
            break;
    }
    return RankCandidates(std::move(out), r.typed);
}

void CompletionSources::KeyTyped() {
    index_.Refresh(Places());
}

void CompletionSources::Tick() {
    if (!index_.Building()) return;
    const std::uint64_t now = in_.Os().clock.Milliseconds();
    index_.Work(now + kIndexSliceMs, now + kIndexLookupMs);
}

IndexPlaces CompletionSources::Places() {
    IndexPlaces places;
    for (std::string& folder : SplitList(in_.EnvGet("PATH"))) {
        // A share may keep its server waiting for seconds; the timer must
        // not.
        if (folder.compare(0, 2, "\\\\") == 0) continue;
        while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
        places.pathFolders.push_back(std::move(folder));
    }
    std::string extensions = in_.EnvGet("PATHEXT");
    for (const std::string& extension :
         SplitList(extensions.empty() ? kDefaultPathExt : extensions)) {
        places.extensions.push_back(text::LowerCase(extension));
    }
    std::string common = in_.EnvGet("ProgramData");
    if (common.empty()) common = in_.EnvGet("ALLUSERSPROFILE");
    for (const std::string& root : {in_.EnvGet("APPDATA"), common}) {
        if (!root.empty()) places.startMenus.push_back(root + kStartMenu);
    }
    return places;
}

void CompletionSources::CommandWords(std::vector<Candidate>* out) {
    for (const CommandRow& row : in_.Commands()) {
        for (std::string_view word : row.words) out->push_back({std::string(word)});
    }
}

void CompletionSources::Programs(const CompletionRequest& r, const Deadline& deadline,
                                 std::vector<Candidate>* out) {
    if (!r.lead.empty()) return;
    index_.Refresh(Places());
    // Until the first build is complete a Tab helps it on, within bounds.
    if (!index_.Complete()) {
        index_.Work(std::min(deadline.clock.Milliseconds() + kIndexOnTabMs, deadline.end),
                    deadline.end);
    }
    for (const Candidate& c : index_.Entries()) {
        if (text::StartsWithNoCase(c.name, r.typed)) out->push_back(c);
    }
}

void CompletionSources::NamedTargets(const CompletionRequest& r, const Deadline& deadline,
                                     std::vector<Candidate>* out) {
    if (!r.lead.empty()) return;
    // The folders a name is opened from, in RUN's order. Batch files open
    // by their bare name; shortcuts the shell opens with their extension.
    const std::string folders[] = {
        in_.Os().files.CurrentDirectory(), in_.SettingText(settings::kShortcutFolder),
        in_.SettingText(settings::kDesktopUser), in_.SettingText(settings::kDesktopPublic)};
    // One lookup per extension: in a folder of many files only the few that
    // match are read, not every entry. The system also matches a short
    // name's extension ("x.dcbak" is X~1.DCB), hence the test of each.
    for (const std::string& folder : folders) {
        for (const char* extension : {".dcb", ".lnk", ".url"}) {
            if (folder.empty() || deadline.Passed()) continue;
            const std::string pattern = InFolder(folder, r.typed + "*" + extension);
            for (const FileEntry& entry : in_.Os().files.Find(pattern, FileMask::kFiles)) {
                if (!text::EndsWithNoCase(entry.name, extension)) continue;
                out->push_back({std::string(extension) == ".dcb"
                                    ? WithoutExtension(entry.name, extension)
                                    : entry.name});
            }
        }
    }
}

void CompletionSources::Paths(const CompletionRequest& r, const Deadline& deadline,
                              std::vector<Candidate>* out) {
    FileSystem& files = in_.Os().files;
    if (r.lead.empty() && r.typed.size() <= 1) {
        for (const std::string& drive : files.Drives()) out->push_back({drive, "", true});
    }
    if (deadline.Passed()) return;
    for (const FileEntry& entry : files.Find(r.lead + r.typed + "*", FileMask::kFilesAndFolders)) {
        out->push_back({entry.name, "", entry.folder});
    }
}

void CompletionSources::Batches(const CompletionRequest& r, const Deadline& deadline,
                                std::vector<Candidate>* out) {
    if (!r.lead.empty() || deadline.Passed()) return;
    const std::string folder = in_.SettingText(settings::kShortcutFolder);
    if (folder.empty()) return;
    for (const FileEntry& entry :
         in_.Os().files.Find(InFolder(folder, r.typed + "*.dcb"), FileMask::kFiles)) {
        out->push_back({WithoutExtension(entry.name, ".dcb")});
    }
}

void CompletionSources::Variables(std::vector<Candidate>* out) {
    for (std::string& name : in_.Engine().VariableNames()) out->push_back({std::move(name)});
    for (const std::string& name : in_.Vars().VarNames()) out->push_back({name});
}

void CompletionSources::EnvironmentNames(std::vector<Candidate>* out) {
    for (const std::string& entry : in_.Os().environment.Block()) {
        // Entries such as "=C:=C:\x" are the system's own, not variables.
        const size_t equals = entry.find('=', 1);
        if (equals != std::string::npos && entry[0] != '=')
            out->push_back({entry.substr(0, equals)});
    }
}

void CompletionSources::Windows(std::vector<Candidate>* out) {
    const DesktopWindows& windows = in_.Os().windows;
    for (WindowHandle w : windows.TopLevelWindows()) {
        if (!windows.IsVisible(w)) continue;
        std::string title = windows.WindowTitle(w);
        if (!title.empty()) out->push_back({std::move(title)});
    }
    // The window commands match a part of a title, where a program's name
    // appears without its ".exe".
    for (const std::string& name : in_.Os().processes.ProcessNames()) {
        out->push_back({WithoutExtension(name, ".exe")});
    }
}

void CompletionSources::ColourWords(const CompletionRequest& r, std::vector<Candidate>* out) {
    const bool busy = r.previous == "busy" || r.previous == "loading" || r.previous == "load";
    if (r.argIndex == 1) {
        AddWords({"prompt", "command", "output"}, out);
    } else if (r.argIndex == 2) {
        AddWords({"text", "bg", "busy"}, out);
    } else if (r.argIndex == 3 && busy) {
        AddWords({"text", "bg"}, out);
    } else if (r.argIndex == 3 || r.argIndex == 4) {
        ColourNames(out);
    }
}

void CompletionSources::ColourNames(std::vector<Candidate>* out) {
    const FileSystem& files = in_.Os().files;
    std::string bytes, err;
    if (!files.ReadFile(InFolder(files.ProgramFolder(), kColourFile), &bytes, &err)) return;
    const std::string contents = DecodeStoredText(in_.Os().codePages, bytes, LineMix::kWholeFile);
    // A name is what a line holds before its first space, as ParseColour
    // looks it up; comment lines begin with "#".
    for (const std::string& line : SplitLines(contents)) {
        const size_t space = line.find(' ');
        if (space == 0 || space == std::string::npos || line[0] == '#') continue;
        out->push_back({line.substr(0, space)});
    }
}

bool CompletionSources::FixedWords(const CompletionRequest& r, std::vector<Candidate>* out) {
    const CommandRow* found = nullptr;
    for (const CommandRow& row : in_.Commands()) {
        if (std::find(row.words.begin(), row.words.end(), r.command) != row.words.end()) {
            found = &row;
            break;
        }
    }
    if (!found) return false;
    // ECHO's words are its own: anything else it prints.
    if (r.command == "echo" && r.argIndex == 1) AddWords({"on", "off"}, out);
    for (std::string_view syntax : found->syntax) {
        if (!text::StartsWithNoCase(syntax, "Syntax:")) continue;
        for (std::string& word : SyntaxWords(syntax, r.argIndex)) out->push_back({std::move(word)});
    }
    return true;
}

}  // namespace vantrel
