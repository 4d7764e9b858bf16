// Reaching the bar from anywhere. The focus hotkey, polled, brings a
// visible bar forward; the summon key, a hotkey of the system's, also shows
// a hidden one. Pressed on the bar in front, either gives the focus back to
// the program that had it; the summon key hides the bar again too, and
// with AutoHide a bar it showed hides once another program takes the focus.
#include <string>

#include "console/console.h"
#include "interpreter/keystrokes.h"
#include "interpreter/line_text.h"
#include "interpreter/settings.h"

namespace vantrel {

namespace {

// A setting's text as a message quotes it: a pasted page is not repeated.
std::string Quoted(const std::string& text) {
    constexpr size_t kMostShown = 60;
    return "\"" + (text.size() <= kMostShown ? text : text.substr(0, kMostShown) + "...") + "\"";
}

}  // namespace

void Console::PollFocusKey() {
    if (!focusKey_.WentDown(interpreter_) || !window_.IsVisible()) return;
    if (window_.IsForeground()) {
        window_.ReturnFocus();
        return;
    }
    SendFocusKeyBackspace(interpreter_);
    window_.Show();
}

void Console::ApplySummonKey() {
    const std::string text = interpreter_.SettingText(settings::kSummonKey);
    if (summonKeyText_ == text) return;
    summonKeyText_ = text;
    KeyChord chord;
    std::string err;
    if (!ParseKeyChord(TrimSpaces(text), &chord, &err)) {
        window_.SetSummonKey(KeyChord{});
        interpreter_.PrintOut("SummonKey " + Quoted(text) + " is not a key combination (" + err +
                              "); write it as Ctrl+Alt+Space or Win+`");
    } else if (!window_.SetSummonKey(chord)) {
        interpreter_.PrintOut("SummonKey " + Quoted(text) +
                              " does not work: another program holds that combination. Set "
                              "SummonKey to another one");
    }
}

void Console::SummonKeyPressed() {
    if (window_.IsVisible() && window_.IsForeground()) {
        summoned_ = false;
        window_.ReturnFocus();
        placement_.HideWin();
        return;
    }
    Point pointer;
    if (platform_.input.CursorPos(&pointer.x, &pointer.y)) placement_.FollowPointer(pointer);
    placement_.ShowWin();
    summoned_ = true;
}

void Console::CommandTextCut() {
    interpreter_.PrintOut("The command box holds at most 32,767 characters: the rest was left out");
}

void Console::FocusLeft() {
    // A line may open a program in front of the bar; the bar's own boxes
    // and pane are never another program.
    if (!summoned_ || interpreter_.Running() || !window_.IsVisible()) return;
    if (!interpreter_.SettingOn(settings::kAutoHide)) return;
    summoned_ = false;
    placement_.HideWin();
}

}  // namespace vantrel
