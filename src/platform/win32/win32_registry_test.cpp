#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

// Works in a key of its own under HKEY_LOCAL_MACHINE\SOFTWARE, made and
// removed around each test (the registry service itself never makes keys).
class Win32RegistryTest : public ::testing::Test {
  protected:
    static constexpr char kKey[] = "SOFTWARE\\VantrelRegistryTest";

    void SetUp() override {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        DWORD number = 2319;
        RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof number);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey); }

    Win32Registry registry_;
};

TEST_F(Win32RegistryTest, SetReadAndDeleteAStringValue) {
    std::string err;
    ASSERT_TRUE(registry_.SetString(kKey, "Vantrel", "\"C:\\Vantrel\\Vantrel.exe\"", &err)) << err;
    EXPECT_EQ(registry_.GetString(kKey, "Vantrel"), "\"C:\\Vantrel\\Vantrel.exe\"");
    ASSERT_TRUE(registry_.DeleteValue(kKey, "Vantrel", &err)) << err;
    EXPECT_EQ(registry_.GetString(kKey, "Vantrel"), "");
    // Deleting what is not there is no failure.
    EXPECT_TRUE(registry_.DeleteValue(kKey, "Vantrel", &err));
}

TEST_F(Win32RegistryTest, ATerminatingZeroIsNotPartOfTheText) {
    // Stored by another writer with its zero, or with nothing but the zero.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Other", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 4);
    RegSetValueExA(key, "Empty", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
    EXPECT_EQ(registry_.GetString(kKey, "Other"), "abc");
    EXPECT_EQ(registry_.GetString(kKey, "Empty"), "");
    std::string err;
    ASSERT_TRUE(registry_.SetString(kKey, "Mine", "\"C:\\V\\Vantrel.exe\"", &err)) << err;
    EXPECT_EQ(registry_.GetString(kKey, "Mine"), "\"C:\\V\\Vantrel.exe\"");
}

TEST_F(Win32RegistryTest, NumbersReadAsDecimalText) {
    EXPECT_EQ(registry_.GetString(kKey, "Number"), "2319");
}

TEST_F(Win32RegistryTest, MissingKeysAreNotMade) {
    std::string err;
    const std::string missing = std::string(kKey) + "\\Missing";
    EXPECT_FALSE(registry_.SetString(missing, "x", "y", &err));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(registry_.GetString(missing, "x"), "");
    EXPECT_TRUE(registry_.DeleteValue(missing, "x", &err));
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, missing.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
}

}  // namespace
}  // namespace vantrel::win32
