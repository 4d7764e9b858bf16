// Editing the command line: what the keys of the command box do while no
// line runs. Up and Down browse the history, the suggestion follows the
// typed text, Ctrl+R searches the history, Tab completes the word before
// the caret, Ctrl+Backspace and Ctrl+Delete delete a word, and Enter takes
// the line and remembers it as the history keeps it. The editor reaches the
// bar through BarWindow, the settings, the command table and the console
// around it through the interpreter, and reads the console's state; what a
// line taken is for, the console decides.
#pragma once

#include <optional>
#include <string>

#include "interpreter/console_state.h"
#include "line_editor/completion_sources.h"
#include "line_editor/history.h"
#include "line_editor/history_search.h"
#include "line_editor/tab_cycle.h"
#include "platform/bar_window.h"

namespace vantrel {

class Interpreter;

class LineEditor {
  public:
    LineEditor(Interpreter& in, BarWindow& bar, const ConsoleState& state);

    // Start-up, after Autoexec.dcb.
    void LoadHistory() { history_.Load(); }
    // The console's timer: a slice of the history's older lines and of the
    // program index.
    void Tick();

    // Keys on their way to the command box, while no line runs; true when
    // taken. Enter and Esc are the console's: a Return that ends the search
    // is left to it, which then runs the match.
    bool KeyDown(int key, int modifiers);
    bool KeyUp(int key, int modifiers);
    // While the history is searched, typed characters go to the search.
    bool CharTyped(const std::string& character);
    void TextChanged();

    // Enter: the box's line, remembered as the history keeps it, for the
    // console to run or send. A line recalled from the history with its
    // password masked runs with the password this session gave it; one
    // whose password was never kept here (an earlier start's) runs
    // nothing: the user is told to type it again, and nullopt comes back.
    std::optional<std::string> Enter();
    // Esc: true when it ended the search or put back what a completion
    // replaced.
    bool Escape();

    // Around every prompt line the console makes: a search ends when the
    // console leaves its local state; afterwards the suggestion follows.
    void PromptChanging();
    void PromptChanged() { RefreshSuggestion(); }
    void LineStarted() { ShowSuggestion(""); }

    bool Searching() const { return search_.Active(); }
    // The prompt box's text while searching.
    std::string SearchPrompt() const { return search_.Prompt(); }
    const History& Remembered() const { return history_; }
    // What is suggested after text: the rest of the newest remembered line
    // that begins with it, else what the one completion of its last word
    // adds; "" for nothing.
    std::string SuggestionFor(const std::string& text);

  private:
    void RefreshSuggestion();
    void ShowSuggestion(const std::string& tail);
    bool AcceptSuggestion(int key, int modifiers);
    void StartSearch();
    bool SearchKey(int key, int modifiers);
    void ShowSearch();
    // Ends the search with text in the command box, the caret at its end.
    void EndSearch(const std::string& text);
    void ShowCommandText(const std::string& text);
    // Ctrl+Backspace and Ctrl+Delete, in a box the user may edit.
    bool DeletesWord(int key, int modifiers) const;
    // Deletes the selection, else the word before the caret (forward: the
    // one after it); the caret stays where the deleted text was.
    void DeleteWord(bool forward);
    void ShowHistoryEntry(const std::string& text);
    void CompleteWord(bool backwards);
    // What the one completion of the word before the end adds to text; ""
    // unless exactly one candidate fits and it only adds to what is typed.
    std::string SingleCompletionTail(const std::string& text);
    // The line to run for text: the real one of a masked line, none when its
    // password is no longer known.
    std::optional<std::string> Unmasked(const std::string& text);

    Interpreter& in_;
    BarWindow& bar_;
    const ConsoleState& state_;
    History history_;
    HistorySearch search_;
    // The key whose release must not browse: it ended the search.
    std::optional<int> searchEndKey_;
    std::string suggestion_;  // as shown
    CompletionSources completion_;
    TabCycle tabCycle_;
    // The history's line the box was last given (Up, Down, the search, the
    // suggestion), until the box is emptied or its line is taken.
    std::optional<std::string> recalled_;
};

}  // namespace vantrel
