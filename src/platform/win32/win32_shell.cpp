#include "platform/win32/win32_shell.h"

namespace vantrel::win32 {

int Win32Shell::Open(const std::string& file, const std::string& params, int showStyle) {
    HINSTANCE result = ShellExecuteA(owner_, "Open", file.c_str(),
                                     params.empty() ? nullptr : params.c_str(), "", showStyle);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace vantrel::win32
