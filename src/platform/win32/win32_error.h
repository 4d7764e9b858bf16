#pragma once

#include <string>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// The system's own description of an error code, as one line; "" when the
// system has none.
std::string SystemText(DWORD code);

// SystemText, or the words of a socket error the system may lack, or
// "Error N".
std::string ErrorText(DWORD code);

// ErrorText of GetLastError() into *err (when err is given); returns false so
// that failing calls can end with `return Fail(err);`.
bool Fail(std::string* err);

}  // namespace vantrel::win32
