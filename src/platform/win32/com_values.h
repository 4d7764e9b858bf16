// Script values to COM VARIANTs and back. Text crosses as the process's
// text on the script side and UTF-16 BSTRs on the COM side; arrays become SAFEARRAYs of VARIANTs
// and come back from SAFEARRAYs of any element type, keeping their bounds; objects cross as
// IDispatch.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/com_api.h"
#include "platform/win32/wide_text.h"
#include "script/runtime.h"

namespace vantrel::com {

// Script text crosses as the process's text does (wide_text.h).
using win32::Narrow;
using win32::Widen;
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
