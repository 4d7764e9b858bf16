#include "line_editor/completion.h"

#include <algorithm>
#include <tuple>
#include <unordered_set>
#include <utility>

#include "line_editor/fuzzy_match.h"
#include "platform/paths.h"
#include "text/case_fold.h"
#include "text/char_class.h"
#include "text/compare.h"
#include "text/utf8.h"

namespace vantrel {

namespace {

using enum CompletionContext;

// The first, the last two and the count of the tokens before the caret; a
// line of a million words is walked once and nothing of it is kept.
struct TokenRun {
    size_t count = 0;
    Token first, previous, last;
};

TokenRun ReadTokens(std::string_view text, size_t from) {
    TokenRun run;
    Tokens tokens(text, from);
    for (Token token; tokens.Next(&token); ++run.count) {
        if (run.count == 0) run.first = token;
        run.previous = run.last;
        run.last = token;
    }
    return run;
}

bool LooksLikePath(std::string_view word) {
    return word.find_first_of("\\:") != std::string_view::npos;
}

// Inside an open marker pair the name after the last marker completes, and
// a chosen one closes it.
bool InsideMarker(std::string_view before, size_t from, const std::string& marker,
                  CompletionContext context, CompletionRequest* request) {
    const size_t open = OpenMarker(before, marker, from);
    if (open == std::string_view::npos) return false;
    request->context = context;
    text::MatchesAt(before, open, marker, &request->start);
    request->typed = std::string(before.substr(request->start));
    request->closing = marker;
    return true;
}

// Splits a path word into the folder part kept as typed and the name that
// is matched: "c:\win\sys" is "c:\win\" and "sys", "d:x" is "d:" and "x".
void SplitPath(const std::string& word, CompletionRequest* request) {
    request->lead = std::string(FolderOf(word));
    request->typed = std::string(NameOf(word));
}

// What is completed at an argument of a kind.
CompletionContext ContextOf(ArgKind kind) {
    switch (kind) {
        case ArgKind::kWords:
        case ArgKind::kText:
            return kWords;
        case ArgKind::kPath:
            return kPath;
        case ArgKind::kTarget:
            return kTarget;
        case ArgKind::kBatch:
            return kBatch;
        case ArgKind::kVariable:
        case ArgKind::kExpression:
            return kVariable;
        case ArgKind::kEnvironment:
            return kEnvironment;
        case ArgKind::kWindow:
            return kWindow;
        case ArgKind::kColour:
            return kColour;
        case ArgKind::kPassword:
            return kNone;
    }
    return kNone;
}

void CompleteArgument(std::string_view before, const TokenRun& tokens, const Token& word,
                      const CommandTable& table, CompletionRequest* r) {
    const CommandRow* row = FindRow(table, r->command);
    // The arguments of what is no built-in command are opened with it: paths.
    const ArgKind kind =
        row ? ArgumentAt(*row, r->argIndex, r->previous, &r->words) : ArgKind::kPath;
    const bool whole = row && row->arguments.whole;
    const std::string text(word.In(before));
    CompletionContext context = ContextOf(kind);
    size_t restStart = tokens.first.end;
    while (restStart < before.size() && before[restStart] == ' ') ++restStart;
    if (context == kWindow) {
        r->start = restStart;
        r->typed = std::string(before.substr(restStart));
    } else if (whole && context == kPath) {
        // The whole rest of the line, blanks and all.
        r->start = restStart;
        r->space = true;
        SplitPath(std::string(before.substr(restStart)), r);
    } else if (context == kVariable) {
        // Inside an expression only the name before the caret completes;
        // what follows a variable's "=" is no name.
        const size_t argsStart = tokens.first.end;
        if (kind == ArgKind::kVariable && before.find('=', argsStart) != std::string_view::npos) {
            context = kNone;
        }
        size_t start = before.size();
        while (start > argsStart && text::IsNameChar(before[start - 1])) --start;
        r->start = start;
        r->typed = std::string(before.substr(start));
    } else if (context == kEnvironment) {
        r->typed = std::string(before.substr(word.begin));
    } else if (context != kNone) {
        if (context != kPath && context != kTarget && LooksLikePath(text)) context = kPath;
        r->quoted = word.quoted;
        r->quote = !whole;
        r->space = true;
        SplitPath(text, r);
    }
    r->context = context;
}

}  // namespace

CompletionRequest ParseCompletion(std::string_view line, size_t caret, const LineMarkers& markers,
                                  const CommandTable& table) {
    const std::string_view before = line.substr(0, std::min(caret, line.size()));
    const size_t from = CommandStart(before, markers.separator, before.size());
    CompletionRequest r;
    for (const std::string* unsafe :
         {&markers.separator, &markers.variable, &markers.environment}) {
        if (!unsafe->empty()) r.unsafe.push_back(*unsafe);
    }
    r.start = before.size();
    if (InsideMarker(before, from, markers.environment, kEnvironment, &r) ||
        InsideMarker(before, from, markers.variable, kVariable, &r)) {
        return r;
    }
    TokenRun tokens = ReadTokens(before, from);
    // A blank before the caret starts a new, empty word.
    Token word{before.size(), before.size(), false};
    size_t index = tokens.count;
    if (tokens.count > 0 && tokens.last.end == before.size() &&
        (before.back() != ' ' || tokens.last.quoted)) {
        word = tokens.last;
        index = tokens.count - 1;
    }
    // A one-character command word may run on into its argument: the rest
    // of the first token is then the first argument.
    const Token first = tokens.first;
    if (tokens.count > 0 && !first.quoted &&
        RunOnWordLength(table, text::LowerCase(first.In(before))) < first.end - first.begin) {
        tokens.first.end = first.begin + 1;
        if (index == 0) word.begin = tokens.first.end;
        ++index;
    }
    r.start = word.begin;
    if (index == 0) {
        const std::string text(word.In(before));
        r.context = LooksLikePath(text) ? kPath : kCommandWord;
        r.quoted = word.quoted;
        r.quote = r.space = true;
        SplitPath(text, &r);
        return r;
    }
    r.command = text::LowerCase(tokens.first.In(before));
    r.argIndex = static_cast<int>(index);
    if (index >= 2 && tokens.count >= 2) {
        const Token& prev = index == tokens.count ? tokens.last : tokens.previous;
        r.previous = text::LowerCase(prev.In(before));
    }
    CompleteArgument(before, tokens, word, table, &r);
    return r;
}

std::vector<Candidate> RankCandidates(std::vector<Candidate> candidates, std::string_view typed,
                                      const UseWeight& weight) {
    struct Keyed {
        double weight;
        std::string folded;
        Candidate candidate;
    };
    std::vector<Keyed> keyed;
    std::unordered_set<std::string> seen;
    for (Candidate& c : candidates) {
        if (c.name.empty() || !text::StartsWithNoCase(c.name, typed)) continue;
        std::string folded = text::LowerCase(c.name);
        if (!seen.insert(folded).second) continue;
        keyed.push_back({weight ? weight(c) : 0, std::move(folded), std::move(c)});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return std::tie(b.weight, a.folded) < std::tie(a.weight, b.folded);
    });
    std::vector<Candidate> ranked;
    ranked.reserve(keyed.size());
    for (Keyed& k : keyed) ranked.push_back(std::move(k.candidate));
    return ranked;
}

