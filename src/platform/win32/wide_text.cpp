#include "platform/win32/wide_text.h"

#include "platform/win32/win32_api.h"
#include "text/utf8.h"

namespace vantrel::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide text");

bool ProcessIsUtf8() {
    static const bool utf8 = GetACP() == CP_UTF8;
    return utf8;
}

std::wstring Widen(std::string_view text, bool utf8) {
    if (text.empty()) return {};
    if (utf8) {
        const std::u16string units = text::utf8::ToUtf16(text);
        return std::wstring(units.begin(), units.end());
    }
    // A byte of a single-byte code page is one UTF-16 unit at most.
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(size), L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), size);
    wide.resize(static_cast<size_t>(n > 0 ? n : 0));
    return wide;
}

std::string Narrow(const wchar_t* text, size_t length, bool utf8) {
    if (!text || length == 0) return {};
    if (utf8) {
        return text::utf8::FromUtf16(
            std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
    }
    const int size = static_cast<int>(length);
    const int n = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, size, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

}  // namespace vantrel::win32
