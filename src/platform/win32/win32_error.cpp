#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

std::string ErrorText(DWORD code) {
    char buffer[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    // The system's messages end with CR LF, which would make a second line.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    if (text.empty()) text = "Error " + std::to_string(code);
    return text;
}

bool Fail(std::string* err) {
    DWORD code = GetLastError();
    if (err) *err = ErrorText(code);
    return false;
}

}  // namespace vantrel::win32
