#include "interpreter/command_line.h"

#include "interpreter/line_text.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

size_t PrefixLength(std::string_view line) {
    return !line.empty() && (line[0] == '@' || line[0] == '&') ? 1 : 0;
}

size_t FindSeparator(std::string_view line, std::string_view separator, size_t from) {
    if (separator.empty()) return std::string_view::npos;
    return text::FindNoCase(line, separator, from);
}

size_t CommandStart(std::string_view line, std::string_view separator, size_t at) {
    size_t start = PrefixLength(line);
    size_t end;
    for (size_t from = start; (end = FindSeparator(line, separator, from)) < at;) {
        // A match ends where the separator's characters end, which ignoring
        // case need not be its length in bytes.
        text::MatchesAt(line, end, separator, &start);
        from = start;
    }
    return start;
}

size_t FindMarker(std::string_view line, std::string_view marker, size_t from) {
    if (marker.empty()) return std::string_view::npos;
    return text::FindNoCase(line, marker, from);
}

size_t OpenMarker(std::string_view text, std::string_view marker, size_t from) {
    size_t open = std::string_view::npos;
    size_t end;
    for (size_t at = FindMarker(text, marker, from); at != std::string_view::npos;
         at = FindMarker(text, marker, end)) {
        open = open == std::string_view::npos ? at : std::string_view::npos;
        text::MatchesAt(text, at, marker, &end);
    }
    return open;
}

std::string_view Token::In(std::string_view text) const {
    std::string_view token = text.substr(begin, end - begin);
    if (!quoted) return token;
    token.remove_prefix(1);
    if (!token.empty() && token.back() == '"') token.remove_suffix(1);
    return token;
}

bool Tokens::Next(Token* token) {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    if (at_ >= text_.size()) return false;
    token->begin = at_;
    token->quoted = text_[at_] == '"';
    if (token->quoted) {
        const size_t close = text_.find('"', at_ + 1);
        if (close == std::string_view::npos) {
            // An open quote runs to the end of the text, its trailing
            // blanks not included.
            token->end = text_.find_last_not_of(' ') + 1;
            at_ = text_.size();
        } else {
            // The character right after a closing quote begins the next
            // token: no blank is needed.
            token->end = close + 1;
            at_ = close + 1;
        }
    } else {
        const size_t space = text_.find(' ', at_);
        token->end = space == std::string_view::npos ? text_.size() : space;
        at_ = token->end;
    }
    return true;
}

std::string ParseArgs(std::string_view text, int n) {
    Tokens tokens(text);
    Token token;
    for (int i = 1; i <= n; ++i) {
        // Past the last token every further one is empty: stop early so a
        // huge n costs nothing.
        if (!tokens.Next(&token)) return std::string();
    }
    return n > 0 ? std::string(token.In(text)) : std::string();
}

std::vector<std::string> SplitArgs(std::string_view text) {
    std::vector<std::string> args;
    Tokens tokens(text);
    for (Token token; tokens.Next(&token);) args.emplace_back(token.In(text));
    return args;
}

std::string Command::Arg(int n) const {
    return GetArg(line, n);
}

Command ParseCommand(std::string_view text) {
    Command command;
    command.line = std::string(TrimSpaces(text));
    const std::string word = ParseArgs(command.line, 1);
    command.word = text::LowerCase(word);
    if (word.size() + 1 < command.line.size()) {
        command.args =
            std::string(TrimSpaces(std::string_view(command.line).substr(word.size() + 1)));
    }
    command.argsLower = text::LowerCase(command.args);
    return command;
}

}  // namespace vantrel
