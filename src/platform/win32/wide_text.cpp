#include "platform/win32/wide_text.h"

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    // A byte of a single-byte code page is one UTF-16 unit at most.
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(size), L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), size);
    wide.resize(static_cast<size_t>(n > 0 ? n : 0));
    return wide;
}

std::string Narrow(const wchar_t* text, size_t length) {
    if (!text || length == 0) return {};
    const int size = static_cast<int>(length);
    const int n = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, size, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

}  // namespace vantrel::win32
