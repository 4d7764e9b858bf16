#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"

namespace vantrel::win32 {
namespace {

// Works in a key of its own under HKEY_LOCAL_MACHINE\SOFTWARE, made and
// removed with all below it around each test (the registry service itself
// never makes keys).
class Win32RegistryTest : public ::testing::Test {
  protected:
    static constexpr char kKey[] = "SOFTWARE\\VantrelRegistryTest";

    void SetUp() override { MakeKey(kKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kKey); }
    static void MakeKey(const std::string& path) {
        HKEY made = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &made), ERROR_SUCCESS) << path;
        UniqueRegistryKey closed(made);
    }

    Win32Registry registry_;
};

TEST_F(Win32RegistryTest, StringValuesAreSetReadAndDeletedWithoutMakingKeys) {
    const std::string missing = std::string(kKey) + "\\Missing";
    std::string err;
    EXPECT_FALSE(registry_.SetString(missing, "x", "y", &err));
    EXPECT_EQ(err, ErrorText(ERROR_FILE_NOT_FOUND));
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, missing.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    ASSERT_TRUE(registry_.SetString(kKey, "Vantrel", "\"C:\\V\\Vantrel.exe\"", &err)) << err;
    EXPECT_EQ(registry_.GetString(kKey, "Vantrel"), "\"C:\\V\\Vantrel.exe\"");
    // Deleting what is not there is no failure.
    for (const std::string& path : {std::string(kKey), std::string(kKey), missing}) {
        EXPECT_TRUE(registry_.DeleteValue(path, "Vantrel", &err)) << err;
    }
    EXPECT_EQ(registry_.GetString(kKey, "Vantrel"), "");

    // Values of other writers read as text.
    struct Case {
        const char* name;
        DWORD type;
        std::string stored, text;
    } cases[] = {
        // A terminating zero is no part of the text.
        {"Zero", REG_SZ, std::string("abc\0", 4), "abc"},
        {"OnlyZero", REG_SZ, std::string(1, '\0'), ""},
        {"Expand", REG_EXPAND_SZ, std::string("%TEMP%\0", 7), "%TEMP%"},
        {"Number", REG_DWORD, std::string("\x0f\x09\0\0", 4), "2319"},
        {"Binary", REG_BINARY, "ab", ""},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKey, c.name, c.type, c.stored.data(),
                                  static_cast<DWORD>(c.stored.size())),
                  ERROR_SUCCESS);
        EXPECT_EQ(registry_.GetString(kKey, c.name), c.text) << c.name;
    }
}

TEST_F(Win32RegistryTest, SubKeysAreListedFromEitherPart) {
    for (const char* name : {"Alpha.exe", "beta with blanks"})
        MakeKey(std::string(kKey) + "\\" + name);
    std::vector<std::string> names = registry_.SubKeys(Registry::Root::kLocalMachine, kKey);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha.exe", "beta with blanks"}));
    EXPECT_TRUE(registry_.SubKeys(Registry::Root::kCurrentUser, kKey).empty());
    EXPECT_TRUE(
        registry_.SubKeys(Registry::Root::kLocalMachine, std::string(kKey) + "\\No").empty());
    // The user's part is a different tree.
    EXPECT_FALSE(registry_.SubKeys(Registry::Root::kCurrentUser, "Software").empty());
}

}  // namespace
}  // namespace vantrel::win32
