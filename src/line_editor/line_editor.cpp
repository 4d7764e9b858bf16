#include "line_editor/line_editor.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "interpreter/interpreter.h"
#include "interpreter/line_secrets.h"
#include "interpreter/line_text.h"
#include "platform/key_codes.h"
#include "text/case_fold.h"
#include "text/char_class.h"
#include "text/utf8.h"

namespace vantrel {

namespace {

constexpr char kPasswordNotKept[] =
    "The password of this line was not kept in the history: type it again";

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
           (key >= 0xBA && key <= 0xE2) ||  // the punctuation keys
           key == kVkProcessKey || key == kVkPacket;
}

// The bytes Ctrl+Backspace (forward: Ctrl+Delete) deletes from text with
// [start, end) selected: the selection when there is one; else, as Windows
// text boxes do, back to the start of the word before the caret with the
// blanks between them, or on to the start of the next word: the rest of the
// word at the caret and the blanks after it. A word is a run of non-blanks.
std::pair<size_t, size_t> WordDeletion(std::string_view text, size_t start, size_t end,
                                       bool forward) {
    // A position inside a character (the box's caret may stand between the
    // halves of one) is taken as the character's start: no deletion cuts one.
    const auto whole = [text](size_t at) {
        while (at > 0 && at < text.size() && text::utf8::IsContinuationByte(text[at])) --at;
        return at;
    };
    end = whole(std::min(end, text.size()));
    start = whole(std::min(start, end));
    if (start != end) return {start, end};
    if (forward) {
        while (end < text.size() && !text::IsBlank(text[end])) ++end;
        while (end < text.size() && text::IsBlank(text[end])) ++end;
    } else {
        while (start > 0 && text::IsBlank(text[start - 1])) --start;
        while (start > 0 && !text::IsBlank(text[start - 1])) --start;
    }
    return {start, end};
}

// The boxes the user may edit; the others show a hint the keys must leave.
bool Editable(ConsoleState state) {
    return state == kLocal || state == kAccountPassword || state == kRemotePassword ||
           state == kRemoteLink;
}

}  // namespace

LineEditor::LineEditor(Interpreter& in, BarWindow& bar, const ConsoleState& state)
    : in_(in),
      bar_(bar),
      state_(state),
      history_(in),
      completion_(in, history_.Runs()),
      tabCycle_(bar) {}

void LineEditor::Tick() {
    history_.Tick();
    completion_.Tick();
}

bool LineEditor::KeyDown(int key, int modifiers) {
    // Only the release that follows at once is the search's to swallow.
    if (searchEndKey_ != key) searchEndKey_.reset();
    if (search_.Active()) {
        const bool taken = SearchKey(key, modifiers);
        // A word deletion ends the search and then edits its match.
        if (taken || search_.Active() || !DeletesWord(key, modifiers)) return taken;
    }
    if (key == 'R' && modifiers == kModCtrl && state_ == kLocal) {
        StartSearch();
        return true;
    }
    // Tab never reaches the box, where it would only beep.
    if (key == kVkTab) {
        if ((modifiers & (kModCtrl | kModAlt)) == 0) CompleteWord((modifiers & kModShift) != 0);
        return true;
    }
    if (key == kVkEscape && tabCycle_.Escape()) return true;
    if (!IsModifierKey(key)) tabCycle_.End();
    if (state_ == kLocal) completion_.KeyTyped();
    if (DeletesWord(key, modifiers)) {
        DeleteWord(key == kVkDelete);
        return true;
    }
    return AcceptSuggestion(key, modifiers);
}

bool LineEditor::DeletesWord(int key, int modifiers) const {
    return (key == kVkBack || key == kVkDelete) && modifiers == kModCtrl && Editable(state_);
}

void LineEditor::DeleteWord(bool forward) {
    std::string text = bar_.CommandText();
    const auto [selStart, selEnd] = bar_.CommandSelection();
    const auto [start, end] = WordDeletion(text, static_cast<size_t>(std::max(selStart, 0)),
                                           static_cast<size_t>(std::max(selEnd, 0)), forward);
    if (start == end) return;
    text.erase(start, end - start);
    bar_.SetCommandText(text);
    bar_.SelectCommandText(static_cast<int>(start), 0);
    // As any edit of the user's: the suggestion follows, an emptied box
    // forgets the line it recalled.
    TextChanged();
}

