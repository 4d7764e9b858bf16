#include <gtest/gtest.h>

#include <string_view>

#include "text/windows_1252.h"

namespace text {
namespace {

TEST(Windows1252, EveryByteRoundTrips) {
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        EXPECT_EQ(ToWindows1252(FromWindows1252(ch)), ch) << c;
    }
    EXPECT_EQ(FromWindows1252('\x80'), 0x20AC);
    EXPECT_EQ(ToWindows1252(0x4E00), '?');
}

}  // namespace
}  // namespace text
