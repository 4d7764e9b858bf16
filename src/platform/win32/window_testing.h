// Helpers for tests that make real windows and read them back.
#pragma once

#include <array>
#include <string>
#include <utility>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32::testing {

// A STATIC popup of this thread, destroyed with its owner.
inline UniqueWindow MakeWindow(const std::string& title, DWORD style = WS_POPUP | WS_VISIBLE,
                               DWORD exStyle = 0, RECT at = {10, 10, 110, 30}) {
    return UniqueWindow(CreateWindowExA(exStyle, "STATIC", title.c_str(), style, at.left, at.top,
                                        at.right - at.left, at.bottom - at.top, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr));
}

// Left, top, right and bottom on the screen, or in parent's client area.
using Edges = std::array<LONG, 4>;
inline Edges EdgesOf(HWND window, HWND parent = nullptr) {
    RECT r{};
    GetWindowRect(window, &r);
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

inline bool HasStyle(HWND window, LONG bits, int which = GWL_STYLE) {
    return (GetWindowLongA(window, which) & bits) == bits;
}

// An edit control's selection: start and end.
inline std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// What parent answers a control's WM_CTLCOLOR... message with: the text
// colour, the background colour and the brush's colour.
inline std::array<COLORREF, 3> PaintColours(HWND parent, UINT message, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
        parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    LOGBRUSH logBrush{};
    GetObjectA(brush, sizeof logBrush, &logBrush);
    std::array<COLORREF, 3> colours{GetTextColor(dc), GetBkColor(dc), logBrush.lbColor};
    DeleteDC(dc);
    return colours;
}

}  // namespace vantrel::win32::testing
