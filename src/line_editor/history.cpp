#include "line_editor/history.h"

#include "interpreter/command_line.h"
#include "interpreter/interpreter.h"
#include "interpreter/line_secrets.h"
#include "interpreter/profile_folder.h"
#include "interpreter/settings.h"
#include "platform/paths.h"

namespace vantrel {

namespace {

// Appends to Runs.txt go on until it holds this many lines more than twice
// its names; then it is written anew.
constexpr size_t kRunsSlackLines = 256;

}  // namespace

void History::Load() {
    const std::string folder = ProfileFolder(in_);
    if (folder.empty()) return;
    file_.emplace(in_.Os().files, in_.Os().codePages, JoinPath(folder, kHistoryFileName));
    if (!in_.SettingOn(settings::kHistoryFile)) return;
    LoadRuns();
    lines_.Assign(file_->LoadNewest());
    const std::vector<std::string>& lines = lines_.Lines();
    const size_t first =
        lines.size() > CommandHistory::kSize ? lines.size() - CommandHistory::kSize : 0;
    for (size_t i = first; i < lines.size(); ++i) browsed_.Record(lines[i]);
    if (!file_->Loading()) lines_.PutBefore(file_->FinishLoad());
}

void History::Tick() {
    if (!file_ || !file_->Loading()) return;
    file_->LoadOlder(kSliceBytes);
    if (!file_->Loading()) lines_.PutBefore(file_->FinishLoad());
}

void History::LoadAll() {
    while (file_ && file_->Loading()) Tick();
}

// The file's folder is made when first needed: a console that never writes
// its history leaves the user's folder as it was.
bool History::FileReady() {
    if (!file_) return false;
    if (!folderMade_) {
        MakeProfileFolder(in_);
        folderMade_ = true;
    }
    return true;
}

void History::Remember(const std::string& text) {
    const LineMarkers markers = in_.Markers();
    const std::string shown = MaskSecrets(text, markers, in_.Commands());
    browsed_.Record(shown);
    if (shown != text) {
        // Memory only, and bounded as the list is.
        if (real_.size() >= kHistoryLines) real_.erase(real_.begin());
        real_[shown] = text;
    }
    // A line begun with a blank is the shells' "do not remember this": Up
    // browses it in this session, as every line, but it is never written,
    // searched or suggested.
    if (KeptPrivate(text) || Unrecorded(text, markers, in_.Commands()) || !Writable(shown)) {
        return;
    }
    const bool duplicate = lines_.Add(shown);
    // Private mode: searched and suggested in this session, counted and
    // written nowhere.
    if (in_.Host().Private()) return;
    // What the history file may not hold, no other file holds either: the
    // run counts take a line's first word, which may be the secret itself
    // ("!Token=..."), or a marker's text that becomes a command and its
    // password only when it runs.
    if (NamesSecret(shown) || WordFromMarker(text, markers)) return;
    CountRun(shown);
    // A file that cannot be written leaves the history in memory, as it is
    // with HistoryFile off; the line runs all the same.
    std::string err;
    if (in_.SettingOn(settings::kHistoryFile) && FileReady()) file_->Append(shown, duplicate, &err);
}

std::string History::RunsPath() const {
    return JoinPath(ProfileFolder(in_), kRunsFileName);
}

void History::LoadRuns() {
    runsRead_ = true;
    std::string text, err;
    bool more = false;
    if (!in_.Os().files.ReadFilePart(RunsPath(), 0, kRunsFileBytes, &text, &more, &err)) return;
    // A last line without its line break was being written when the
    // console ended, or was cut off by the bound: it is passed over.
    runsTorn_ = !text.empty() && text.back() != '\n' && !more;
    text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    runsFileLines_ = runs_.Read(text);
    // What lies past the bound is dropped when the file is next written,
    // which the next run then does.
    if (more) runsFileLines_ = 2 * RunCounts::kMostNames + kRunsSlackLines;
}

void History::CountRun(const std::string& line) {
    const size_t start = PrefixLength(line);
    const size_t end = FindSeparator(line, in_.Markers().separator, start);
    const std::string_view command =
        std::string_view(line).substr(start, end == std::string::npos ? end : end - start);
    Token first;
    Tokens tokens(command);
    if (!tokens.Next(&first)) return;
    const std::string appended = runs_.Ran(first.In(command), MinuteOf(in_.Os().clock.Now()));
    if (appended.empty() || !in_.SettingOn(settings::kHistoryFile) || !FileReady()) return;
    // A start with HistoryFile off left the file unread: what it holds
    // joins the counts before anything is written over it.
    if (!runsRead_) LoadRuns();
    // As with the history, a file that cannot be written leaves the counts
    // in memory.
    FileSystem& files = in_.Os().files;
    std::string err;
    if (++runsFileLines_ > 2 * runs_.Names() + kRunsSlackLines &&
        files.ReplaceFile(RunsPath(), runs_.FileText(), &err)) {
        runsFileLines_ = runs_.Names();
        runsTorn_ = false;
        return;
    }
    if (files.AppendFile(RunsPath(), (runsTorn_ ? "\r\n" : "") + appended, &err)) runsTorn_ = false;
}

std::optional<std::string> History::RealText(const std::string& shown) const {
    const auto found = real_.find(shown);
    if (found == real_.end()) return std::nullopt;
    return found->second;
}

}  // namespace vantrel
