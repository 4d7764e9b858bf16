#include "platform/win32/win32_environment.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

TEST(Win32EnvironmentTest, ReadsVariablesAndTellsMissingOnes) {
    SetEnvironmentVariableA("VANTREL_TEST_VALUE", "abc \xAC def");
    SetEnvironmentVariableA("VANTREL_TEST_EMPTY", "");
    SetEnvironmentVariableA("VANTREL_TEST_LONG", std::string(5000, 'x').c_str());
    SetEnvironmentVariableA("VANTREL_TEST_FITS", std::string(4095, 'y').c_str());
    Win32Environment env;
    std::string value = "stale";

    EXPECT_TRUE(env.Get("VANTREL_TEST_VALUE", &value));
    EXPECT_EQ(value, "abc \xAC def");
    EXPECT_TRUE(env.Get("vantrel_test_value", &value));  // names ignore case
    EXPECT_EQ(value, "abc \xAC def");
    EXPECT_TRUE(env.Get("VANTREL_TEST_EMPTY", &value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(env.Get("VANTREL_TEST_MISSING", &value));
    // The 4096-character buffer: a longer value reads as "".
    value = "stale";
    EXPECT_TRUE(env.Get("VANTREL_TEST_LONG", &value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(env.Get("VANTREL_TEST_FITS", &value));
    EXPECT_EQ(value, std::string(4095, 'y'));
}

TEST(Win32EnvironmentTest, BlockHoldsEveryEntryAsStored) {
    SetEnvironmentVariableA("VANTREL_TEST_BLOCK", "1=2");
    std::vector<std::string> block = Win32Environment().Block();
    EXPECT_NE(std::find(block.begin(), block.end(), "VANTREL_TEST_BLOCK=1=2"), block.end());
    SetEnvironmentVariableA("VANTREL_TEST_BLOCK", nullptr);
    block = Win32Environment().Block();
    EXPECT_EQ(std::find(block.begin(), block.end(), "VANTREL_TEST_BLOCK=1=2"), block.end());
    for (const std::string& entry : block) EXPECT_FALSE(entry.empty());
}

}  // namespace
}  // namespace vantrel::win32
