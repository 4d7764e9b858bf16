#include "console/completion.h"

#include <algorithm>
#include <utility>

#include "interpreter/text.h"
#include "text/case_fold.h"
#include "text/compare.h"
#include "text/utf8.h"

namespace vantrel {

namespace {

// What the arguments of a built-in command are. quote says whether the
// command reads its arguments quote-aware: MD and RD, FOCUS and the like
// take the whole argument text as it is, so a quote would become part of a
// name.
struct ArgumentRule {
    std::string_view word;
    CompletionContext first;  // the first argument
    CompletionContext later;  // the arguments after it
    bool quote;
};

using enum CompletionContext;

constexpr ArgumentRule kArgumentRules[] = {
    {"cd", kPath, kPath, true},
    {"chdir", kPath, kPath, true},
    {"cdd", kPath, kPath, true},
    {"dir", kPath, kPath, true},
    {"type", kPath, kPath, true},
    {"edit", kPath, kPath, true},
    {"del", kPath, kPath, true},
    {"rm", kPath, kPath, true},
    {"delete", kPath, kPath, true},
    {"copy", kPath, kPath, true},
    {"cp", kPath, kPath, true},
    {"move", kPath, kPath, true},
    {"mv", kPath, kPath, true},
    {"rename", kPath, kPath, true},
    {"rn", kPath, kPath, true},
    {"ren", kPath, kPath, true},
    {"name", kPath, kPath, true},
    {"md", kPath, kPath, false},
    {"mkdir", kPath, kPath, false},
    {"rd", kPath, kPath, false},
    {"rmdir", kPath, kPath, false},
    {"run", kTarget, kPath, true},
    {"runmax", kTarget, kPath, true},
    {"runmin", kTarget, kPath, true},
    {"runhide", kTarget, kPath, true},
    {"addbatch", kBatch, kPath, true},
    {"adddcb", kBatch, kPath, true},
    {"addshortcut", kBatch, kPath, true},
    {"editbatch", kBatch, kNone, true},
    {"editdcb", kBatch, kNone, true},
    {"editshortcut", kBatch, kNone, true},
    {"delbatch", kBatch, kNone, true},
    {"deldcb", kBatch, kNone, true},
    {"delshortcut", kBatch, kNone, true},
    {"set", kVariable, kVariable, false},
    {"let", kVariable, kVariable, false},
    {"setvb", kVariable, kVariable, false},
    {"print", kVariable, kVariable, false},
    {"?", kVariable, kVariable, false},
    {"calc", kVariable, kVariable, false},
    {"urlhex", kVariable, kNone, false},
    {"vb", kVariable, kVariable, false},
    {"vbscript", kVariable, kVariable, false},
    {"basic", kVariable, kVariable, false},
    {"!", kVariable, kVariable, false},
    {"env", kEnvironment, kNone, false},
    {"environ", kEnvironment, kNone, false},
    {"focus", kWindow, kWindow, false},
    {"activate", kWindow, kWindow, false},
    {"close", kWindow, kWindow, false},
    {"kill", kWindow, kWindow, false},
    {"terminate", kWindow, kWindow, false},
    {"wins", kWindow, kWindow, false},
    {"windows", kWindow, kWindow, false},
    {"colour", kColour, kColour, true},
    {"color", kColour, kColour, true},
};

const ArgumentRule* RuleFor(std::string_view command) {
    for (const ArgumentRule& rule : kArgumentRules) {
        if (rule.word == command) return &rule;
    }
    return nullptr;
}

// A quote-aware token of the command, as the interpreter splits arguments:
// a quoted one runs to its closing quote (or to the caret), any other to
// the next space.
struct Token {
    size_t start = 0;
    size_t end = 0;
};

// The first, the last two and the count of the tokens before the caret; a
// line of a million words is walked once and nothing of it is kept.
struct Tokens {
    size_t count = 0;
    Token first, previous, last;
};

Tokens Tokenize(std::string_view text, size_t from) {
    Tokens tokens;
    size_t i = from;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        Token token{i, text.size()};
        size_t end = text[i] == '"' ? text.find('"', i + 1) : text.find(' ', i);
        if (end != std::string_view::npos) token.end = text[i] == '"' ? end + 1 : end;
        if (tokens.count == 0) tokens.first = token;
        tokens.previous = tokens.last;
        tokens.last = token;
        ++tokens.count;
        i = token.end;
    }
    return tokens;
}

std::string Unquoted(std::string_view text) {
    if (text.empty() || text[0] != '"') return std::string(text);
    text.remove_prefix(1);
    if (!text.empty() && text.back() == '"') text.remove_suffix(1);
    return std::string(text);
}

bool LooksLikePath(std::string_view word) {
    return word.find_first_of("\\:") != std::string_view::npos;
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Inside an open marker pair (an odd count of markers before the caret)
// the name after the last marker completes, and a chosen one closes it.
bool InsideMarker(std::string_view before, size_t from, const std::string& marker,
                  CompletionContext context, CompletionRequest* request) {
    if (marker.empty()) return false;
    size_t count = 0, last = 0;
    for (size_t at = before.find(marker, from); at != std::string_view::npos;
         at = before.find(marker, at + marker.size())) {
        ++count;
        last = at;
    }
    if (count % 2 == 0) return false;
    request->context = context;
    request->start = last + marker.size();
    request->typed = std::string(before.substr(request->start));
    request->closing = marker;
    return true;
}

// Splits a path word into the folder part kept as typed and the name that
// is matched: "c:\win\sys" is "c:\win\" and "sys", "d:x" is "d:" and "x".
void SplitPath(const std::string& word, CompletionRequest* request) {
    size_t cut = word.find_last_of("\\/");
    if (cut == std::string::npos && word.size() >= 2 && word[1] == ':') cut = 1;
    cut = cut == std::string::npos ? 0 : cut + 1;
    request->lead = word.substr(0, cut);
    request->typed = word.substr(cut);
}

void CompleteArgument(std::string_view before, const Tokens& tokens, const Token& word,
                      CompletionRequest* r) {
    const ArgumentRule* rule = RuleFor(r->command);
    const std::string text = Unquoted(before.substr(word.start));
    CompletionContext context = rule ? (r->argIndex == 1 ? rule->first : rule->later) : kWords;
    // The window commands, MD and RD take the whole rest of the line,
    // blanks and all.
    const bool wholeRest = context == kWindow || (rule && !rule->quote && context == kPath);
    size_t restStart = tokens.first.end;
    while (restStart < before.size() && before[restStart] == ' ') ++restStart;
    if (context == kWindow) {
        r->start = restStart;
        r->typed = std::string(before.substr(restStart));
    } else if (wholeRest) {
        r->start = restStart;
        r->quote = false;
        r->space = true;
        SplitPath(std::string(before.substr(restStart)), r);
    } else if (context == kVariable) {
        // Inside an expression only the name before the caret completes;
        // SET's value is no name.
        const size_t argsStart = tokens.first.end;
        if (r->command == "set" && before.find('=', argsStart) != std::string_view::npos) {
            context = kNone;
        }
        size_t start = before.size();
        while (start > argsStart && IsNameChar(before[start - 1])) --start;
        r->start = start;
        r->typed = std::string(before.substr(start));
    } else if (context == kEnvironment) {
        r->typed = std::string(before.substr(word.start));
    } else {
        if (context != kPath && context != kTarget && LooksLikePath(text)) context = kPath;
        r->quoted = word.start < before.size() && before[word.start] == '"';
        r->quote = rule ? rule->quote : true;
        r->space = true;
        SplitPath(text, r);
    }
    r->context = context;
}

}  // namespace

CompletionRequest ParseCompletion(std::string_view line, size_t caret,
                                  const CompletionMarkers& markers) {
    const std::string_view before = line.substr(0, std::min(caret, line.size()));
    size_t from = 0;
    if (!markers.separator.empty()) {
        size_t at = before.rfind(markers.separator);
        if (at != std::string_view::npos) from = at + markers.separator.size();
    }
    // A line's leading "&" or "@" (keep the output, no echo) is no part of
    // its first word.
    if (from == 0 && !before.empty() && (before[0] == '&' || before[0] == '@')) from = 1;
    CompletionRequest r;
    r.start = before.size();
    if (InsideMarker(before, from, markers.environment, kEnvironment, &r) ||
        InsideMarker(before, from, markers.variable, kVariable, &r)) {
        return r;
    }
    Tokens tokens = Tokenize(before, from);
    // A blank before the caret starts a new, empty word.
    Token word{before.size(), before.size()};
    size_t index = tokens.count;
    if (tokens.count > 0 && tokens.last.end == before.size() &&
        (before.back() != ' ' || before[tokens.last.start] == '"')) {
        word = tokens.last;
        index = tokens.count - 1;
    }
    // "?x" and "!x" are "? x" and "! x": their command word is one character.
    const Token first = tokens.first;
    if (tokens.count > 0 && first.end - first.start > 1 &&
        (before[first.start] == '?' || before[first.start] == '!')) {
        tokens.first.end = first.start + 1;
        if (index == 0) word.start = tokens.first.end;
        ++index;
    }
    r.start = word.start;
    if (index == 0) {
        const std::string text = Unquoted(before.substr(word.start));
        r.context = LooksLikePath(text) ? kPath : kCommandWord;
        r.quoted = word.start < before.size() && before[word.start] == '"';
        r.quote = r.space = true;
        SplitPath(text, &r);
        return r;
    }
    r.command = text::LowerCase(
        Unquoted(before.substr(tokens.first.start, tokens.first.end - tokens.first.start)));
    r.argIndex = static_cast<int>(index);
    if (index >= 2 && tokens.count >= 2) {
        const Token& prev = index == tokens.count ? tokens.last : tokens.previous;
        r.previous = text::LowerCase(Unquoted(before.substr(prev.start, prev.end - prev.start)));
    }
    CompleteArgument(before, tokens, word, &r);
    return r;
}

std::vector<Candidate> RankCandidates(std::vector<Candidate> candidates, std::string_view typed) {
    std::vector<std::pair<std::string, Candidate>> keyed;
    for (Candidate& c : candidates) {
        if (!text::StartsWithNoCase(c.name, typed) || c.name.empty()) continue;
        keyed.emplace_back(text::LowerCase(c.name), std::move(c));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Candidate> ranked;
    for (size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && keyed[i].first == keyed[i - 1].first) continue;
        ranked.push_back(std::move(keyed[i].second));
    }
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
        if (word.empty() || word.back() != '\\') word += '\\';
        finished = false;
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
