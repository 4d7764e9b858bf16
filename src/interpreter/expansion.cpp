#include "interpreter/expansion.h"

#include <set>

#include "interpreter/command_line.h"
#include "text/case_fold.h"
#include "text/compare.h"
#include "text/utf8.h"

namespace vantrel {

ExpansionResult ExpandMarkers(std::string* line, const std::string& marker,
                              const std::function<std::string(const std::string&)>& lookup) {
    ExpansionResult result;
    if (marker.empty()) return result;
    std::set<std::string> expanded;
    for (int count = 0;; ++count) {
        size_t open = FindMarker(*line, marker);
        if (open == std::string::npos) return result;
        size_t nameStart = open + marker.size();
        size_t close = FindMarker(*line, marker, nameStart);
        if (close == std::string::npos) return result;
        std::string name = line->substr(nameStart, close - nameStart);
        std::string token = marker + name + marker;
        // Every occurrence is replaced at once, so a name met again can only
        // have come back through a value.
        if (!expanded.insert(text::LowerCase(name)).second) {
            result.stopped = true;
            result.message = token + " expands to itself; left as typed";
            return result;
        }
        if (count == kMaxExpansions) {
            result.stopped = true;
            result.message = "Too many variables to expand; the rest is left as typed";
            return result;
        }
        std::string expandedLine = text::ReplaceAll(*line, token, lookup(name), true);
        if (expandedLine.size() > kMaxLineLength) {
            result.stopped = true;
            result.message = "Expanded line too long; " + token + " left as typed";
            return result;
        }
        *line = std::move(expandedLine);
    }
}

void MatchLegacyMarker(std::string* line, const std::string& marker, char legacyByte) {
    if (static_cast<unsigned char>(legacyByte) < 0x80 || marker.size() < 2) return;
    if (line->find(legacyByte) == std::string::npos) return;
    std::string out;
    out.reserve(line->size() + marker.size());
    for (size_t i = 0; i < line->size();) {
        const text::utf8::Char c = text::utf8::Decode(*line, i);
        if (!c.valid && c.bytes == 1 && (*line)[i] == legacyByte) {
            out += marker;
        } else {
            out.append(*line, i, c.bytes);
        }
        i += c.bytes;
    }
    *line = std::move(out);
}

}  // namespace vantrel
