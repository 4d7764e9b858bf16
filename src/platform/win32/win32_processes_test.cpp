#include "platform/win32/win32_processes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/scratch_folder_testing.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "text/compare.h"

namespace vantrel::win32 {
namespace {

using Win32ProcessesTest = testing::ScratchFolderTest;

TEST_F(Win32ProcessesTest, ABatchFileRunsToItsEndWithAnEmptyInput) {
    // A folder name the command interpreter would split; "set /p" reads a
    // line, and with an empty input goes on at once.
    const std::string folder = root_ + "\\a (1) & b";
    Folder(folder);
    Make(folder + "\\DOS-1.bat",
         "@echo off\r\nset /p answer=\r\necho done> \"" + folder + "\\out.txt\"\r\n");
    std::string err;
    std::unique_ptr<BatchRun> run = Win32Processes().StartBatchFile(folder + "\\DOS-1.bat", &err);
    ASSERT_TRUE(run) << err;
    EXPECT_TRUE(run->Wait(60000));
    EXPECT_EQ(Read(folder + "\\out.txt"), "done\r\n");
}

TEST_F(Win32ProcessesTest, StartReturnsAtOnceOrSaysWhyItCannot) {
    Make("mark.bat", "@echo off\r\necho started> \"" + root_ + "\\out.txt\"\r\n");
    std::string err;
    ASSERT_TRUE(Win32Processes().Start("cmd.exe /c \"" + root_ + "\\mark.bat\"", SW_HIDE, &err))
        << err;
    // The program runs on its own: wait for its mark.
    for (int i = 0; i < 300 && Read("out.txt") != "started\r\n"; ++i) Sleep(100);
    EXPECT_EQ(Read("out.txt"), "started\r\n");
    EXPECT_FALSE(Win32Processes().Start("C:\\no_such_folder\\no_such.exe", SW_SHOWNORMAL, &err));
    EXPECT_FALSE(err.empty());
    for (size_t length : {kMaxCommandLine + 1, size_t{40000}, size_t{300000}}) {
        std::string line = "cmd.exe /c rem ";
        line.resize(length, 'a');
        EXPECT_FALSE(Win32Processes().Start(line, SW_HIDE, &err)) << length;
        EXPECT_EQ(err, ErrorText(ERROR_FILENAME_EXCED_RANGE)) << length;
    }
}

TEST_F(Win32ProcessesTest, ThisProgramIsTheExecutableAndARunningProcess) {
    EXPECT_EQ(Win32Processes().ExecutablePath(),
              Win32FileSystem().ProgramFolder() + "\\vantrel_tests.exe");
    const std::vector<std::string> names = Win32Processes().ProcessNames();
    EXPECT_NE(std::find_if(
                  names.begin(), names.end(),
                  [](const std::string& n) { return text::EqualsNoCase(n, "vantrel_tests.exe"); }),
              names.end());
}

}  // namespace
}  // namespace vantrel::win32