std::vector<Candidate> RankFuzzy(const std::vector<Candidate>& pool, std::string_view typed,
                                 const UseWeight& weight, size_t most) {
    struct Keyed {
        NameMatch match;
        int firstSpread;  // the spread that counts before the weight
        double weight;
        size_t length;
        std::string folded;
        const Candidate* candidate;
    };
    std::vector<Keyed> keyed;
    std::unordered_set<std::string> seen;
    for (const Candidate& c : pool) {
        const std::optional<NameMatch> match = MatchName(c.name, typed);
        if (!match) continue;
        std::string folded = text::LowerCase(c.name);
        if (!seen.insert(folded).second) continue;
        // Letters found in order are as good as each other whatever lies
        // between them: there use decides first.
        const int firstSpread = match->quality == MatchQuality::kLettersInOrder ? 0 : match->spread;
        keyed.push_back(
            {*match, firstSpread, weight ? weight(c) : 0, c.name.size(), std::move(folded), &c});
    }
    const auto better = [](const Keyed& a, const Keyed& b) {
        return std::tie(a.match.quality, a.firstSpread, b.weight, a.match.spread, a.length,
                        a.folded) < std::tie(b.match.quality, b.firstSpread, a.weight,
                                             b.match.spread, b.length, b.folded);
    };
    const size_t kept = std::min(most, keyed.size());
    std::partial_sort(keyed.begin(), keyed.begin() + static_cast<std::ptrdiff_t>(kept), keyed.end(),
                      better);
    std::vector<Candidate> ranked;
    ranked.reserve(kept);
    for (size_t i = 0; i < kept; ++i) ranked.push_back(*keyed[i].candidate);
    return ranked;
}

std::string CommonPrefix(const std::vector<Candidate>& candidates) {
    if (candidates.empty()) return std::string();
    std::string prefix = candidates[0].name;
    for (const Candidate& c : candidates) {
        // Character by character, letter case folded: two characters may
        // share their first bytes.
        size_t n = 0, k = 0, end = 0;
        while (n < prefix.size() && k < c.name.size()) {
            const size_t next = n + text::utf8::Decode(prefix, n).bytes;
            const size_t length = text::utf8::Decode(c.name, k).bytes;
            if (!text::MatchesAt(c.name, k, std::string_view(prefix).substr(n, next - n), &end) ||
                end != k + length) {
                break;
            }
            n = next;
            k = end;
        }
        prefix.resize(n);
    }
    return prefix;
}

std::string CompletionText(const CompletionRequest& request, const Candidate& candidate,
                           bool finished) {
    std::string word = candidate.text.empty() ? request.lead + candidate.name : candidate.text;
    if (finished && candidate.folder) {
        if (!EndsInSeparator(word)) word += '\\';
        finished = false;
    }
    // Only what was typed may hold the separator or a marker: what the
    // completion adds is cut before its first.
    const size_t named = candidate.text.empty() ? request.lead.size() : 0;
    for (const std::string& unsafe : request.unsafe) {
        const size_t at = FindSeparator(word, unsafe, named);
        if (at != std::string::npos) {
            word.resize(at);
            finished = false;
        }
    }
    const bool quote = request.quoted || (request.quote && word.find(' ') != std::string::npos);
    std::string text = quote ? "\"" + word : word;
    if (finished) {
        if (quote) text += '"';
        text += request.closing;
        if (request.space) text += ' ';
    }
    return text;
}

std::vector<std::string> CandidateListLines(const std::vector<Candidate>& candidates,
                                            size_t maxLines) {
    std::vector<std::string> lines;
    if (maxLines == 0) return lines;
    const size_t shown = candidates.size() <= maxLines ? candidates.size() : maxLines - 1;
    for (size_t i = 0; i < shown; ++i) {
        lines.push_back(candidates[i].name + (candidates[i].folder ? "\\" : ""));
    }
    if (shown < candidates.size()) {
        lines.push_back("... and " + std::to_string(candidates.size() - shown) + " more");
    }
    return lines;
}

}  // namespace vantrel
