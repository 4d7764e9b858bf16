#include "platform/win32/win32_secrets.h"

// dpapi.h needs what windows.h declares, so the order stays.
// clang-format off
#include "platform/win32/win32_api.h"
#include <dpapi.h>
// clang-format on

#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

namespace {

// The output blob, freed with LocalFree however the call ends.
struct Blob {
    DATA_BLOB data{};
    ~Blob() {
        if (data.pbData) {
            SecureZeroMemory(data.pbData, data.cbData);
            LocalFree(data.pbData);
        }
    }
};

DATA_BLOB In(const std::string& bytes) {
    DATA_BLOB blob;
    blob.pbData = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
    blob.cbData = static_cast<DWORD>(bytes.size());
    return blob;
}

}  // namespace

bool Win32Secrets::Seal(const std::string& secret, std::string* sealed, std::string* err) {
    DATA_BLOB in = In(secret);
    Blob out;
    if (!CryptProtectData(&in, L"Vantrel", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                          &out.data)) {
        *err = ErrorText(GetLastError());
        return false;
    }
    sealed->assign(reinterpret_cast<const char*>(out.data.pbData), out.data.cbData);
    return true;
}

bool Win32Secrets::Open(const std::string& sealed, std::string* secret, std::string* err) {
    DATA_BLOB in = In(sealed);
    Blob out;
    if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                            &out.data)) {
        *err = ErrorText(GetLastError());
        return false;
    }
    secret->assign(reinterpret_cast<const char*>(out.data.pbData), out.data.cbData);
    return true;
}

}  // namespace vantrel::win32
