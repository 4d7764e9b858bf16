#include "platform/win32/win32_shell.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_error.h"

namespace vantrel::win32 {
namespace {

TEST(Win32ShellTest, OpeningAMissingFileFailsWithTheSystemsText) {
    Win32Shell shell;
    std::string err;
    EXPECT_FALSE(shell.Open("C:\\no_such_folder\\no_such_program.exe", "", kShowNormal, &err));
    EXPECT_TRUE(err == ErrorText(ERROR_FILE_NOT_FOUND) || err == ErrorText(ERROR_PATH_NOT_FOUND))
        << err;
}

TEST(Win32ErrorTest, SystemDescriptionsWithoutTheirLineEnd) {
    for (DWORD code :
         {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_ALREADY_EXISTS}) {
        char raw[512];
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, raw, sizeof raw, nullptr);
        ASSERT_GT(length, 0u) << code;
        std::string text = ErrorText(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << code;
        // The same words, only the line end taken off.
        std::string rest = std::string(raw, length);
        ASSERT_EQ(rest.compare(0, text.size(), text), 0) << code;
        EXPECT_EQ(rest.substr(text.size()).find_first_not_of("\r\n"), std::string::npos) << code;
    }
}

TEST(Win32ErrorTest, UnknownCodesStillSaySomething) {
    EXPECT_EQ(ErrorText(0x2000FFFF), "Error 536936447");
}

}  // namespace
}  // namespace vantrel::win32
