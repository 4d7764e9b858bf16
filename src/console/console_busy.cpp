// The console while a line runs. The line runs inside a handler of the one
// UI thread, so nothing that arrives meanwhile may start another: the keys
// that stop the line are taken, every other event is held and gets its
// turn, in order, once the line has ended.
#include <utility>

#include "console/colours.h"
#include "console/console.h"
#include "console/keyboard.h"
#include "interpreter/settings.h"
#include "platform/key_codes.h"

namespace vantrel {

void Console::LineStarted() {
    BarWindow& bar = platform_.bar;
    auto colour = [this](const char* name) {
        return ParseColour(interpreter_.SettingText(name), platform_.files, platform_.codePages);
    };
    bar.SetCommandLocked(true);
    ShowSuggestion("");
    bar.SetBoxColours(BoxColours{
        colour(settings::kColourPromptBusyText), colour(settings::kColourPromptBusyBg),
        colour(settings::kColourCommandBusyText), colour(settings::kColourCommandBusyBg)});
    // A short line never pumps: the first pump comes one interval in.
    lastKeepAlive_ = platform_.clock.Milliseconds();
}

void Console::LineEnded() {
    ApplyPrompt(true);
    window_.ResumeInput();
    if (closeAfterLine_) {
        Exit();
        return;
    }
    if (heldKick_) {
        link_->KeyReleased(kVkF10, *heldKick_);
        heldKick_.reset();
    }
    // A click may open the tray's menu, whose own loop may bring more.
    std::deque<int> trayMessages = std::exchange(heldTrayMessages_, {});
    for (int message : trayMessages) TrayMouseMessage(message);
    if (link_) link_->ResumeAfterLine();
}

void Console::KeepAlive() {
    // A box's own modal loop keeps the windows alive while it is up, and
    // the keys typed meanwhile are the box's: the busy pump would take them.
    if (interpreter_.DialogOpen()) return;
    const std::uint64_t now = platform_.clock.Milliseconds();
    if (now - lastKeepAlive_ < kKeepAliveMs) return;
    lastKeepAlive_ = now;
    // The line being run stands in the command box while a local batch file
    // runs; a served client's line leaves the key hint there.
    if (state_ == kLocal) platform_.bar.SetCommandText(interpreter_.CurrentLine());
    PumpOutput();
    if (window_.IsVisible() && FocusHotkeyPressed(interpreter_)) window_.Show();
    window_.PumpWhileBusy();
}

void Console::CloseRequested() {
    if (!interpreter_.Running()) {
        Exit();
        return;
    }
    closeAfterLine_ = true;
    interpreter_.RequestStop();
}

}  // namespace vantrel
