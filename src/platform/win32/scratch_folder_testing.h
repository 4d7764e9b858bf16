// A fixture for tests on the real file system: each test works in a fresh
// folder under the temporary folder, made the current folder so that
// relative names work as they do for the commands. The folder goes
// afterwards with everything in it, and the old current folder comes back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_file_system.h"

namespace vantrel::win32::testing {

using Names = std::vector<std::string>;

// Calls visit(name, isFolder) for each entry of folder but "." and "..".
template <typename Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA entry;
    UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    for (bool more = find.Valid(); more; more = FindNextFileA(find.Get(), &entry)) {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        visit(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    }
}

// Removes a folder and everything in it, read-only files included.
inline void RemoveAll(const std::string& folder) {
    ForEachEntry(folder, [&](const std::string& name, bool isFolder) {
        std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (isFolder) {
            RemoveAll(path);
        } else {
            DeleteFileA(path.c_str());
        }
    });
    RemoveDirectoryA(folder.c_str());
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
        ForEachEntry(folder, [&](const std::string& name, bool isFolder) {
            std::string path = folder + "\\" + name;
            if (!isFolder) return tree.push_back(name + "=" + Read(path));
            tree.push_back(name + "\\");
            for (const std::string& inner : Tree(path)) tree.push_back(name + "\\" + inner);
        });
        std::sort(tree.begin(), tree.end());
        return tree;
    }

    Win32FileSystem fs_;
    std::string root_, saved_;
};

}  // namespace vantrel::win32::testing
