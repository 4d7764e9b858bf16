#include "platform/win32/win32_environment.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

// Values and the whole block read as stored.
TEST(Win32EnvironmentTest, ValuesAndTheBlockReadAsStored) {
    SetEnvironmentVariableA("VANTREL_TEST_VALUE", "abc \xAC def");
    SetEnvironmentVariableA("VANTREL_TEST_EMPTY", "");
    SetEnvironmentVariableA("VANTREL_TEST_LONG", std::string(5000, 'x').c_str());
    SetEnvironmentVariableA("VANTREL_TEST_FITS", std::string(4095, 'y').c_str());
    SetEnvironmentVariableW(L"VANTREL_TEST_WIDE", L"\x0395\x03BB \x65E5\x672C");
    SetEnvironmentVariableA("VANTREL_TEST_BLOCK", "1=2");
    struct Case {
        const char* name;
        bool found;
        std::string value;
    } cases[] = {
        {"VANTREL_TEST_VALUE", true, "abc \xAC def"},
        {"vantrel_test_value", true, "abc \xAC def"},  // names ignore case
        {"VANTREL_TEST_EMPTY", true, ""},
        {"VANTREL_TEST_MISSING", false, ""},
        // Past the first buffer's 4096 characters the value is read again.
        {"VANTREL_TEST_LONG", true, std::string(5000, 'x')},
        {"VANTREL_TEST_WIDE", true, Narrow(L"\x0395\x03BB \x65E5\x672C", 5)},
        {"VANTREL_TEST_FITS", true, std::string(4095, 'y')},
    };
    for (const Case& c : cases) {
        std::string value = "stale";
        EXPECT_EQ(Win32Environment().Get(c.name, &value), c.found) << c.name;
        if (c.found) {
            EXPECT_EQ(value, c.value) << c.name;
        }
    }
    std::vector<std::string> block = Win32Environment().Block();
    EXPECT_EQ(std::count(block.begin(), block.end(), "VANTREL_TEST_BLOCK=1=2"), 1);
    EXPECT_EQ(std::count(block.begin(), block.end(), ""), 0);
}

}  // namespace
}  // namespace vantrel::win32
