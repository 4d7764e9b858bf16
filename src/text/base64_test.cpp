#include "text/base64.h"

#include <gtest/gtest.h>

#include "text/text_cases_testing.h"

namespace text {
namespace {

TEST(Base64, WritesAndReadsRfc4648sValuesAndRefusesAnythingElse) {
    for (const TextCase& c : ReadCases("src/text/testdata/base64.txt")) {
        SCOPED_TRACE(c.where);
        std::vector<std::uint8_t> bytes;
        if (c[0] == "code") {
            const std::vector<std::uint8_t> plain(c[1].begin(), c[1].end());
            EXPECT_EQ(Base64(plain), c[2]);
            EXPECT_EQ(Base64(plain, false), c[3]);
            ASSERT_TRUE(FromBase64(c[2], &bytes));
            EXPECT_EQ(bytes, plain);
        } else {
            ASSERT_EQ(c[0], "refused");
            bytes = {1};
            EXPECT_FALSE(FromBase64(c[1], &bytes));
            EXPECT_EQ(bytes, std::vector<std::uint8_t>{1});
        }
    }
}

}  // namespace
}  // namespace text
