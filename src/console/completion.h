// Tab completion's text rules, apart from where candidates come from: which
// word of the command box the caret is in and what kind of word it is, the
// candidates that fit it in their order, their longest common beginning,
// and the text that replaces the word. Pure functions of their arguments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    kColour,       // COLOUR's words and the colour names
    kWords,        // the fixed words a command takes at that place
};

// The markers and separator of the settings, as the interpreter reads them.
struct CompletionMarkers {
    std::string separator = "|";  // CmdSepString
    std::string variable = "`";   // VarString
    std::string environment;      // VarEnvString
};

// The word before the caret and how to complete it. The word is replaced
// from start to the caret; everything after the caret stays.
struct CompletionRequest {
    CompletionContext context = CompletionContext::kNone;
    std::string command;   // the command word, lower case ("" for the first word)
    int argIndex = 0;      // 0 for the command word, 1 for its first argument
    std::string previous;  // the argument before this one, lower case
    size_t start = 0;      // where the replaced text starts
    std::string lead;      // kept before the matched part: a path's folder
    std::string typed;     // the part candidates must begin with
    bool quoted = false;   // the word was typed with an opening quote
    bool quote = false;    // a completion holding a blank is quoted
    bool space = false;    // a finished word is followed by a space
    std::string closing;   // put after a finished word: a closing marker
};

// Finds the word before caret (a byte offset, clamped to the line) in the
// command of line that holds the caret.
CompletionRequest ParseCompletion(std::string_view line, size_t caret,
                                  const CompletionMarkers& markers);

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

// The candidates whose names begin with typed (ignoring case), each name
// once (the first one given wins), sorted without regard to case.
std::vector<Candidate> RankCandidates(std::vector<Candidate> candidates, std::string_view typed);

// The longest beginning every name shares, ignoring case, spelt as the
// first candidate spells it; "" for none.
std::string CommonPrefix(const std::vector<Candidate>& candidates);

// The text that replaces the word for a candidate. A finished word (one
// candidate chosen) gets its closing quote, closing marker and space; an
// unfinished one (a common beginning, or a folder, which Tab goes on into)
// leaves a quote open.
std::string CompletionText(const CompletionRequest& request, const Candidate& candidate,
                           bool finished);

// The lines that list candidates: at most maxLines, the last of them
// saying how many more there are when not all fit.
std::vector<std::string> CandidateListLines(const std::vector<Candidate>& candidates,
                                            size_t maxLines);

}  // namespace vantrel
