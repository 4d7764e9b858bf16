#include "platform/shell.h"

#include <gtest/gtest.h>

#include <string>

#include "text/text_cases_testing.h"

namespace vantrel {
namespace {

TEST(ShellLimitsTest, AddressesHaveASchemeAndNamesAddressesAndCommandLinesTheirLimits) {
    const ShellLimits windows;
    const ShellLimits small{10, 20, 8, 40};
    for (const text::TextCase& c : text::ReadCases("src/platform/testdata/shell.txt")) {
        SCOPED_TRACE(c.where);
        if (c[0] == "address") {
            EXPECT_EQ(IsAddress(c[1]), c.Flag(2));
            continue;
        }
        ASSERT_EQ(c[0], "fits");
        std::string file = c[2];
        file.resize(c.Size(3), 'x');
        EXPECT_EQ(FitsShell(c[1] == "small" ? small : windows, file, std::string(c.Size(4), 'p')),
                  c.Flag(5));
    }
}

}  // namespace
}  // namespace vantrel
