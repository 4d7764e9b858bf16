// What Tab, Shift+Tab and Esc do to the command box while completing. The
// first Tab completes the word before the caret: a single candidate at
// once, several to their longest common beginning. The second lists them,
// the next ones put each in turn into the box (Shift+Tab goes backwards),
// and Esc, after any of them, puts back what was typed before the first.
// Fuzzy candidates share no beginning: the first Tab puts in the best and
// the next ones go through the rest in their order.
// Any other key, or a box changed meanwhile by anything else, ends the
// cycle. A lookup cut short by its time bound completes nothing: more names
// than it found may fit, so it lists what it found and says so.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "line_editor/completion.h"
#include "platform/bar_window.h"

namespace vantrel {

class TabCycle {
  public:
    explicit TabCycle(BarWindow& bar) : bar_(bar) {}

    // The ranked candidates for a request.
    using Gather = std::function<Gathered(const CompletionRequest&)>;
    // Shows the lines of a candidate list.
    using List = std::function<void(const std::vector<std::string>&)>;

    void Tab(bool backwards, const LineMarkers& markers, const CommandTable& table,
             const Gather& gather, const List& list);
    // True when a cycle was going on and the typed text is back.
    bool Escape();
    void End() { phase_ = Phase::kIdle; }

    // A screenful of the output pane.
    static constexpr size_t kMostListed = 40;
    // No word is longer than the longest path the system takes; a longer
    // one is not completed.
    static constexpr size_t kLongestWord = 32767;

  private:
    // kCompleted: the one candidate was put in; a Tab starts afresh from
    // there, Esc still puts back what was typed.
    enum class Phase { kIdle, kCompleted, kPrefixed, kListed, kCycling };

    void Start(const LineMarkers& markers, const CommandTable& table, const Gather& gather,
               const List& list);
    // Puts word in place of the completed one, the caret after it.
    void Put(const std::string& word);
    bool StillShown() const;

    BarWindow& bar_;
    Phase phase_ = Phase::kIdle;
    std::string typed_;  // the box before the first Tab
    int typedCaret_ = 0;
    CompletionRequest request_;
    std::string head_, tail_;  // the box before and after the completed word
    std::vector<Candidate> candidates_;
    size_t index_ = 0;
    std::string shown_;  // what the box was left with
    int shownCaret_ = 0;
};

}  // namespace vantrel
