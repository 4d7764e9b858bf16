// Tab completion's text rules, apart from where candidates come from: which
// word of the command box the caret is in and what kind of word it is (the
// command line's grammar and the table's rows say), the candidates that fit
// it in their order, their longest common beginning, and the text that
// replaces the word. Pure functions of their arguments.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "interpreter/command_line.h"
#include "interpreter/dispatch.h"

namespace vantrel {

// What kind of word is being completed, which decides the candidates.
enum class CompletionContext {
    kNone,         // nothing completes here
    kCommandWord,  // the first word: commands, batch files, shortcuts, programs
    kTarget,       // what RUN opens: programs, shortcuts, files and folders
    kPath,         // files and folders, drives
    kBatch,        // the batch files of the shortcut folder, by name
    kVariable,     // script and setting variables
    kEnvironment,  // environment variables
    kWindow,       // window titles and process names
    kColour,       // the colour names of Colours.txt
    kWords,        // the words the command takes at that place
};

// The word before the caret and how to complete it. The word is replaced
// from start to the caret; everything after the caret stays.
struct CompletionRequest {
    CompletionContext context = CompletionContext::kNone;
    std::string command;             // the command word, lower case ("" for the first word)
    int argIndex = 0;                // 0 for the command word, 1 for its first argument
    std::string previous;            // the argument before this one, lower case
    std::vector<std::string> words;  // the command's own words at this place
    size_t start = 0;                // where the replaced text starts
    std::string lead;                // kept before the matched part: a path's folder
    std::string typed;               // the part candidates must begin with
    bool quoted = false;             // the word was typed with an opening quote
    bool quote = false;              // a completion holding a blank is quoted
    bool space = false;              // a finished word is followed by a space
    std::string closing;             // put after a finished word: a closing marker
    // What a completed name may not hold as it stands: the separator and
    // the markers, which would split the line or expand a part of it.
    std::vector<std::string> unsafe;
};

// Finds the word before caret (a byte offset, clamped to the line) in the
// command of line that holds the caret, reading the line by the command
// line's grammar and the arguments by the rows of the table.
CompletionRequest ParseCompletion(std::string_view line, size_t caret, const LineMarkers& markers,
                                  const CommandTable& table);

// One possible completion.
struct Candidate {
    Candidate() = default;
    // Not explicit: a name alone makes a candidate.
    Candidate(std::string shown, std::string word = {}, bool isFolder = false)
        : name(std::move(shown)), text(std::move(word)), folder(isFolder) {}

    std::string name;  // matched against the typed part and listed
    // The whole word it becomes, when it is not the request's lead + name
    // (a shortcut found by name that opens by its full path).
    std::string text;
    bool folder = false;  // completes to name + "\", so Tab goes on into it

    bool operator==(const Candidate&) const = default;
};

// The candidates found for a request, ranked, and whether a lookup was cut
// short by the time bound: then more may fit than were found. Fuzzy ones
// do not begin with what was typed but match it otherwise, best first.
struct Gathered {
    std::vector<Candidate> candidates;
    bool cutShort = false;
    bool fuzzy = false;
};

// How much the user runs what a candidate names; 0 for what was never run.
using UseWeight = std::function<double(const Candidate&)>;

// The candidates whose names begin with typed (ignoring case), each name
// once (the first one given wins): those the user runs most first, and
// among equals sorted without regard to case.
std::vector<Candidate> RankCandidates(std::vector<Candidate> candidates, std::string_view typed,
                                      const UseWeight& weight = {});

// The candidates that match typed as a program's name may (fuzzy_match.h)
// without beginning with it, each name once: the better match first, then
// what the user runs most, then the closer match within its kind, the
// shorter name and the name without regard to case. At most `most`.
std::vector<Candidate> RankFuzzy(const std::vector<Candidate>& pool, std::string_view typed,
                                 const UseWeight& weight, size_t most);

// The longest beginning every name shares, ignoring case, spelt as the
// first candidate spells it; "" for none.
std::string CommonPrefix(const std::vector<Candidate>& candidates);

// The text that replaces the word for a candidate. A finished word (one
// candidate chosen) gets its closing quote, closing marker and space; an
// unfinished one (a common beginning, or a folder, which Tab goes on into)
// leaves a quote open. A name holding the separator or a marker is put in
// only up to it, unfinished: the line would otherwise split or expand there.
std::string CompletionText(const CompletionRequest& request, const Candidate& candidate,
                           bool finished);

// The lines that list candidates: at most maxLines, the last of them
// saying how many more there are when not all fit.
std::vector<std::string> CandidateListLines(const std::vector<Candidate>& candidates,
                                            size_t maxLines);

}  // namespace vantrel
