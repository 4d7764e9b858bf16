// The console while a line runs. The line runs inside a handler of the one
// UI thread, so nothing that arrives meanwhile may start another: the keys
// that stop the line are taken, every other event is held and gets its
// turn, in order, once the line has ended.
#include "console/console.h"
#include "console/keyboard.h"
#include "console/output_pump.h"
#include "interpreter/colours.h"
#include "interpreter/settings.h"
#include "platform/key_codes.h"

namespace vantrel {

void Console::LineStarted() {
    BarWindow& bar = platform_.bar;
    auto colour = [this](const char* name) {
        return ParseColour(interpreter_.SettingText(name), platform_.files, platform_.codePages);
    };
    bar.SetCommandLocked(true);
    editor_.LineStarted();
    bar.SetBoxColours(BoxColours{
        colour(settings::kColourPromptBusyText), colour(settings::kColourPromptBusyBg),
        colour(settings::kColourCommandBusyText), colour(settings::kColourCommandBusyBg)});
    // A short line never pumps: the first pump comes one interval in.
    lastKeepAlive_ = platform_.clock.Milliseconds();
}

void Console::LineEnded() {
    // The command box is emptied, unless the state gives it a text of its
    // own (a served client's key hint).
    if (!PromptFor(state_, PromptContext{}).commandText) platform_.bar.SetCommandText("");
    UpdatePrompt();
    window_.ResumeInput();
    if (closeAfterLine_) {
        Exit();
        return;
    }
    if (heldKick_) {
        link_->KeyDown(kVkF10, *heldKick_);
        heldKick_.reset();
    }
    tray_.LineEnded();
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
    PumpOutput(interpreter_, state_, link_.get(), window_, pane_);
    PollFocusKey();
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
