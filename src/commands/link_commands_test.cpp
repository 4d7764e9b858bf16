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

TEST_F(BanTest, UnbanTakesAnySpellingOfAnAddressAndOtherLinesAsWritten) {
    fake.files.AddFile(kBanFile, "1..2\r\n2001:DB8::1\r\n::ffff:10.0.0.2\r\n10.0.0.3\r\n");
    struct Case {
        const char* unban;
        const char* printed;
        const char* left;
    } cases[] = {
        {"2001:db8:0:0::1", "", "1..2\r\n::ffff:10.0.0.2\r\n10.0.0.3\r\n"},
        {"10.0.0.2", "", "1..2\r\n10.0.0.3\r\n"},
        {"1..2", "", "10.0.0.3\r\n"},  // an older BAN's line
        {"10.0.0.4", "IP not found", "10.0.0.3\r\n"},
        {"::FFFF:10.0.0.3", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(std::string("unban ") + c.unban), c.printed) << c.unban;
        EXPECT_EQ(fake.files.Contents(kBanFile), c.left) << c.unban;
    }
}

TEST_F(BanTest, BanWritesAnAddressAsTypedAndRefusesWhatIsNone) {
    const std::string longDigits(300, '7');
    const char* refused[] = {"1.2.3.4.5", "..",          "1..2", "256.0.0.1",
                             "010.0.0.1", "2001:db8::g", "1:2",  longDigits.c_str()};
    for (const char* entry : refused) {
        EXPECT_EQ(Run(std::string("ban ") + entry), "Syntax: BAN [ip]") << entry;
    }
    EXPECT_FALSE(fake.files.HasFile(kBanFile));
    EXPECT_EQ(Run("ban 2001:DB8::1"), "");
    EXPECT_EQ(Run("ban ::ffff:10.0.0.2"), "");
    EXPECT_EQ(fake.files.Contents(kBanFile), "2001:DB8::1\r\n::ffff:10.0.0.2\r\n");
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
