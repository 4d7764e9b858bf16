#include "platform/device_names.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(DeviceNamesTest, ReservedNamesInEverySpelling) {
    // clang-format off
    const struct { const char* path; bool device; } cases[] = {
        {"COM1", true}, {"com9", true}, {"Lpt3", true}, {"CON", true}, {"prn", true},
        {"aux", true}, {"nul", true}, {"com1.txt", true}, {"NUL.tar.gz", true},
        {"C:\\x\\nul", true}, {"C:/x/Com2.log", true}, {"C:aux", true}, {"nul ", true},
        {"nul .txt", true}, {"COM1:", true}, {"com\xb9", true}, {"LPT\xb3.txt", true},
        {"\\\\.\\COM1", true}, {"//./pipe/x", true}, {"\\\\?\\C:\\nul", true},
        {"com0", false}, {"com10", false}, {"lpt", false}, {"con1", false}, {"console", false},
        {"nul\\x.txt", false}, {"C:\\con\\x", false}, {"xnul", false}, {"_com1", false},
        {"", false}, {"C:\\", false}, {"\\\\server\\nulls", false}, {".nul", false},
        {"com\xb4", false}, {"COM1x.txt", false}, {"\\\\.x\\y", false}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(IsDeviceName(c.path), c.device) << c.path;
}

}  // namespace
}  // namespace vantrel
