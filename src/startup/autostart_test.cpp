#include "startup/autostart.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// AUTOSTART's answers and the Run value it writes are in autostart.dcb.
TEST(AutostartCommandLine, QuotedWithTheExeExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\Vantrel\\Vantrel.exe", "\"C:\\Program Files\\Vantrel\\Vantrel.exe\""},
        {"C:\\Tools\\VANTREL.EXE", "\"C:\\Tools\\VANTREL.exe\""},
        {"C:\\v1.2\\Vantrel", "\"C:\\v1.2\\Vantrel.exe\""},
        {"Vantrel.exe", "\"Vantrel.exe\""},
    };
    for (auto [path, data] : cases) EXPECT_EQ(AutostartCommandLine(path), data) << path;
}

}  // namespace
}  // namespace vantrel
