// Text between the console's single-byte code page and the UTF-16 the
// system's wide functions and COM take.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::win32 {

std::wstring Widen(std::string_view text);
std::string Narrow(const wchar_t* text, size_t length);

}  // namespace vantrel::win32
