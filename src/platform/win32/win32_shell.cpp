#include "platform/win32/win32_shell.h"

#include <cwchar>

#include "platform/win32/wide_text.h"
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

// The shell replaces %NAME% in a name by the variable's value before it
// copies the name anywhere. False when the result is more than the system
// expands.
bool ExpandVariables(const std::string& text, std::string* expanded) {
    // Wide: under a UTF-8 code page the A call's sizes count characters.
    const std::wstring wide = Widen(text);
    DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (size == 0) return false;
    std::wstring out(size, L'\0');
    DWORD written = ExpandEnvironmentStringsW(wide.c_str(), out.data(), size);
    if (written == 0 || written > size) return false;
    out.resize(wcslen(out.c_str()));
    *expanded = Narrow(out.data(), out.size());
    return true;
}

}  // namespace

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

ShellLimits SystemShellLimits() {
    ShellLimits limits;
    if (RunningOnWine()) {
        // Wine's shell looks every name up as a key under
        // "Software\Microsoft\Windows\CurrentVersion\App Paths\" (52
        // characters), ".exe" added when the name alone is not there, in a
        // buffer of 1,024 characters without checking the length: 52 + 967
        // + 4 and the terminating zero fill it. Longer names overwrite the
        // stack; from about 985 characters that ends the process.
        limits.address = 967;
        // A "www" name that is no file goes into a buffer of 256 characters
        // after "http://".
        limits.webName = 248;
    }
    return limits;
}

bool Win32Shell::Fits(const std::string& file, const std::string& params) const {
    // The name as given is checked first, so that a huge one is never
    // expanded.
    std::string expanded;
    return FitsShell(limits_, file, params) && ExpandVariables(file, &expanded) &&
           FitsShell(limits_, expanded, params);
}

bool Win32Shell::Open(const std::string& file, const std::string& params, int showStyle,
                      std::string* err) {
    if (!Fits(file, params)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return Fail(err);
    }
    HINSTANCE instance = ShellExecuteA(owner_, "Open", file.c_str(),
                                       params.empty() ? nullptr : params.c_str(), "", showStyle);
    INT_PTR result = reinterpret_cast<INT_PTR>(instance);
    if (result > 32) return true;
    *err = ErrorText(SystemErrorOf(result));
    return false;
}

}  // namespace vantrel::win32
