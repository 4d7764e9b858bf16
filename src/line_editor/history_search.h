// The backward search of the history (Ctrl+R): the search text grows as the
// user types, each step shows the newest line holding it, Ctrl+R again the
// next older one. The console hands it the keys; it only says what the
// boxes show.
#pragma once

#include <string>
#include <string_view>

#include "line_editor/history_file.h"

namespace vantrel {

class HistorySearch {
  public:
    bool Active() const { return active_; }
    // Starts searching for the command box's text.
    void Start(const HistoryLines& lines, const std::string& boxText);
    // Ctrl+R again: the next older line holding the search text.
    void Older(const HistoryLines& lines);
    // The search text grows by one character, or loses its last; the search
    // starts again from the newest line.
    void Type(const HistoryLines& lines, std::string_view character);
    void Back(const HistoryLines& lines);
    void End() { active_ = false; }

    // What the command box shows: the match, or the text the search
    // started from while the search text is empty or nothing matched yet.
    const std::string& Shown() const { return shown_; }
    // The text from before the search, for Esc.
    const std::string& Original() const { return original_; }
    // The prompt box's text: the search text, and whether the last step
    // found a line (a failed one keeps the last match in the box).
    std::string Prompt() const;

  private:
    void Find(const HistoryLines& lines, int before);

    bool active_ = false;
    bool found_ = true;
    std::string query_;
    std::string original_;
    std::string shown_;
    int match_ = -1;  // the index of the line shown, -1 for none
};

}  // namespace vantrel
