#include "line_editor/completion_sources.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "interpreter/colours.h"
#include "interpreter/interpreter.h"
#include "interpreter/line_text.h"
#include "interpreter/settings.h"
#include "platform/paths.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

namespace {

using enum CompletionContext;

constexpr char kDefaultPathExt[] = ".COM;.EXE;.BAT;.CMD";
constexpr char kStartMenu[] = "Microsoft\\Windows\\Start Menu";

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

std::string WithoutExtension(const std::string& name, std::string_view extension) {
    return text::EndsWithNoCase(name, extension) ? name.substr(0, name.size() - extension.size())
                                                 : name;
}

}  // namespace

CompletionSources::CompletionSources(Interpreter& in, const RunCounts& runs)
    : in_(in), runs_(runs), index_(in.Os().files, in.Os().registry, in.Os().clock) {
    in_.SetNameSuggester(this);
}

CompletionSources::~CompletionSources() {
    if (in_.Suggester() == this) in_.SetNameSuggester(nullptr);
}

UseWeight CompletionSources::Weight() const {
    const std::int64_t now = MinuteOf(in_.Os().clock.Now());
    return [this, now](const Candidate& c) {
        return runs_.Weight(c.text.empty() ? c.name : c.text, now);
    };
}

std::vector<std::string> CompletionSources::SimilarNames(const std::string& word, size_t most) {
    const Clock& clock = in_.Os().clock;
    const Deadline deadline{clock, clock.Milliseconds() + kBudgetMs};
    LookupDeadline bound(in_.Os().files, deadline);
    const std::string key = RunCounts::KeyOf(word);
    std::vector<std::string> names;
    // What failed to open is no answer, under whatever extension.
    for (const Candidate& c : RankFuzzy(IndexEntries(deadline), word, Weight(), most + 1)) {
        if (names.size() < most && RunCounts::KeyOf(c.text.empty() ? c.name : c.text) != key) {
            names.push_back(c.name);
        }
    }
    return names;
}

Gathered CompletionSources::Gather(const CompletionRequest& r, bool remote, std::uint64_t budgetMs,
                                   bool orFuzzy) {
    const Clock& clock = in_.Os().clock;
    const Deadline deadline{clock, clock.Milliseconds() + budgetMs};
    LookupDeadline bound(in_.Os().files, deadline);
    std::vector<Candidate> out;
    if (remote) {
        if (r.context == kCommandWord) CommandWords(&out);
        return {RankCandidates(std::move(out), r.typed), false};
    }
    const UseWeight weight = Weight();
    const bool looked = Collect(r, deadline, &out);
    Gathered found{RankCandidates(std::move(out), r.typed, weight), !looked || bound.Stopped()};
    if (orFuzzy && r.context == kCommandWord && found.candidates.empty() && !found.cutShort &&
        r.lead.empty()) {
        found.candidates = RankFuzzy(IndexEntries(deadline), r.typed, weight, kMostFuzzy);
        found.fuzzy = true;
    }
    return found;
}

bool CompletionSources::Collect(const CompletionRequest& r, const Deadline& deadline,
                                std::vector<Candidate>* out) {
    switch (r.context) {
        case kCommandWord:
            CommandWords(out);
            return NamedTargets(r, deadline, out) & Programs(r, deadline, out);
        case kTarget:
            return NamedTargets(r, deadline, out) & Programs(r, deadline, out) &
                   Paths(r, deadline, out);
        case kPath:
            return Paths(r, deadline, out);
        case kBatch:
            return Batches(r, deadline, out);
        case kVariable:
            Variables(out);
            break;
        case kEnvironment:
            EnvironmentNames(out);
            break;
        case kWindow:
            Windows(out);
            break;
        case kColour:
            ColourNames(out);
            break;
        case kWords:
            for (const std::string& word : r.words) out->push_back({word});
            break;
        case kNone:
            break;
    }
    return true;
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
        if (IsUncPath(folder)) continue;
        places.pathFolders.emplace_back(TrimSeparators(folder));
    }
    std::string extensions = in_.EnvGet("PATHEXT");
    for (const std::string& extension :
         SplitList(extensions.empty() ? kDefaultPathExt : extensions)) {
        places.extensions.push_back(text::LowerCase(extension));
    }
    std::string common = in_.EnvGet("ProgramData");
    if (common.empty()) common = in_.EnvGet("ALLUSERSPROFILE");
    for (const std::string& root : {in_.EnvGet("APPDATA"), common}) {
        if (!root.empty()) places.startMenus.push_back(JoinPath(root, kStartMenu));
    }
    return places;
}

