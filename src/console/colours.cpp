#include "console/colours.h"

#include <string>

#include "interpreter/text.h"
#include "platform/text_decoding.h"
#include "text/compare.h"
#include "text/hex.h"

namespace vantrel {

namespace {

constexpr char kColourFile[] = "Colours.txt";

// Looks a name up in Colours.txt: the first line that begins with the name
// and a space gives the rest of the line.
bool LookUpName(std::string_view name, const FileSystem& files, const CodePages& pages,
                std::string* colour) {
    std::string bytes, err;
    if (!files.ReadFile(files.ProgramFolder() + "\\" + kColourFile, &bytes, &err)) return false;
    const std::string contents = DecodeStoredText(pages, bytes, LineMix::kWholeFile);
    std::string prefix = std::string(name) + " ";
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string::npos) end = contents.size();
        std::string_view line = std::string_view(contents).substr(start, end - start);
        if (text::StartsWithNoCase(line, prefix)) {
            *colour = std::string(line.substr(prefix.size()));
            return true;
        }
        start = end + (contents.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return false;
}

// Two characters read as a hexadecimal number prefix: "0F" is 15, "F" and
// then anything else is 15, nothing readable is 0.
int HexPair(std::string_view text, size_t at) {
    return at < text.size() ? static_cast<int>(text::LeadingHex(text.substr(at), 2)) : 0;
}

}  // namespace

Colour ParseColour(std::string_view text, const FileSystem& files, const CodePages& pages) {
    std::string c(text);
    if (c.empty() || c[0] != '#') {
        std::string named;
        if (LookUpName(c, files, pages, &named)) c = named;
        if (c.empty() || c[0] != '#') c = "#" + c;
    }
    return static_cast<Colour>(HexPair(c, 1) + 256 * HexPair(c, 3) + 65536 * HexPair(c, 5));
}

}  // namespace vantrel
