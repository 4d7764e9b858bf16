#include "interpreter/variables.h"

#include <algorithm>

#include "text/case_fold.h"
#include "text/char_class.h"
#include "text/compare.h"
#include "text/hex.h"

namespace vantrel {

namespace {

constexpr size_t kMaxNameLength = 255;

bool NameLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(text::AsciiLower(a[i]));
        unsigned char y = static_cast<unsigned char>(text::AsciiLower(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

}  // namespace

bool IsVariableName(std::string_view text) {
    if (text.empty() || text.size() > kMaxNameLength || !text::IsAsciiLetter(text[0])) return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return text::IsNameChar(c); });
}

bool Variables::SetVar(const std::string& name, const std::string& value) {
    // The value is stored as it is, never compiled. A quote or a line break
    // is still refused: every value must survive being written back as one
    // `set` line of a batch file.
    bool ok = IsVariableName(name) && value.find_first_of("\"\r\n") == std::string::npos;
    if (ok) ok = engine_.AssignText(name, value);
    if (!ok || value.empty()) {
        Unlist(name);
        return ok;
    }
    auto at = std::lower_bound(names_.begin(), names_.end(), name, NameLess);
    if (at == names_.end() || !text::EqualsNoCase(*at, name)) names_.insert(at, name);
    return true;
}

void Variables::Unlist(const std::string& name) {
    auto at = std::lower_bound(names_.begin(), names_.end(), name, NameLess);
    if (at != names_.end() && text::EqualsNoCase(*at, name)) names_.erase(at);
}

std::string UrlHex(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == ' ') {
            out += '+';
        } else if (text::IsAsciiLetterOrDigit(c)) {
            out += c;
        } else {
            out += '%';
            out += ::text::kHexDigits[u >> 4];
            out += ::text::kHexDigits[u & 15];
        }
    }
    return out;
}

}  // namespace vantrel
