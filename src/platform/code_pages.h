// The code pages text crosses on its way in and out of the console. The
// process's own text is UTF-8 where the system honours the manifest's code
// page, and the system's legacy ANSI code page where it does not; files of
// earlier versions and peers on the wire speak the legacy one, and console
// programs write in the OEM one.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

class CodePages {
  public:
    virtual ~CodePages() = default;
    // Whether the process's text is UTF-8.
    virtual bool ProcessIsUtf8() const = 0;
    // Bytes of the legacy ANSI code page as the process's text, and back; a
    // character with no byte there becomes '?'.
    virtual std::string FromLegacy(std::string_view bytes) const = 0;
    virtual std::string ToLegacy(std::string_view text) const = 0;
    // Bytes of the system's OEM code page (what console programs write, and
    // read from a batch file), and back; '?' as for the legacy one.
    virtual std::string FromOem(std::string_view bytes) const = 0;
    virtual std::string ToOem(std::string_view text) const = 0;
    // UTF-8, or UTF-16 units, as the process's text.
    virtual std::string FromUtf8(std::string_view bytes) const = 0;
    virtual std::string FromUtf16(std::u16string_view units) const = 0;
};

}  // namespace vantrel
