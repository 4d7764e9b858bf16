// How bytes from outside become the process's text. Files written by
// earlier versions, by hand or by peers hold the legacy ANSI code page;
// those this version writes hold the process's text, UTF-8 where the system
// honours that; programs write the OEM code page, or UTF-16 when asked to.
// Nothing says which a file holds except the bytes themselves, so the rules
// here read them: a byte-order mark decides, else text that is valid UTF-8
// is UTF-8 (legacy text is hardly ever valid UTF-8 unless it is plain
// ASCII, which reads the same either way), else the fallback code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_pages.h"

namespace vantrel {

// What a stretch of bytes is, read as UTF-8: the first `valid` bytes are
// well-formed; `torn` tells that the bytes after them are the start of a
// well-formed character that the end of the bytes cut off.
struct Utf8Scan {
    size_t valid;
    bool torn;
};
Utf8Scan ScanUtf8(std::string_view bytes);

// The code page that bytes which are no UTF-8 are read in.
enum class Fallback { kLegacy, kOem };

// Whether one decision holds for a whole file, or each line is decided on
// its own: a file that older and newer versions both appended to holds
// lines of both kinds.
enum class LineMix { kWholeFile, kPerLine };

// A stored file's bytes as the process's text: a UTF-8 byte-order mark is
// dropped and the rest is UTF-8; a UTF-16 one (either byte order) makes the
// file UTF-16; otherwise valid UTF-8 is UTF-8 and anything else legacy.
std::string DecodeStoredText(const CodePages& pages, std::string_view bytes,
                             LineMix mix = LineMix::kPerLine);

// The lines of a file's text: CR LF, or a lone one of the break characters,
// ends one; the terminator is not part of the line, and a last terminator
// adds no empty line after it.
std::vector<std::string> SplitLines(std::string_view text, std::string_view breaks = "\r\n");

// The same rules for bytes that arrive in parts (a file read a piece at a
// time, a program's output as it writes it), line by line. A line is
// decided once it is complete, so the text of Next ends at a line end; a
// character torn between two parts is joined before it is decoded.
class TextDecoder {
  public:
    // guessUtf16: without a byte-order mark, zero bytes at every other
    // place (what a program writes in UTF-16, "cmd /u") mean UTF-16 too.
    TextDecoder(const CodePages& pages, Fallback fallback, bool guessUtf16);

    // The text of the lines that these bytes complete.
    std::string Next(std::string_view bytes);
    // At the end of the bytes: the rest as it stands.
    std::string Finish();
    // When the bytes were cut short (a read limit): the rest without a
    // character torn at the cut, which would otherwise show as garbage.
    std::string Cut();

  private:
    enum class Form { kUnknown, kBytes, kUtf8, kUtf16Le, kUtf16Be };

    bool Start(bool atEnd);
    std::string TakeUtf16(bool atEnd, bool dropTorn);
    std::string TakeLines(size_t end);
    std::string TakeLongLine();
    std::string Decode(std::string_view bytes, bool utf8) const;

    const CodePages& pages_;
    const Fallback fallback_;
    const bool guessUtf16_;
    Form form_ = Form::kUnknown;
    std::string held_;
};

}  // namespace vantrel
