#include "interpreter/line_secrets.h"

#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

namespace {

constexpr std::string_view kSecretWords[] = {"password", "passwd", "pwd",
                                             "token",    "apikey", "secret"};

// Where the password of one command begins, npos when it has none.
size_t CommandPassword(std::string_view line, size_t start, size_t end, const CommandTable& table) {
    const std::string_view command = line.substr(0, end);
    Tokens tokens(command, start);
    Token word;
    if (!tokens.Next(&word)) return std::string_view::npos;
    const CommandRow* row = FindRow(table, text::LowerCase(word.In(command)));
    const int index = row ? PasswordIndex(*row) : 0;
    if (index == 0) return std::string_view::npos;
    Token arg;
    for (int i = 1; i <= index; ++i) {
        if (!tokens.Next(&arg)) return std::string_view::npos;
    }
    return arg.begin;
}

}  // namespace

bool KeptPrivate(std::string_view line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

bool NamesSecret(std::string_view line) {
    for (std::string_view word : kSecretWords) {
        if (text::FindNoCase(line, word) != std::string_view::npos) return true;
    }
    return false;
}

bool WordFromMarker(std::string_view line, const LineMarkers& markers) {
    return AnyCommand(line, markers.separator, [&](size_t start, size_t end) {
        const std::string_view command = line.substr(0, end);
        Token word;
        if (!Tokens(command, start).Next(&word)) return false;
        const std::string_view text = command.substr(word.begin, word.end - word.begin);
        return FindMarker(text, markers.variable) != std::string_view::npos ||
               FindMarker(text, markers.environment) != std::string_view::npos;
    });
}

bool Unrecorded(std::string_view line, const LineMarkers& markers, const CommandTable& table) {
    return AnyCommandRow(line, markers.separator, table,
                         [](const CommandRow& row) { return row.unrecorded; });
}

size_t PasswordStart(std::string_view line, const LineMarkers& markers, const CommandTable& table) {
    size_t password = std::string_view::npos;
    AnyCommand(line, markers.separator, [&](size_t start, size_t end) {
        password = CommandPassword(line, start, end, table);
        return password != std::string_view::npos;
    });
    return password;
}

std::string MaskSecrets(std::string_view line, const LineMarkers& markers,
                        const CommandTable& table) {
    const size_t password = PasswordStart(line, markers, table);
    if (password == std::string_view::npos) return std::string(line);
    return std::string(line.substr(0, password)) + kSecretMask;
}

}  // namespace vantrel
