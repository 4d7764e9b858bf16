// A window's class name and its child windows, for code that reads windows
// it did not make: the end-to-end probe, and the tests of the system's own
// dialog boxes.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

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
