// The one way test data writes what a line of text cannot show: \r \n \t
// \f \b and \0 for those characters, \\ for a backslash and \xHH for any
// byte (edge blanks as \x20). A backslash before anything else is itself,
// so that a path reads as written (C:\Work); one before r, n, t, f, b, 0, x
// or another backslash is doubled (C:\\temp).
#pragma once

#include <string>
#include <string_view>

namespace vantrel::testing {

inline std::string Unescaped(std::string_view text) {
    auto hex = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const size_t named = std::string_view("rntfb0\\").find(next);
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
        } else if (named != std::string_view::npos) {
            out += "\r\n\t\f\b\0\\"[named];
            ++i;
        } else if (next == 'x' && i + 3 < text.size() && hex(text[i + 2]) >= 0 &&
                   hex(text[i + 3]) >= 0) {
            out += static_cast<char>(hex(text[i + 2]) * 16 + hex(text[i + 3]));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace vantrel::testing
