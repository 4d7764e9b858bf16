#pragma once

#include "platform/code_pages.h"

namespace vantrel::win32 {

// The system's conversions. The legacy and OEM code pages are the system
// locale's defaults, not GetACP()/GetOEMCP(): under a UTF-8 manifest those
// answer 65001 too.
class Win32CodePages : public CodePages {
  public:
    Win32CodePages();
    bool ProcessIsUtf8() const override { return process_ == kUtf8; }
    std::string FromLegacy(std::string_view bytes) const override;
    std::string ToLegacy(std::string_view text) const override;
    std::string FromOem(std::string_view bytes) const override;
    std::string ToOem(std::string_view text) const override;
    std::string FromUtf8(std::string_view bytes) const override;
    std::string FromUtf16(std::u16string_view units) const override;

    unsigned Legacy() const { return legacy_; }
    unsigned Oem() const { return oem_; }

  private:
    static constexpr unsigned kUtf8 = 65001;
    unsigned process_, legacy_, oem_;
};

}  // namespace vantrel::win32
