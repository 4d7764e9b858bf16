// Marker expansion of a command line: text between two markers is replaced
// by its value, again and again until no pair of markers is left.
#pragma once

#include <functional>
#include <string>

namespace vantrel {

struct ExpansionResult {
    bool stopped = false;  // a bound was hit; message says which
    std::string message;
};

// Expands marker + name + marker pairs in *line with lookup(name). A name
// that comes back after it was expanded (a value that refers to itself,
// directly or through others) stops the expansion, as do kMaxExpansions
// replacements or a line longer than kMaxLineLength; the rest stays as text.
ExpansionResult ExpandMarkers(std::string* line, const std::string& marker,
                              const std::function<std::string(const std::string&)>& lookup);

// A marker that is one character of the legacy code page is matched as that
// character however it arrived: its legacy byte standing alone in the line
// (text that reached it undecoded) becomes the marker's own bytes.
// legacyByte is the marker's byte in the legacy code page.
void MatchLegacyMarker(std::string* line, const std::string& marker, char legacyByte);

constexpr int kMaxExpansions = 1000;
constexpr size_t kMaxLineLength = 1 << 20;

}  // namespace vantrel