bool LineEditor::KeyUp(int key, int modifiers) {
    if (searchEndKey_ == key) {
        searchEndKey_.reset();
        return true;
    }
    if ((key != kVkUp && key != kVkDown) || modifiers != 0 || state_ != kLocal) return false;
    std::string text;
    CommandHistory& browsed = history_.Browsed();
    if (key == kVkUp ? browsed.Up(&text) : browsed.Down(&text)) ShowHistoryEntry(text);
    return false;
}

bool LineEditor::CharTyped(const std::string& character) {
    if (!search_.Active()) return false;
    // Control characters (Backspace's, Ctrl+letters') are no search text.
    if (character.empty() || static_cast<unsigned char>(character[0]) < 32) return true;
    search_.Type(history_.Lines(), character);
    ShowSearch();
    return true;
}

void LineEditor::TextChanged() {
    // The search's own changes show its match; any other (a paste from the
    // box's menu) ends it with the text as it now is.
    if (search_.Active()) {
        if (bar_.CommandText() != search_.Shown()) {
            search_.End();
            in_.Host().UpdatePrompt();
        }
        return;
    }
    if (bar_.CommandText().empty()) recalled_.reset();
    RefreshSuggestion();
}

std::optional<std::string> LineEditor::Enter() {
    if (search_.Active()) EndSearch(search_.Shown());
    ShowSuggestion("");
    std::optional<std::string> line = Unmasked(bar_.CommandText());
    // A line refused stays in the box, still the one recalled.
    if (!line) {
        in_.PrintOut(kPasswordNotKept);
        return line;
    }
    recalled_.reset();
    // Passwords typed at a prompt are never remembered. The user's own
    // lines are also kept for the next start and the search; those sent to
    // a peer are the peer's, and only browsed here.
    if (!TrimSpaces(*line).empty() && state_ != kAccountPassword && state_ != kRemotePassword) {
        if (state_ == kLocal) {
            history_.Remember(*line);
        } else {
            history_.RememberSent(*line);
        }
    }
    return line;
}

std::optional<std::string> LineEditor::Unmasked(const std::string& text) {
    // The mask itself is what marks a line as masked, wherever its text
    // came from (recalled, cut and pasted, undone, emptied and refilled by
    // a hand-over): it never reaches a command as a password.
    if (state_ != kLocal) return text;
    const LineMarkers markers = in_.Markers();
    const size_t password = PasswordStart(text, markers, in_.Commands());
    if (password == std::string::npos) return text;
    // The password as the interpreter will take it: the token that begins
    // there, in its command.
    const size_t commandEnd =
        std::min(FindSeparator(text, markers.separator, password), text.size());
    const std::string_view command = std::string_view(text).substr(0, commandEnd);
    Tokens tokens(command, password);
    Token token;
    if (!tokens.Next(&token) || token.In(command) != kSecretMask) return text;
    // That password is the history's mask, which the user did not type: it
    // never becomes a password. The line takes the one this session gave
    // it when nothing follows the mask; anything else runs nothing.
    std::optional<std::string> real = history_.RealText(text);
    if (!real && recalled_) real = history_.RealText(*recalled_);
    const size_t realPassword =
        real ? PasswordStart(*real, markers, in_.Commands()) : std::string::npos;
    if (token.end != text.size() || realPassword == std::string::npos) return std::nullopt;
    return text.substr(0, password) + real->substr(realPassword);
}

bool LineEditor::Escape() {
    if (search_.Active()) {
        EndSearch(search_.Original());
        return true;
    }
    return tabCycle_.Escape();
}

void LineEditor::PromptChanging() {
    // A client arriving or the link changing while the user searches ends
    // the search: the prompt box is the state's again.
    if (state_ != kLocal) search_.End();
}

std::string LineEditor::SuggestionFor(const std::string& text) {
    if (text.empty()) return std::string();
    std::string_view tail = history_.Lines().SuggestionFor(text);
    if (!tail.empty()) return std::string(tail);
    return SingleCompletionTail(text);
}

void LineEditor::RefreshSuggestion() {
    std::string tail;
    if (state_ == kLocal && !in_.Running() && !search_.Active()) {
        const std::string text = bar_.CommandText();
        if (bar_.CommandCaret() == static_cast<int>(text.size())) tail = SuggestionFor(text);
    }
    ShowSuggestion(tail);
}