void CompletionSources::CommandWords(std::vector<Candidate>* out) {
    for (const CommandRow& row : in_.Commands()) {
        for (std::string_view word : row.words) out->push_back({std::string(word)});
    }
}

const std::vector<Candidate>& CompletionSources::IndexEntries(const Deadline& deadline) {
    index_.Refresh(Places());
    // Until the first build is complete, and while a change seen in the
    // Start menu is being taken in, a Tab helps the build on, within bounds.
    if (!index_.Complete() || index_.CatchingUp()) {
        index_.Work(std::min(deadline.clock.Milliseconds() + kIndexOnTabMs, deadline.end),
                    deadline.end);
    }
    return index_.Entries();
}

bool CompletionSources::Programs(const CompletionRequest& r, const Deadline& deadline,
                                 std::vector<Candidate>* out) {
    if (!r.lead.empty()) return true;
    for (const Candidate& c : IndexEntries(deadline)) {
        if (text::StartsWithNoCase(c.name, r.typed)) out->push_back(c);
    }
    return true;
}

bool CompletionSources::NamedTargets(const CompletionRequest& r, const Deadline& deadline,
                                     std::vector<Candidate>* out) {
    if (!r.lead.empty()) return true;
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
            if (folder.empty()) continue;
            if (deadline.Passed()) return false;
            const std::string pattern = JoinPath(folder, r.typed + "*" + extension);
            for (const FileEntry& entry : in_.Os().files.Find(pattern, FileMask::kFiles)) {
                if (!text::EndsWithNoCase(entry.name, extension)) continue;
                out->push_back({std::string(extension) == ".dcb"
                                    ? WithoutExtension(entry.name, extension)
                                    : entry.name});
            }
        }
    }
    return true;
}

bool CompletionSources::Paths(const CompletionRequest& r, const Deadline& deadline,
                              std::vector<Candidate>* out) {
    FileSystem& files = in_.Os().files;
    if (r.lead.empty() && r.typed.size() <= 1) {
        for (const std::string& drive : files.Drives()) out->push_back({drive, "", true});
    }
    if (deadline.Passed()) return false;
    // The system's own filter picks out the names that begin with what was
    // typed, however many others the folder holds.
    for (const FileEntry& entry : files.Find(r.lead + r.typed + "*", FileMask::kFilesAndFolders)) {
        out->push_back({entry.name, "", entry.folder});
    }
    return true;
}

bool CompletionSources::Batches(const CompletionRequest& r, const Deadline& deadline,
                                std::vector<Candidate>* out) {
    if (!r.lead.empty()) return true;
    if (deadline.Passed()) return false;
    const std::string folder = in_.SettingText(settings::kShortcutFolder);
    if (folder.empty()) return true;
    for (const FileEntry& entry :
         in_.Os().files.Find(JoinPath(folder, r.typed + "*.dcb"), FileMask::kFiles)) {
        out->push_back({WithoutExtension(entry.name, ".dcb")});
    }
    return true;
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

void CompletionSources::ColourNames(std::vector<Candidate>* out) {
    for (auto& [name, colour] : NamedColours(in_.Os().files, in_.Os().codePages)) {
        out->push_back({std::move(name)});
    }
}

}  // namespace vantrel
