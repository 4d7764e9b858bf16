#include "platform/win32/win32_shell.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_error.h"

namespace vantrel::win32 {
namespace {

// Under Wine an address of about 985 characters or more ends the process
// inside ShellExecute: what the shell cannot take, measured as the shell
// expands it, is refused without reaching it.
TEST(Win32ShellTest, OpensOnlyWhatTheShellCanTake) {
    Win32Shell shell;
    std::string err;
    EXPECT_FALSE(shell.Open("C:\\no_such_folder\\no_such_program.exe", "", kShowNormal, &err));
    EXPECT_TRUE(err == ErrorText(ERROR_FILE_NOT_FOUND) || err == ErrorText(ERROR_PATH_NOT_FOUND))
        << err;
    const ShellLimits limits = SystemShellLimits();
    auto address = [](size_t length) { return "http://a/" + std::string(length - 9, 'b'); };
    EXPECT_TRUE(shell.Fits(address(limits.address), ""));
    for (size_t length :
         {limits.address + 1, limits.address + 30, size_t{5000}, size_t{40000}, size_t{300000}}) {
        EXPECT_FALSE(shell.Fits(address(length), "")) << length;
        EXPECT_FALSE(shell.Open(address(length), "", kShowHidden, &err)) << length;
        EXPECT_EQ(err, ErrorText(ERROR_FILENAME_EXCED_RANGE)) << length;
    }
    EXPECT_TRUE(shell.Fits("C:\\" + std::string(256, 'b'), ""));
    EXPECT_FALSE(shell.Fits("C:\\" + std::string(257, 'b'), ""));
    EXPECT_TRUE(shell.Fits("x.exe", std::string(32766 - 8, 'p')));
    EXPECT_FALSE(shell.Fits("x.exe", std::string(32766 - 7, 'p')));
    const std::string name = "http://a/%VANTREL_TEST_LONG_NAME%";
    EXPECT_TRUE(shell.Fits(name, ""));  // an unset variable stays as it is
    ASSERT_TRUE(SetEnvironmentVariableA("VANTREL_TEST_LONG_NAME",
                                        std::string(limits.address, 'b').c_str()));
    EXPECT_FALSE(shell.Fits(name, ""));
    SetEnvironmentVariableA("VANTREL_TEST_LONG_NAME", nullptr);
}

// The system's own words with the line end taken off; a number where the
// system has none.
TEST(Win32ErrorTest, SystemDescriptionsWithoutTheirLineEnd) {
    for (DWORD code :
         {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_ALREADY_EXISTS}) {
        char raw[512];
        std::string words(
            raw, FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, raw, sizeof raw, nullptr));
        words.erase(words.find_last_not_of("\r\n") + 1);
        ASSERT_FALSE(words.empty()) << code;
        EXPECT_EQ(ErrorText(code), words) << code;
    }
    EXPECT_EQ(ErrorText(0x2000FFFF), "Error 536936447");
}

}  // namespace
}  // namespace vantrel::win32
