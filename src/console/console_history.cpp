// The history that lasts, the suggestion after the typed text and the
// backward search: the console's side of them. The history's rules live in
// history_file.cpp and history_search.cpp; this decides when they apply
// (only to the user's own lines, typed while the state is Local) and what
// the boxes show.
#include "console/console.h"
#include "interpreter/settings.h"
#include "platform/key_codes.h"

namespace vantrel {

namespace {

// The user's own folder, with one trailing slash or backslash removed;
// "" when the environment names none.
std::string UserDataFolder(const Interpreter& in) {
    std::string folder = in.EnvGet("APPDATA");
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

// The suggestion's next word: its leading blanks and what follows up to the
// next blank.
std::string NextWord(std::string_view tail) {
    size_t end = tail.find_first_not_of(' ');
    if (end == std::string_view::npos) return std::string(tail);
    end = tail.find(' ', end);
    return std::string(tail.substr(0, end));
}

// Keys that type a character: the search takes their characters, which
// come after them. Any other key ends the search and does its own work.
bool TypesCharacter(int key) {
    return key == kVkSpace || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
           (key >= 0x60 && key <= 0x6F) ||  // the number pad
           (key >= 0xBA && key <= 0xE2);    // the punctuation keys
}

}  // namespace

// The file's folder is made when first needed: a console that never writes
// its history leaves the user's folder as it was.
bool Console::HistoryFileReady() {
    if (!historyFile_) return false;
    if (!historyFolderMade_) {
        const std::string folder = UserDataFolder(interpreter_);
        std::string err;
        platform_.files.MakeFolder(folder + "\\Orvane", &err);
        platform_.files.MakeFolder(folder + "\\Orvane\\Vantrel", &err);
        historyFolderMade_ = true;
    }
    return true;
}

void Console::LoadHistory() {
    const std::string folder = UserDataFolder(interpreter_);
    if (folder.empty()) return;
    historyFile_.emplace(platform_.files, platform_.codePages,
                         folder + "\\Orvane\\Vantrel\\" + std::string(kHistoryFileName));
    if (!interpreter_.SettingOn(settings::kHistoryFile)) return;
    allLines_.Assign(historyFile_->Load());
    const std::vector<std::string>& lines = allLines_.Lines();
    const size_t first =
        lines.size() > CommandHistory::kSize ? lines.size() - CommandHistory::kSize : 0;
    for (size_t i = first; i < lines.size(); ++i) history_.Record(lines[i]);
}

void Console::RememberLine(const std::string& text) {
    const std::string line = MaskSecrets(text, interpreter_.SettingText(settings::kCmdSepString));
    history_.Record(line);
    // A line begun with a blank is the shells' "do not remember this": Up
    // browses it in this session, as every line, but it is never written,
    // searched or suggested.
    if (KeptPrivate(text) || line.size() > kHistoryLineLimit) return;
    const bool duplicate = allLines_.Add(line);
    // A file that cannot be written leaves the history in memory, as it is
    // with HistoryFile off; the line runs all the same.
    std::string err;
    if (interpreter_.SettingOn(settings::kHistoryFile) && HistoryFileReady()) {
        historyFile_->Append(line, duplicate, &err);
    }
}

std::string Console::SuggestionFor(const std::string& text) {
    if (text.empty()) return std::string();
    std::string_view tail = allLines_.SuggestionFor(text);
    if (!tail.empty()) return std::string(tail);
    return SingleCompletionTail(text);
}

void Console::CommandTextChanged() {
    // The search's own changes show its match; any other (a paste from the
    // box's menu) ends it with the text as it now is.
    if (search_.Active()) {
        if (platform_.bar.CommandText() != search_.Shown()) {
            search_.End();
            UpdatePrompt();
        }
        return;
    }
    RefreshSuggestion();
}

void Console::RefreshSuggestion() {
    std::string tail;
    if (state_ == kLocal && !interpreter_.Running() && !search_.Active()) {
        const std::string text = platform_.bar.CommandText();
        if (platform_.bar.CommandCaret() == static_cast<int>(text.size())) {
            tail = SuggestionFor(text);
        }
    }
    ShowSuggestion(tail);
}

void Console::ShowSuggestion(const std::string& tail) {
    if (tail == suggestion_) return;
    suggestion_ = tail;
    platform_.bar.SetSuggestion(tail);
}

bool Console::AcceptSuggestion(int key, int modifiers) {
    const bool whole = (key == kVkRight || key == kVkEnd) && modifiers == 0;
    const bool word = key == kVkRight && modifiers == kModCtrl;
    if ((!whole && !word) || state_ != kLocal) return false;
    BarWindow& bar = platform_.bar;
    const std::string text = bar.CommandText();
    if (bar.CommandCaret() != static_cast<int>(text.size())) return false;
    const std::string tail = SuggestionFor(text);
    if (tail.empty()) return false;
    ShowCommandText(text + (whole ? tail : NextWord(tail)));
    return true;
}

void Console::ShowCommandText(const std::string& text) {
    BarWindow& bar = platform_.bar;
    bar.SetCommandText(text);
    bar.SelectCommandText(static_cast<int>(text.size()), 0);
    RefreshSuggestion();
}

void Console::StartSearch() {
    ShowSuggestion("");
    search_.Start(allLines_, platform_.bar.CommandText());
    ShowSearch();
}

void Console::ShowSearch() {
    BarWindow& bar = platform_.bar;
    bar.SetCommandText(search_.Shown());
    bar.SelectCommandText(static_cast<int>(search_.Shown().size()), 0);
    bar.SetPromptText(search_.Prompt());
    // The prompt box takes the search prompt's width.
    ApplySettings();
}

void Console::EndSearch(const std::string& text) {
    search_.End();
    UpdatePrompt();
    ShowCommandText(text);
}

bool Console::SearchKey(int key, int modifiers) {
    if (IsModifierKey(key)) return false;
    if (key == 'R' && modifiers == kModCtrl) {
        search_.Older(allLines_);
        ShowSearch();
        return true;
    }
    if (key == kVkBack && modifiers == 0) {
        search_.Back(allLines_);
        ShowSearch();
        return true;
    }
    if (key == kVkReturn) {
        EndSearch(search_.Shown());
        EnterClicked();
        return true;
    }
    if (key == kVkEscape) {
        EndSearch(search_.Original());
        return true;
    }
    if (key == kVkLeft || key == kVkRight || key == kVkUp || key == kVkDown || key == kVkHome ||
        key == kVkEnd) {
        // The match is taken for editing; the key's release must not then
        // browse the history away from it.
        EndSearch(search_.Shown());
        searchEndKey_ = key;
        return true;
    }
    if (TypesCharacter(key) && (modifiers & (kModCtrl | kModAlt)) == 0) return false;
    EndSearch(search_.Shown());
    return false;
}

bool Console::CharTyped(const std::string& character) {
    if (!search_.Active()) return false;
    // Control characters (Backspace's, Ctrl+letters') are no search text.
    if (character.empty() || static_cast<unsigned char>(character[0]) < 32) return true;
    search_.Type(allLines_, character);
    ShowSearch();
    return true;
}

}  // namespace vantrel
