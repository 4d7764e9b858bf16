#include "interpreter/colours.h"

#include "platform/paths.h"
#include "platform/text_decoding.h"
#include "text/compare.h"
#include "text/hex.h"

namespace vantrel {

namespace {

constexpr char kColourFile[] = "Colours.txt";

// Two characters read as a hexadecimal number prefix: "0F" is 15, "F" and
// then anything else is 15, nothing readable is 0.
int HexPair(std::string_view text, size_t at) {
    return at < text.size() ? static_cast<int>(text::LeadingHex(text.substr(at), 2)) : 0;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> NamedColours(const FileSystem& files,
                                                              const CodePages& pages) {
    std::vector<std::pair<std::string, std::string>> named;
    std::string bytes, err;
    if (!files.ReadFile(JoinPath(files.ProgramFolder(), kColourFile), &bytes, &err)) return named;
    for (std::string& line : SplitLines(DecodeStoredText(pages, bytes, LineMix::kWholeFile))) {
        const size_t space = line.find(' ');
        if (space == 0 || space == std::string::npos || line[0] == '#') continue;
        named.emplace_back(line.substr(0, space), line.substr(space + 1));
    }
    return named;
}

Colour ParseColour(std::string_view text, const FileSystem& files, const CodePages& pages) {
    std::string c(text);
    if (c.empty() || c[0] != '#') {
        // The first line that names it gives the colour.
        for (auto& [name, colour] : NamedColours(files, pages)) {
            if (text::EqualsNoCase(name, c)) {
                c = std::move(colour);
                break;
            }
        }
        if (c.empty() || c[0] != '#') c = "#" + c;
    }
    return static_cast<Colour>(HexPair(c, 1) + 256 * HexPair(c, 3) + 65536 * HexPair(c, 5));
}

}  // namespace vantrel
