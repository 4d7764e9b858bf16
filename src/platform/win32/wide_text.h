// The process's text and the UTF-16 that the system's wide calls and COM
// take. In a UTF-8 process (the manifest's code page) the text layer's
// conversion carries every unit both ways, a lone half of a pair included,
// and a byte that is not UTF-8 goes as its Windows-1252 character; in a
// process of another code page, that code page's conversion.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::win32 {

// Whether the process code page is UTF-8 (GetACP() is 65001), asked once.
bool ProcessIsUtf8();

std::wstring Widen(std::string_view text, bool utf8 = ProcessIsUtf8());
std::string Narrow(const wchar_t* text, size_t length, bool utf8 = ProcessIsUtf8());

}  // namespace vantrel::win32
