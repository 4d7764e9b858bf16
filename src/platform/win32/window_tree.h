// A window's text, its class name and its child windows: for the windows'
// own code, and for code that reads windows it did not make (the end-to-end
// probe, the tests of the system's own dialog boxes).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// The whole text, however long, as the window holds it.
inline std::wstring WideWindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    const int read = GetWindowTextW(window, wide.data(), length + 1);
    wide.resize(static_cast<size_t>(read > 0 ? read : 0));
    return wide;
}

// The whole text in the process's code page. Read as UTF-16 and converted
// here: the A length of a Unicode window's text is only an estimate.
inline std::string WindowText(HWND window) {
    const std::wstring wide = WideWindowText(window);
    const int read = static_cast<int>(wide.size());
    if (read == 0) return std::string();
    const int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), read, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), read, text.data(), size, nullptr, nullptr);
    return text;
}

inline std::string ClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Every descendant, in the order the system enumerates them.
inline std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

}  // namespace vantrel::win32
