#include "platform/device_names.h"

#include <gtest/gtest.h>

#include "text/text_cases_testing.h"

namespace vantrel {
namespace {

TEST(DeviceNamesTest, ReservedNamesInEverySpelling) {
    for (const text::TextCase& c : text::ReadCases("src/platform/testdata/device_names.txt")) {
        EXPECT_EQ(IsDeviceName(c[0]), c.Flag(1)) << c.where;
    }
}

}  // namespace
}  // namespace vantrel
