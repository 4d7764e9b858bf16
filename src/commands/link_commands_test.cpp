#include "commands/link_commands.h"

#include <gtest/gtest.h>

#include "remote_fixture.h"

namespace vantrel {
namespace {

using testing::kBanFile;
using BanTest = testing::RemoteTest;

constexpr char kDiskFull[] = "There is not enough space on the disk.";

// Listing and refusals are in ban.dcb; this is how the file is treated.
TEST_F(BanTest, UnbanReplacesTheListInOneStep) {
    fake.files.AddFile(kBanFile, "10.0.0.1\r\n10.0.0.2\r\n\r\n10.0.0.1\r10.0.0.10");
    EXPECT_EQ(Run("ban"), "10.0.0.1\n10.0.0.2\n\n10.0.0.1\n10.0.0.10");
    EXPECT_EQ(Run("unban 10.0.0.1"), "");
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.2\r\n\r\n10.0.0.10\r\n");
    EXPECT_EQ(fake.files.replaceCount, 1);
}

TEST_F(BanTest, NoFailureLosesTheList) {
    EXPECT_EQ(Run("unban 10.0.0.1"), testing::kNotFound);
    EXPECT_FALSE(fake.files.HasFile(kBanFile));
    fake.files.AddFile(kBanFile, "10.0.0.1\r\n");
    fake.files.writeError = kDiskFull;
    EXPECT_EQ(Run("ban 10.0.0.2"), kDiskFull);
    EXPECT_EQ(Run("unban 10.0.0.1"), kDiskFull);
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.1\r\n");
}

}  // namespace
}  // namespace vantrel
