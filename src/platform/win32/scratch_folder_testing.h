// A fixture for tests on the real file system: each test works in a fresh
// folder under the temporary folder, made the current folder so that
// relative names work as they do for the commands. The folder goes
// afterwards with everything in it, and the old current folder comes back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32::testing {

using Names = std::vector<std::string>;

// Removes a folder and everything in it, read-only files included.
inline void RemoveAll(const std::string& folder) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
        SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(folder, ignored);
}

class ScratchFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::string(temp) + "vantrel_" + std::to_string(GetCurrentProcessId()) + "_" +
                test->test_suite_name() + "_" + test->name();
        RemoveAll(root_);  // left by a run that crashed
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr)) << root_;
        saved_ = fs_.CurrentDirectory();
        std::string err;
        ASSERT_TRUE(fs_.SetCurrentDirectory(root_, &err)) << err;
    }
    void TearDown() override {
        SetCurrentDirectoryA(saved_.c_str());
        RemoveAll(root_);
    }

    void Make(const std::string& name, const std::string& contents = "",
              DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        std::string err;
        ASSERT_TRUE(fs_.WriteFile(name, contents, &err)) << name << ": " << err;
        ASSERT_TRUE(SetFileAttributesA(name.c_str(), attributes)) << name;
    }
    void Folder(const std::string& name, DWORD attributes = 0) {
        std::string err;
        ASSERT_TRUE(fs_.MakeFolder(name, &err)) << name << ": " << err;
        ASSERT_TRUE(!attributes || SetFileAttributesA(name.c_str(), attributes)) << name;
    }
    // A file's contents, or the error in angle brackets.
    std::string Read(const std::string& name) const {
        std::string contents, err;
        return fs_.ReadFile(name, &contents, &err) ? contents : "<" + err + ">";
    }
    // Everything below folder, sorted: "sub\" for a folder, "sub\f=text"
    // for a file.
    Names Tree(const std::string& folder = ".") const {
        Names tree;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().lexically_relative(folder).string();
            tree.push_back(entry.is_directory() ? name + "\\"
                                                : name + "=" + Read(entry.path().string()));
        }
        std::sort(tree.begin(), tree.end());
        return tree;
    }

    Win32FileSystem fs_;
    std::string root_, saved_;
};

}  // namespace vantrel::win32::testing
