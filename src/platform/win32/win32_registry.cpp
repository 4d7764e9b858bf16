#include "platform/win32/win32_registry.h"

#include <cstring>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

namespace {

class Key {
  public:
    Key(const std::string& path, REGSAM access)
        : result_(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key_)) {}
    ~Key() {
        if (result_ == ERROR_SUCCESS) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    LONG Result() const { return result_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
    LONG result_;
};

// The registry calls return their error instead of setting the last error.
bool Failed(LONG code, std::string* err) {
    if (err) *err = ErrorText(static_cast<DWORD>(code));
    return false;
}

}  // namespace

bool Win32Registry::SetString(const std::string& path, const std::string& name,
                              const std::string& value, std::string* err) {
    Key key(path, KEY_SET_VALUE);
    if (key.Result() != ERROR_SUCCESS) return Failed(key.Result(), err);
    // The byte count is the text's length: no terminating zero is stored,
    // and readers of the value take its size as its end.
    LONG result = RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.data()),
                                 static_cast<DWORD>(value.size()));
    return result == ERROR_SUCCESS || Failed(result, err);
}

bool Win32Registry::DeleteValue(const std::string& path, const std::string& name,
                                std::string* err) {
    Key key(path, KEY_SET_VALUE);
    if (key.Result() == ERROR_FILE_NOT_FOUND) return true;
    if (key.Result() != ERROR_SUCCESS) return Failed(key.Result(), err);
    LONG result = RegDeleteValueA(key.Get(), name.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND || Failed(result, err);
}

std::string Win32Registry::GetString(const std::string& path, const std::string& name) const {
    Key key(path, KEY_QUERY_VALUE);
    if (key.Result() != ERROR_SUCCESS) return "";
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

}  // namespace vantrel::win32
