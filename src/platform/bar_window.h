// The console bar as the core sees it: the prompt box and the command box.
// The Win32 build backs this with real controls; tests with plain fields.
#pragma once

#include <string>
#include <utility>

#include "platform/colour.h"

namespace vantrel {

struct BoxColours {
    Colour promptText = 0;
    Colour promptBg = 0;
    Colour commandText = 0;
    Colour commandBg = 0;
    Colour commandSuggest = 0;  // the suggestion shown after the typed text

    bool operator==(const BoxColours&) const = default;
};

class BarWindow {
  public:
    // The most characters the command box takes: what a line may hold, as
    // a second start's or a recalled one.
    static constexpr int kCommandBoxLimit = 32767;

    virtual ~BarWindow() = default;

    virtual std::string CommandText() const = 0;
    virtual void SetCommandText(const std::string& text) = 0;
    virtual void SelectCommandText(int start, int length) = 0;
    // Where the caret is in the command box: a byte offset into its text,
    // the end of the selection when there is one.
    virtual int CommandCaret() const = 0;
    // The selected bytes of the command box, from the first to past the
    // last, in text order whichever way they were selected; both the caret
    // when nothing is selected.
    virtual std::pair<int, int> CommandSelection() const = 0;
    // Shows tail after the command box's text, dimmer, while the caret is
    // at its end; it is no part of the text. "" shows none.
    virtual void SetSuggestion(const std::string& tail) = 0;
    virtual void FocusCommandBox() = 0;
    // A locked command box cannot be edited by the user.
    virtual void SetCommandLocked(bool locked) = 0;
    // The character shown for each typed one; '\0' shows the text itself.
    virtual void SetPasswordChar(char c) = 0;

    virtual std::string PromptText() const = 0;
    virtual void SetPromptText(const std::string& text) = 0;

    // Sets both boxes' colours and repaints them at once, so a colour change
    // made before a long command shows while it runs.
    virtual void SetBoxColours(const BoxColours& colours) = 0;

    // Whether the output pane is open with text in it.
    virtual bool PaneHasText() const = 0;
};

}  // namespace vantrel
