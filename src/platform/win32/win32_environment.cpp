#include "platform/win32/win32_environment.h"

#include <cstring>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

namespace {
constexpr DWORD kBufferSize = 4096;
}

bool Win32Environment::Get(const std::string& name, std::string* value) const {
    char buffer[kBufferSize];
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, kBufferSize);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    if (length >= kBufferSize) {
        value->clear();  // too long for the buffer: nothing was copied
        return true;
    }
    value->assign(buffer, strnlen(buffer, length));
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
