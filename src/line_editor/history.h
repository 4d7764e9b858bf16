// The session's history: the lines entered, as Up and Down browse them; all
// lines kept (those of History.txt and this session's), which the
// suggestion and the search read; and what only this session knows: the
// real text of a line that the history keeps masked.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "line_editor/command_history.h"
#include "line_editor/history_file.h"

namespace vantrel {

class Interpreter;

class History {
  public:
    explicit History(Interpreter& in) : in_(in) {}

    // Start-up, after Autoexec.dcb (which may turn HistoryFile off): the
    // newest lines of the file now, the older ones a slice at each Tick.
    void Load();
    void Tick();
    // Every line now: the search reads them all.
    void LoadAll();

    // A line entered to run here: browsed, and unless it is private,
    // searched, suggested and written as the history keeps it (its
    // password masked; in memory only when it names a secret).
    void Remember(const std::string& text);
    // A line sent to a linked console: browsed only.
    void RememberSent(const std::string& text) { browsed_.Record(text); }

    CommandHistory& Browsed() { return browsed_; }
    const CommandHistory& Browsed() const { return browsed_; }
    const HistoryLines& Lines() const { return lines_; }
    // The text this session ran a masked line with; nullopt for a line of
    // an earlier start, whose password was never kept.
    std::optional<std::string> RealText(const std::string& shown) const;

    // A slice of the older lines per tick: a few milliseconds of reading.
    static constexpr size_t kSliceBytes = 512 * 1024;

  private:
    bool FileReady();

    Interpreter& in_;
    CommandHistory browsed_;
    HistoryLines lines_;
    std::optional<HistoryFile> file_;
    bool folderMade_ = false;
    std::map<std::string, std::string> real_;
};

}  // namespace vantrel
