// The keys of the bar and its two buttons. The window only translates its
// key messages into these calls; every rule about keys is decided here.
#include "console/console.h"
#include "console/keyboard.h"
#include "interpreter/text.h"
#include "platform/key_codes.h"
#include "text/case_fold.h"

namespace vantrel {

bool Console::KeyDown(int key, int modifiers) {
    // While a line runs only the keys that stop it are taken; the others
    // wait for it to end.
    if (interpreter_.Running()) {
        const bool stop = key == kVkEscape || key == kVkCancel;
        if (stop) interpreter_.RequestStop();
        return stop;
    }
    // Only the release that follows at once is the search's to swallow.
    if (searchEndKey_ != key) searchEndKey_.reset();
    if (search_.Active()) return SearchKey(key, modifiers);
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
    if (AcceptSuggestion(key, modifiers)) return true;
    if (key == kVkReturn) {
        EnterClicked();
        return true;
    }
    if (key == kVkEscape) {
        EscClicked();
        return true;
    }
    return false;
}

void Console::CompleteWord(bool backwards) {
    // A linked console completes the command words it sends; nothing else
    // completes but a line of its own (never a password, never while it
    // serves a client, whose lines these are not).
    const bool remote = state_ == kRemoteLink;
    if (state_ != kLocal && !remote) return;
    tabCycle_.Tab(
        backwards, completion_.Markers(),
        [&](const CompletionRequest& request) { return completion_.Gather(request, remote); },
        [&](const std::vector<std::string>& lines) {
            for (const std::string& line : lines) interpreter_.PrintOut(line);
            ShowPendingOutput();
        });
}

std::string Console::SingleCompletionTail(const std::string& text) {
    const CompletionRequest request = ParseCompletion(text, text.size(), completion_.Markers());
    // Every name fits an empty word: nothing is suggested for it.
    if (request.context == CompletionContext::kNone || request.typed.empty()) return {};
    const Clock& clock = platform_.clock;
    const std::uint64_t start = clock.Milliseconds();
    const std::vector<Candidate> fits = RankCandidates(
        completion_.Gather(request, false, CompletionSources::kKeystrokeBudgetMs), request.typed);
    // A lookup cut short may have missed the other names that fit.
    if (fits.size() != 1 || clock.Milliseconds() - start >= CompletionSources::kKeystrokeBudgetMs) {
        return {};
    }
    std::string line = text.substr(0, request.start) + CompletionText(request, fits[0], true);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    // A completion that quotes or respells what was typed is Tab's to make.
    if (line.size() <= text.size() ||
        text::LowerCase(line.substr(0, text.size())) != text::LowerCase(text)) {
        return {};
    }
    return line.substr(text.size());
}

bool Console::KeyUp(int key, int modifiers) {
    // F10 or Ctrl+F10 while a client's line runs: the line stops, and the
    // client is kicked (or banned) as soon as it has, before anything it
    // sent meanwhile gets its turn.
    if (interpreter_.Running()) {
        if (!link_ || !link_->TakesKey(key, modifiers)) return false;
        heldKick_ = modifiers;
        interpreter_.RequestStop();
        return true;
    }
    if (searchEndKey_ == key) {
        searchEndKey_.reset();
        return true;
    }
    if (key >= kVkF1 && key <= kVkF12) {
        TypeFunctionKey(interpreter_, state_, key, modifiers);
    } else if ((key == kVkUp || key == kVkDown) && modifiers == 0 && state_ == kLocal) {
        std::string text;
        if (key == kVkUp ? history_.Up(&text) : history_.Down(&text)) ShowHistoryEntry(text);
    }
    // F10 is also a macro key; the link takes it only while it has a peer.
    return link_ && link_->KeyReleased(key, modifiers);
}

void Console::EnterClicked() {
    // The button only reaches here while a line runs when another program
    // presses it; the line that runs is never joined by a second one.
    if (interpreter_.Running()) return;
    if (search_.Active()) EndSearch(search_.Shown());
    ShowSuggestion("");
    BarWindow& bar = platform_.bar;
    std::string text = bar.CommandText();
    std::string trimmed(TrimSpaces(text));
    // Passwords never go into the history. The user's own lines are also
    // kept for the next start and the search; those sent to a peer are the
    // peer's, and only browsed here.
    const bool recorded =
        !trimmed.empty() && state_ != kAccountPassword && state_ != kRemotePassword;
    if (recorded && state_ == kLocal) {
        RememberLine(text);
    } else if (recorded) {
        history_.Record(text);
    }
    bar.FocusCommandBox();
    switch (state_) {
        case kLocal:
            interpreter_.RunCommand(text);
            break;
        case kAccountPassword:
            account_.pass = text;
            bar.SetCommandText("");
            state_ = kLocal;
            UpdatePrompt();
            break;
        case kRemotePassword:
        case kRemoteLink:
            state_ = text::LowerCase(trimmed) == "disconnect" ? kDisconnecting : kSending;
            if (link_) link_->Send(text + "\r\n");
            UpdatePrompt();
            break;
        default:
            break;
    }
}

void Console::EscClicked() {
    if (interpreter_.Running()) {
        interpreter_.RequestStop();
        return;
    }
    if (search_.Active()) {
        EndSearch(search_.Original());
        return;
    }
    BarWindow& bar = platform_.bar;
    bar.FocusCommandBox();
    if (!bar.CommandText().empty()) {
        bar.SetCommandText("");
    } else {
        interpreter_.PrintOut("\f");
    }
}

void Console::ShowHistoryEntry(const std::string& text) {
    BarWindow& bar = platform_.bar;
    bar.SetCommandText(text);
    bar.SelectCommandText(0, static_cast<int>(text.size()));
    bar.FocusCommandBox();
}

}  // namespace vantrel
