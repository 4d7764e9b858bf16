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
#include "line_editor/run_counts.h"

namespace vantrel {

class Interpreter;

class History {
  public:
    explicit History(Interpreter& in) : in_(in) {}

    // Start-up, after Autoexec.dcb (which may turn HistoryFile off): the
    // newest lines of the file now, the older ones a slice at each Tick;
    // the run counts at once.
    void Load();
    void Tick();
    // Every line now: the search reads them all.
    void LoadAll();

    // A line entered to run here: browsed, and unless it is private,
    // searched, suggested and written as the history keeps it (its
    // password masked; in memory only when it names a secret or the
    // session is in private mode), and its first word counted as run.
    void Remember(const std::string& text);
    // A line sent to a linked console: browsed only.
    void RememberSent(const std::string& text) { browsed_.Record(text); }

    CommandHistory& Browsed() { return browsed_; }
    const CommandHistory& Browsed() const { return browsed_; }
    const HistoryLines& Lines() const { return lines_; }
    const RunCounts& Runs() const { return runs_; }
    // The text this session ran a masked line with; nullopt for a line of
    // an earlier start, whose password was never kept.
    std::optional<std::string> RealText(const std::string& shown) const;

    // A slice of the older lines per tick: a few milliseconds of reading.
    static constexpr size_t kSliceBytes = 512 * 1024;
    // Runs.txt is read up to this much: compacted, it holds a few dozen
    // bytes for each of at most RunCounts::kMostNames names.
    static constexpr size_t kRunsFileBytes = 1024 * 1024;

  private:
    bool FileReady();
    std::string RunsPath() const;
    void LoadRuns();
    void CountRun(const std::string& line);

    Interpreter& in_;
    CommandHistory browsed_;
    HistoryLines lines_;
    std::optional<HistoryFile> file_;
    bool folderMade_ = false;
    std::map<std::string, std::string> real_;
    RunCounts runs_;
    size_t runsFileLines_ = 0;
    bool runsRead_ = false;
    // The file ended in a line cut short (a crash while it was written):
    // the next append starts a line of its own.
    bool runsTorn_ = false;
};

}  // namespace vantrel
