#include "platform/win32/win32_environment.h"

#include <cstring>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

namespace {
// Most values fit at once; a longer one is read again at its own size.
constexpr size_t kBufferSize = 4096;
}  // namespace

bool Win32Environment::Get(const std::string& name, std::string* value) const {
    // Through the wide call: under a UTF-8 code page the A call counts its
    // answer in characters, not in the bytes it copied.
    const std::wstring wideName = Widen(name);
    std::wstring wide(kBufferSize, L'\0');
    for (int tries = 0; tries < 2; ++tries) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length =
            GetEnvironmentVariableW(wideName.c_str(), wide.data(), static_cast<DWORD>(wide.size()));
        if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
        if (length < wide.size()) {
            *value = Narrow(wide.data(), length);
            return true;
        }
        // Too long for the buffer: length is the size it needs.
        wide.assign(length, L'\0');
    }
    value->clear();
    return true;
}

std::vector<std::string> Win32Environment::Block() const {
    std::vector<std::string> entries;
    UniqueEnvironmentStrings block(GetEnvironmentStringsA());
    if (!block.Valid()) return entries;
    for (const char* entry = block.Get(); *entry; entry += std::strlen(entry) + 1) {
        entries.emplace_back(entry);
    }
    return entries;
}

}  // namespace vantrel::win32
