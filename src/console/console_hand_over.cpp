// Lines and paths that second starts of the program hand over. A line runs
// as if the user had typed it and pressed Enter: echoed, remembered, sent
// to a peer while linked. Whatever the user had half typed goes back into
// the box afterwards, caret and all.
#include "console/console.h"
#include "interpreter/line_text.h"

namespace vantrel {

bool Console::HandOver(const std::string& argument) {
    // A console that is ending runs nothing more: the start is told so.
    if (interpreter_.exitRequested) return false;
    // A script's box that is up keeps the keyboard until it is answered.
    if (!interpreter_.DialogOpen()) window_.Show();
    HandedOver item = ReadStartArgument(argument);
    // A start without a line only brings the bar forward.
    if (item.kind == HandedOver::kLine && TrimSpaces(item.text).empty()) return true;
    const bool ends = item.kind == HandedOver::kLine &&
                      EndsConsole(item.text, interpreter_.Markers(), interpreter_.Commands());
    return handedOver_.Add(std::move(item), ends);
}

bool Console::SettleHalfTyped() {
    if (!halfTyped_) return true;
    // A line sent to a peer is done once the peer has it: the box is
    // emptied then, and the text goes back.
    const std::optional<bool> restore = RestoreHalfTyped(*halfTyped_, state_, platform_.bar);
    if (!restore) return false;
    if (*restore) {
        BarWindow& bar = platform_.bar;
        bar.SetCommandText(halfTyped_->text);
        bar.SelectCommandText(halfTyped_->caret, 0);
        editor_.TextChanged();
    }
    halfTyped_.reset();
    return true;
}

void Console::RunHandedOver() {
    if (!SettleHalfTyped()) return;
    std::optional<HandedOver> next = handedOver_.TakeRunnable(state_);
    if (!next) return;
    BarWindow& bar = platform_.bar;
    // An open search ends as Esc ends it, with the text it began from.
    if (editor_.Searching()) editor_.Escape();
    if (!bar.CommandText().empty())
        halfTyped_ = HalfTyped{bar.CommandText(), bar.CommandCaret(), state_};
    // The box emptied first: the editor forgets a line recalled from the
    // history, whose masked password the handed-over line must never get.
    bar.SetCommandText("");
    editor_.TextChanged();
    if (next->kind == HandedOver::kOpen) {
        OpenFromShell(interpreter_, next->text);
    } else {
        bar.SetCommandText(next->text);
        EnterClicked();
    }
    if (!interpreter_.exitRequested) SettleHalfTyped();
}

}  // namespace vantrel
