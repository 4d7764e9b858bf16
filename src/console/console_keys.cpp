// The keys of the bar and its two buttons. The window only translates its
// key messages into these calls; while no line runs the line editor has
// them first, and what it leaves is decided here.
#include "commands/link_commands.h"
#include "console/console.h"
#include "console/keyboard.h"
#include "platform/key_codes.h"

namespace vantrel {

bool Console::KeyDown(int key, int modifiers) {
    // While a line runs only the keys that stop it are taken; the others
    // wait for it to end. F10 or Ctrl+F10 while a client's line runs: the
    // line stops, and the client is kicked (or banned) as soon as it has,
    // before anything it sent meanwhile gets its turn.
    if (interpreter_.Running()) {
        const bool kick = link_ && link_->TakesKey(key, modifiers);
        if (kick) heldKick_ = modifiers;
        const bool stop = kick || key == kVkEscape || key == kVkCancel;
        if (stop) interpreter_.RequestStop();
        return stop;
    }
    if (editor_.KeyDown(key, modifiers)) return true;
    if (key == kVkReturn) {
        EnterClicked();
        return true;
    }
    if (key == kVkEscape) {
        EscClicked();
        return true;
    }
    if (key < kVkF1 || key > kVkF12) return false;
    // A function key does its work as it goes down, with the modifiers held
    // then: hands and programs let go of Shift before the key as often as
    // after it. F10 is also a macro key; the link takes it only while it
    // has a peer.
    const bool typed = TypeFunctionKey(interpreter_, state_, key, modifiers);
    const bool linked = link_ && link_->KeyDown(key, modifiers);
    return typed || linked;
}

bool Console::KeyUp(int key, int modifiers) {
    // A release while a line runs waits for it with the rest of the input.
    if (interpreter_.Running()) return false;
    if (editor_.KeyUp(key, modifiers)) return true;
    // A function key's work was done as it went down; its release is
    // nobody's (F10's would open the window's menu).
    return key >= kVkF1 && key <= kVkF12;
}

void Console::EnterClicked() {
    // The button only reaches here while a line runs when another program
    // presses it; the line that runs is never joined by a second one.
    if (interpreter_.Running()) return;
    const std::optional<std::string> line = editor_.Enter();
    BarWindow& bar = platform_.bar;
    bar.FocusCommandBox();
    if (!line) return;
    switch (state_) {
        case kLocal:
            interpreter_.RunCommand(*line);
            break;
        case kAccountPassword:
            account_.pass = *line;
            bar.SetCommandText("");
            state_ = kLocal;
            UpdatePrompt();
            break;
        case kRemotePassword:
        case kRemoteLink: {
            const bool password = state_ == kRemotePassword;
            state_ = EndsTheLink(*line) ? kDisconnecting : kSending;
            if (link_) link_->SendTyped(*line, password);
            UpdatePrompt();
            break;
        }
        default:
            break;
    }
}

void Console::EscClicked() {
    if (interpreter_.Running()) {
        interpreter_.RequestStop();
        return;
    }
    if (editor_.Escape()) return;
    BarWindow& bar = platform_.bar;
    bar.FocusCommandBox();
    if (!bar.CommandText().empty()) {
        bar.SetCommandText("");
    } else {
        interpreter_.PrintOut("\f");
    }
}

}  // namespace vantrel