void LineEditor::ShowSuggestion(const std::string& tail) {
    if (tail == suggestion_) return;
    suggestion_ = tail;
    bar_.SetSuggestion(tail);
}

bool LineEditor::AcceptSuggestion(int key, int modifiers) {
    const bool whole = (key == kVkRight || key == kVkEnd) && modifiers == 0;
    const bool word = key == kVkRight && modifiers == kModCtrl;
    if ((!whole && !word) || state_ != kLocal) return false;
    const std::string text = bar_.CommandText();
    if (bar_.CommandCaret() != static_cast<int>(text.size())) return false;
    const std::string tail = SuggestionFor(text);
    if (tail.empty()) return false;
    const std::string line = text + (whole ? tail : NextWord(tail));
    ShowCommandText(line);
    recalled_ = line;
    return true;
}

void LineEditor::ShowCommandText(const std::string& text) {
    bar_.SetCommandText(text);
    bar_.SelectCommandText(static_cast<int>(text.size()), 0);
    RefreshSuggestion();
}

void LineEditor::ShowHistoryEntry(const std::string& text) {
    bar_.SetCommandText(text);
    bar_.SelectCommandText(0, static_cast<int>(text.size()));
    bar_.FocusCommandBox();
    recalled_ = text;
}

void LineEditor::StartSearch() {
    ShowSuggestion("");
    // The search reads every line kept, the oldest too.
    history_.LoadAll();
    search_.Start(history_.Lines(), bar_.CommandText());
    ShowSearch();
}

void LineEditor::ShowSearch() {
    bar_.SetCommandText(search_.Shown());
    bar_.SelectCommandText(static_cast<int>(search_.Shown().size()), 0);
    // The prompt box shows the search, at its width.
    in_.Host().UpdatePrompt();
}

void LineEditor::EndSearch(const std::string& text) {
    const bool found = text != search_.Original();
    search_.End();
    in_.Host().UpdatePrompt();
    ShowCommandText(text);
    if (found) recalled_ = text;
}

bool LineEditor::SearchKey(int key, int modifiers) {
    if (IsModifierKey(key)) return false;
    if (key == 'R' && modifiers == kModCtrl) {
        search_.Older(history_.Lines());
        ShowSearch();
        return true;
    }
    if (key == kVkBack && modifiers == 0) {
        search_.Back(history_.Lines());
        ShowSearch();
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
    // Any other key (Enter among them, which then runs the match) ends the
    // search and does its own work.
    EndSearch(search_.Shown());
    return false;
}

void LineEditor::CompleteWord(bool backwards) {
    // A linked console completes the command words it sends; nothing else
    // completes but a line of its own (never a password, never while it
    // serves a client, whose lines these are not).
    const bool remote = state_ == kRemoteLink;
    if (state_ != kLocal && !remote) return;
    tabCycle_.Tab(
        backwards, in_.Markers(), in_.Commands(),
        [&](const CompletionRequest& request) {
            return completion_.Gather(request, remote, CompletionSources::kBudgetMs, true);
        },
        [&](const std::vector<std::string>& lines) {
            for (const std::string& line : lines) in_.PrintOut(line);
            in_.Host().ShowPendingOutput();
        });
}

std::string LineEditor::SingleCompletionTail(const std::string& text) {
    const CompletionRequest request =
        ParseCompletion(text, text.size(), in_.Markers(), in_.Commands());
    // Every name fits an empty word: nothing is suggested for it.
    if (request.context == CompletionContext::kNone || request.typed.empty()) return {};
    const Clock& clock = in_.Os().clock;
    const std::uint64_t start = clock.Milliseconds();
    const Gathered found =
        completion_.Gather(request, false, CompletionSources::kKeystrokeBudgetMs);
    // A lookup cut short may have missed the other names that fit.
    if (found.candidates.size() != 1 || found.cutShort ||
        clock.Milliseconds() - start >= CompletionSources::kKeystrokeBudgetMs) {
        return {};
    }
    std::string line =
        text.substr(0, request.start) + CompletionText(request, found.candidates[0], true);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    // A completion that quotes or respells what was typed is Tab's to make.
    if (line.size() <= text.size() ||
        text::LowerCase(line.substr(0, text.size())) != text::LowerCase(text)) {
        return {};
    }
    return line.substr(text.size());
}

}  // namespace vantrel
