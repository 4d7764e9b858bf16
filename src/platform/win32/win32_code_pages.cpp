#include "platform/win32/win32_code_pages.h"

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

unsigned LocaleCodePage(LCTYPE which, unsigned fallback) {
    DWORD page = 0;
    const int n = GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, which | LOCALE_RETURN_NUMBER,
                                 reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(WCHAR));
    // A locale with no code page of its own (Unicode-only ones) answers 0 (CP_ACP).
    return n > 0 && page > 1 ? page : fallback;
}

std::string Narrow(const wchar_t* units, size_t count, unsigned page, bool noBestFit) {
    if (count == 0) return {};
    const int size = static_cast<int>(count);
    // Best fit would turn "ā" into "a" on the wire; the peer should see that
    // something was lost.
    const DWORD flags = noBestFit && page != CP_UTF8 ? WC_NO_BEST_FIT_CHARS : 0;
    const int n = WideCharToMultiByte(page, flags, units, size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(page, flags, units, size, out.data(), n, nullptr, nullptr);
    return out;
}

std::string Convert(std::string_view bytes, unsigned from, unsigned to) {
    if (bytes.empty()) return {};
    if (from == to) return std::string(bytes);
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(from, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(from, 0, bytes.data(), size, wide.data(), n);
    return Narrow(wide.data(), wide.size(), to, true);
}

}  // namespace

Win32CodePages::Win32CodePages()
    : process_(GetACP()),
      legacy_(LocaleCodePage(LOCALE_IDEFAULTANSICODEPAGE, 1252)),
      oem_(LocaleCodePage(LOCALE_IDEFAULTCODEPAGE, 437)) {}

std::string Win32CodePages::FromLegacy(std::string_view bytes) const {
    return Convert(bytes, legacy_, process_);
}

std::string Win32CodePages::ToLegacy(std::string_view text) const {
    return Convert(text, process_, legacy_);
}

std::string Win32CodePages::FromOem(std::string_view bytes) const {
    return Convert(bytes, oem_, process_);
}

std::string Win32CodePages::ToOem(std::string_view text) const {
    return Convert(text, process_, oem_);
}

std::string Win32CodePages::FromUtf8(std::string_view bytes) const {
    return Convert(bytes, kUtf8, process_);
}

std::string Win32CodePages::FromUtf16(std::u16string_view units) const {
    return Narrow(reinterpret_cast<const wchar_t*>(units.data()), units.size(), process_, false);
}

}  // namespace vantrel::win32
