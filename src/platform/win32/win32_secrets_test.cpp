#include "platform/win32/win32_secrets.h"

#include <gtest/gtest.h>

namespace vantrel::win32 {
namespace {

// A secret sealed for this user opens again, and the sealed bytes never
// hold it in clear; bytes that are no sealed secret do not open.
TEST(Win32SecretsTest, SealsForThisUserAndOpensNothingElse) {
    Win32Secrets secrets;
    const std::string secret = "link-key-\x01\x02\x03\xFF-secret";
    std::string sealed, opened, err;
    ASSERT_TRUE(secrets.Seal(secret, &sealed, &err)) << err;
    EXPECT_EQ(sealed.find("link-key"), std::string::npos);
    ASSERT_TRUE(secrets.Open(sealed, &opened, &err)) << err;
    EXPECT_EQ(opened, secret);
    opened.clear();
    EXPECT_FALSE(secrets.Open(secret, &opened, &err));
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(opened, "");
}

}  // namespace
}  // namespace vantrel::win32
