#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

namespace {

// ShellExecute answers a failure with one of its own small numbers; the
// matching system error gives the user the system's description.
DWORD SystemErrorOf(INT_PTR result) {
    switch (result) {
        case 0:
        case SE_ERR_OOM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case SE_ERR_SHARE:
            return ERROR_SHARING_VIOLATION;
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_NOASSOC:
            return ERROR_NO_ASSOCIATION;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
            return ERROR_DDE_FAIL;
        case SE_ERR_DLLNOTFOUND:
            return ERROR_DLL_NOT_FOUND;
        default:  // the file, path, access and format errors share their numbers
            return static_cast<DWORD>(result);
    }
}

}  // namespace

bool Win32Shell::Open(const std::string& file, const std::string& params, int showStyle,
                      std::string* err) {
    HINSTANCE instance = ShellExecuteA(owner_, "Open", file.c_str(),
                                       params.empty() ? nullptr : params.c_str(), "", showStyle);
    INT_PTR result = reinterpret_cast<INT_PTR>(instance);
    if (result > 32) return true;
    *err = ErrorText(SystemErrorOf(result));
    return false;
}

}  // namespace vantrel::win32
