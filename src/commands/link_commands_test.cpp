#include "commands/link_commands.h"

#include "remote_fixture.h"

namespace vantrel {
namespace {

using testing::kBanFile;
using BanTest = testing::RemoteTest;

// Listing and refusals are in ban.dcb, spellings and a full disk in unban.dcb;
// here, that the new list replaces the old in one step.
TEST_F(BanTest, UnbanReplacesTheListInOneStep) {
    fake.files.AddFile(kBanFile, "10.0.0.1\r\n10.0.0.2\r\n\r\n10.0.0.1\r10.0.0.10");
    EXPECT_EQ(Run("ban"), "10.0.0.1\n10.0.0.2\n\n10.0.0.1\n10.0.0.10");
    EXPECT_EQ(Run("unban 10.0.0.1"), "");
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.2\r\n\r\n10.0.0.10\r\n");
    EXPECT_EQ(fake.files.replaceCount, 1);
}

}  // namespace
}  // namespace vantrel
