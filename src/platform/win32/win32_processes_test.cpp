#include "platform/win32/win32_processes.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32 {
namespace {

class Win32ProcessesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        base_ = std::string(temp) + "vantrel_proc_" + std::to_string(GetCurrentProcessId()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override {
        for (const char* suffix : {".bat", ".out"}) DeleteFileA((base_ + suffix).c_str());
    }

    void WriteBatch(const std::string& lines) {
        std::string err;
        ASSERT_TRUE(files_.WriteFile(base_ + ".bat", lines, &err)) << err;
    }

    Win32Processes processes_;
    Win32FileSystem files_;
    std::string base_;
};

TEST_F(Win32ProcessesTest, BatchFileRunsToItsEndWithAnEmptyInput) {
    // "set /p" reads a line: with an empty input it goes on at once.
    WriteBatch("@echo off\r\nset /p answer=\r\necho done> \"" + base_ + ".out\"\r\n");
    bool timedOut = true;
    std::string err, out;
    ASSERT_TRUE(processes_.RunBatchFileAndWait(base_ + ".bat", 60000, &timedOut, &err)) << err;
    EXPECT_FALSE(timedOut);
    ASSERT_TRUE(files_.ReadFile(base_ + ".out", &out, &err)) << err;
    EXPECT_EQ(out, "done\r\n");
}

TEST_F(Win32ProcessesTest, BatchFileThatNeverEndsIsStopped) {
    WriteBatch("@echo off\r\n:again\r\ngoto again\r\n");
    bool timedOut = false;
    std::string err;
    ASSERT_TRUE(processes_.RunBatchFileAndWait(base_ + ".bat", 300, &timedOut, &err)) << err;
    EXPECT_TRUE(timedOut);
}

TEST_F(Win32ProcessesTest, PathsWithBlanksAndParenthesesStayWhole) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "vantrel proc (" + std::to_string(GetCurrentProcessId()) + ") & more";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    const std::string batch = folder + "\\DOS-1.bat", out = folder + "\\DOS-1.out";
    std::string err, text;
    ASSERT_TRUE(files_.WriteFile(batch, "echo spaced > \"" + out + "\"\r\n", &err)) << err;
    bool timedOut = true;
    EXPECT_TRUE(processes_.RunBatchFileAndWait(batch, 60000, &timedOut, &err)) << err;
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(files_.ReadFile(out, &text, &err)) << err;
    EXPECT_EQ(text, "spaced \r\n");
    DeleteFileA(batch.c_str());
    DeleteFileA(out.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(Win32ProcessesTest, StartReportsAProgramThatCannotStart) {
    std::string err;
    EXPECT_FALSE(processes_.Start("C:\\no_such_folder\\no_such_program.exe", SW_SHOWNORMAL, &err));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(err.find_first_of("\r\n"), std::string::npos);
}

TEST_F(Win32ProcessesTest, StartReturnsAtOnce) {
    WriteBatch("@echo off\r\necho started> \"" + base_ + ".out\"\r\n");
    std::string err;
    ASSERT_TRUE(processes_.Start("cmd.exe /c \"" + base_ + ".bat\"", SW_HIDE, &err)) << err;
    // The program runs on its own; wait for its mark.
    for (int i = 0; i < 300 && !files_.Exists(base_ + ".out", FileMask::kFiles); ++i) Sleep(100);
    EXPECT_TRUE(files_.Exists(base_ + ".out", FileMask::kFiles));
}

TEST_F(Win32ProcessesTest, ThisProcess) {
    EXPECT_EQ(processes_.CurrentProcessId(), GetCurrentProcessId());
    std::string path = processes_.ExecutablePath();
    EXPECT_EQ(path, files_.ProgramFolder() + "\\vantrel_tests.exe");
}

}  // namespace
}  // namespace vantrel::win32
