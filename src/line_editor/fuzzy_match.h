// How well a program's name answers a few typed letters that it does not
// simply begin with: the first letters of its words ("vsc" for Visual
// Studio Code), the start of a word inside it ("firef" for Mozilla
// Firefox), its letters in order ("vscod"), or a spelling a letter or two
// off ("notpead" for notepad). Letter case is ignored, and so is a trailing
// extension (".exe", ".lnk") except for the plain beginning.
#pragma once

#include <compare>
#include <optional>
#include <string_view>

namespace vantrel {

// Best first.
enum class MatchQuality {
    kPrefix,          // the name begins with the letters
    kWordStarts,      // beginnings of its words in order, from the first
    kInnerWord,       // the same, from a word inside the name
    kLettersInOrder,  // its letters in order, anywhere
    kNearSpelling,    // the name or a word of it, a letter or two off
};

struct NameMatch {
    MatchQuality quality = MatchQuality::kPrefix;
    // Within a quality, less is closer: words skipped, letters passed over
    // or letters to change.
    int spread = 0;

    auto operator<=>(const NameMatch&) const = default;
};

// The name without an extension of up to four letters or digits: "Code.exe"
// is "Code", "Notepad++" stays whole.
std::string_view NameStem(std::string_view name);

// How name matches typed, or nullopt when it does not. Typed letters count
// from one: an empty typed text matches nothing.
std::optional<NameMatch> MatchName(std::string_view name, std::string_view typed);

}  // namespace vantrel
