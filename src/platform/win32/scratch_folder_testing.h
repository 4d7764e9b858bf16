// Test helpers: a fresh folder under the temporary folder for each test,
// removed afterwards with everything in it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_api.h"

namespace vantrel::win32::testing {

// "<TEMP>vantrel_<tag>_<process id>_<test name>", created; "" on failure.
inline std::string MakeScratchFolder(const std::string& tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "vantrel_" + tag + "_" +
                         std::to_string(GetCurrentProcessId()) + "_" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return CreateDirectoryA(folder.c_str(), nullptr) ? folder : std::string();
}

// Removes a folder and everything in it, read-only files included.
inline void RemoveAll(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveAll(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace vantrel::win32::testing
