#include "platform/win32/win32_registry.h"

#include <cstring>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

namespace {

// Opens a key under HKEY_LOCAL_MACHINE; the registry's error code, or
// ERROR_SUCCESS.
LONG OpenKey(const std::string& path, REGSAM access, UniqueRegistryKey* key) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS) key->Reset(opened);
    return result;
}

// The registry calls return their error instead of setting the last error.
bool Failed(LONG code, std::string* err) {
    if (err) *err = ErrorText(static_cast<DWORD>(code));
    return false;
}

}  // namespace

bool Win32Registry::SetString(const std::string& path, const std::string& name,
                              const std::string& value, std::string* err) {
    UniqueRegistryKey key;
    if (LONG opened = OpenKey(path, KEY_SET_VALUE, &key); opened != ERROR_SUCCESS) {
        return Failed(opened, err);
    }
    // The byte count is the text's length: no terminating zero is stored,
    // and readers of the value take its size as its end.
    LONG result = RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.data()),
                                 static_cast<DWORD>(value.size()));
    return result == ERROR_SUCCESS || Failed(result, err);
}

bool Win32Registry::DeleteValue(const std::string& path, const std::string& name,
                                std::string* err) {
    UniqueRegistryKey key;
    LONG opened = OpenKey(path, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return Failed(opened, err);
    LONG result = RegDeleteValueA(key.Get(), name.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND || Failed(result, err);
}

std::string Win32Registry::GetString(const std::string& path, const std::string& name) const {
    UniqueRegistryKey key;
    if (OpenKey(path, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return "";
    }
    std::string data(size, '\0');
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
        return "";
    }
    data.resize(size);
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number;
        memcpy(&number, data.data(), sizeof number);
        return std::to_string(number);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return "";
    size_t end = data.find('\0');
    return end == std::string::npos ? data : data.substr(0, end);
}

std::vector<std::string> Win32Registry::SubKeys(Root root, const std::string& path) const {
    std::vector<std::string> names;
    HKEY opened = nullptr;
    HKEY base = root == Root::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    if (RegOpenKeyExA(base, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &opened) != ERROR_SUCCESS) {
        return names;
    }
    UniqueRegistryKey key(opened);
    // A key's name is at most 255 characters.
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        LONG result =
            RegEnumKeyExA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace vantrel::win32
