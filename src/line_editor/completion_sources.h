// Where Tab completion's candidates come from: the command table, the
// folders, the program index, the variables, the desktop's windows and
// processes, Colours.txt and the words the table's rows give. Everything is reached
// through the interpreter and its platform, and one completion never spends
// more than kBudgetMs: past it, what was found so far is the answer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interpreter/launch.h"
#include "line_editor/completion.h"
#include "line_editor/program_index.h"
#include "line_editor/run_counts.h"

namespace vantrel {

class Interpreter;

class CompletionSources : public NameSuggester {
  public:
    // runs ranks what the user runs most first.
    CompletionSources(Interpreter& in, const RunCounts& runs);
    ~CompletionSources();
    CompletionSources(const CompletionSources&) = delete;
    CompletionSources& operator=(const CompletionSources&) = delete;

    // The ranked candidates for the request, found within budgetMs. A
    // console linked to a peer completes command words only: everything
    // else belongs to the peer. With orFuzzy, a first word that nothing
    // begins with gets the programs that match it otherwise, best first.
    Gathered Gather(const CompletionRequest& request, bool remote,
                    std::uint64_t budgetMs = kBudgetMs, bool orFuzzy = false);

    // The programs a first word that opened nothing may have meant, as Tab
    // would offer them; never the word itself.
    std::vector<std::string> SimilarNames(const std::string& word, size_t most) override;

    // A key typed into the command box: the program index is built (or
    // built afresh, once old) on the timer from now on, so that it is ready
    // by the time Tab is pressed.
    void KeyTyped();
    // The console's timer: a slice of the program index's build, when one
    // is under way.
    void Tick();

    static constexpr std::uint64_t kBudgetMs = 50;
    // A keystroke's suggestion must not hold up typing: its completion gets
    // this much, and one that runs out of it suggests nothing.
    static constexpr std::uint64_t kKeystrokeBudgetMs = 8;
    // What the index may take of a Tab before the first build is done, and
    // of a timer tick.
    static constexpr std::uint64_t kIndexOnTabMs = 10;
    static constexpr std::uint64_t kIndexSliceMs = 8;
    static constexpr std::uint64_t kIndexLookupMs = 40;
    // Tab cycles through this many fuzzy matches at most: past them the
    // user types more letters.
    static constexpr size_t kMostFuzzy = 100;

  private:
    IndexPlaces Places();
    // The index, built further within budgetMs while its first build is
    // not complete.
    const std::vector<Candidate>& IndexEntries(const Deadline& deadline);
    UseWeight Weight() const;
    // The candidates of the request's kind, not yet ranked; false when the
    // deadline kept a source from looking.
    bool Collect(const CompletionRequest& request, const Deadline& deadline,
                 std::vector<Candidate>* out);
    void CommandWords(std::vector<Candidate>* out);
    // Each source returns false when the deadline kept it from looking.
    bool Programs(const CompletionRequest& request, const Deadline& deadline,
                  std::vector<Candidate>* out);
    bool NamedTargets(const CompletionRequest& request, const Deadline& deadline,
                      std::vector<Candidate>* out);
    bool Paths(const CompletionRequest& request, const Deadline& deadline,
               std::vector<Candidate>* out);
    bool Batches(const CompletionRequest& request, const Deadline& deadline,
                 std::vector<Candidate>* out);
    void Variables(std::vector<Candidate>* out);
    void EnvironmentNames(std::vector<Candidate>* out);
    void Windows(std::vector<Candidate>* out);
    void ColourNames(std::vector<Candidate>* out);

    Interpreter& in_;
    const RunCounts& runs_;
    ProgramIndex index_;
};

}  // namespace vantrel
