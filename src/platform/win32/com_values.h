// Script values to COM VARIANTs and back. Text crosses as the engine's text
// (UTF-8 when the process code page is UTF-8) on the script side and UTF-16
// BSTRs on the COM side;
// arrays become SAFEARRAYs of VARIANTs and come back from SAFEARRAYs of any
// element type, keeping their bounds; objects cross as IDispatch.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/com_api.h"
#include "platform/win32/wide_text.h"
#include "script/runtime.h"

namespace vantrel::com {

// Whether the process code page is UTF-8 (GetACP() is 65001), asked once.
bool ProcessIsUtf8();
// Script text to UTF-16 and back. In a UTF-8 process the engine's own
// conversion (script/utf8.h) carries every unit, a lone half of a pair
// included, both ways; a byte that is not UTF-8 goes as its Windows-1252
// character. In another code page, that code page's conversion.
std::wstring Widen(std::string_view text, bool utf8 = ProcessIsUtf8());
std::string Narrow(const wchar_t* text, size_t length, bool utf8 = ProcessIsUtf8());
std::string Narrow(BSTR text);
BSTR AllocBstr(std::string_view text);

// Fills *out (which the caller clears) with v. Raises the script error a
// value COM cannot take gives (an object that is not Nothing and not an
// object at all cannot happen; arrays too big raise Out of memory).
void ToVariant(script::Runtime& rt, const script::Value& v, VARIANT* out);
// The script value for a VARIANT, by reference or not. Types VBScript has
// no subtype for (unsigned and 64-bit integers, decimals) become Long when
// they fit and Double otherwise; a type with no script form raises 458.
script::Value FromVariant(const VARIANT& v);
// FromVariant, then clears *v whether or not the conversion raised.
script::Value TakeVariant(VARIANT* v);

}  // namespace vantrel::com
