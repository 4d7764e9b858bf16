#include "commands/link_commands.h"

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

// Any spelling of an address, and other lines (an older BAN's) as written.
TEST_F(BanTest, UnbanTakesAnySpellingOfAnAddressAndOtherLinesAsWritten) {
    fake.files.AddFile(kBanFile, "1..2\r\n2001:DB8::1\r\n::ffff:10.0.0.2\r\n10.0.0.3\r\n");
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"2001:db8:0:0::1", "", "1..2\r\n::ffff:10.0.0.2\r\n10.0.0.3\r\n"},
        {"10.0.0.2", "", "1..2\r\n10.0.0.3\r\n"},
        {"1..2", "", "10.0.0.3\r\n"},
        {"10.0.0.4", "IP not found", "10.0.0.3\r\n"},
        {"::FFFF:10.0.0.3", "", ""},
    };
    for (auto [unban, printed, left] : cases) {
        EXPECT_EQ(Run(std::string("unban ") + unban), printed) << unban;
        EXPECT_EQ(fake.files.Contents(kBanFile), left) << unban;
    }
}

// Refusals, and that they write nothing, are in ban.dcb. An address is written
// as typed, and a full disk leaves the file as it was.
TEST_F(BanTest, BanWritesAnAddressAsTypedAndNoFailureLosesTheList) {
    EXPECT_EQ(Run("ban 2001:DB8::1"), "");
    EXPECT_EQ(Run("ban ::ffff:10.0.0.2"), "");
    const std::string list = "2001:DB8::1\r\n::ffff:10.0.0.2\r\n";
    EXPECT_EQ(fake.files.Contents(kBanFile), list);
    fake.files.writeError = kDiskFull;
    EXPECT_EQ(Run("ban 10.0.0.2"), kDiskFull);
    EXPECT_EQ(Run("unban 2001:DB8::1"), kDiskFull);
    EXPECT_EQ(fake.files.Contents(kBanFile), list);
}

}  // namespace
}  // namespace vantrel
