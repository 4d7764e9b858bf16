// The one way test data writes what a line of text cannot show: \r \n \t
// \f \b and \0 for those characters, \\ for a backslash and \xHH for any
// byte (edge blanks as \x20). A backslash before anything else is itself,
// so that a path reads as written (C:\Work); one before r, n, t, f, b, 0, x
// or another backslash is doubled (C:\\temp).
#pragma once

#include <string>
#include <string_view>

#include "text/hex.h"

namespace vantrel::testing {

inline std::string Unescaped(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const size_t named = std::string_view("rntfb0\\").find(next);
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
        } else if (named != std::string_view::npos) {
            out += "\r\n\t\f\b\0\\"[named];
            ++i;
        } else if (const int byte = next == 'x' ? text::ReadHex(text, i + 2, 2) : -1; byte >= 0) {
            out += static_cast<char>(byte);
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace vantrel::testing
