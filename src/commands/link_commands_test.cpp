#include "commands/link_commands.h"

#include <gtest/gtest.h>

#include "remote_fixture.h"

namespace vantrel {
namespace {

using testing::kBanFile;
using testing::RemoteTest;

using BanTest = RemoteTest;

constexpr char kBanSyntax[] = "Syntax: BAN [ip]";
constexpr char kUnbanSyntax[] = "Syntax: UNBAN ip";

TEST_F(BanTest, ListingAMissingOrEmptyList) {
    EXPECT_EQ(Run("ban"), "No banned IPs");
    fake.files.AddFile(kBanFile, "");
    EXPECT_EQ(Run("ban"), "No banned IPs");
}

TEST_F(BanTest, ListingShowsEveryLineInOrder) {
    fake.files.AddFile(kBanFile, "10.0.0.2\r\n\r\n10.0.0.1\r\n");
    EXPECT_EQ(Run("ban"), "10.0.0.2\n\n10.0.0.1");
}

TEST_F(BanTest, BanAppendsEvenWhenListed) {
    EXPECT_EQ(Run("ban 10.0.0.1"), "");
    EXPECT_EQ(Run("ban 10.0.0.1"), "");
    EXPECT_EQ(Run("ban 999"), "");
    EXPECT_EQ(Run("ban 1..2"), "");
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.1\r\n10.0.0.1\r\n999\r\n1..2\r\n");
}

TEST_F(BanTest, BanRefusesAnythingButDigitsAndDots) {
    for (const char* line : {"ban 10.0.0.1 10.0.0.2", "ban 10.0.0.a", "ban 10.0.0.1:80",
                             "ban \"10.0.0.1\"", "ban -1", "ban 1 2"}) {
        EXPECT_EQ(Run(line), kBanSyntax) << line;
    }
    EXPECT_FALSE(fake.files.HasFile(kBanFile));
}

TEST_F(BanTest, BanThatCannotWritePrintsTheError) {
    fake.files.writeError = "There is not enough space on the disk.";
    EXPECT_EQ(Run("ban 10.0.0.1"), "There is not enough space on the disk.");
}

TEST_F(BanTest, UnbanRemovesEveryMatchingLine) {
    fake.files.AddFile(kBanFile, "10.0.0.1\r\n10.0.0.2\r\n10.0.0.1\r\n10.0.0.10\r\n10.0.0.1\r\n");
    EXPECT_EQ(Run("unban 10.0.0.1"), "");
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.2\r\n10.0.0.10\r\n");
    EXPECT_EQ(fake.files.replaceCount, 1);
}

TEST_F(BanTest, UnbanOfAnUnlistedAddressRewritesTheList) {
    fake.files.AddFile(kBanFile, "10.0.0.2\r10.0.0.3");
    EXPECT_EQ(Run("unban 10.0.0.1"), "IP not found");
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.2\r\n10.0.0.3\r\n");
}

TEST_F(BanTest, UnbanComparesTheArgumentAsTyped) {
    fake.files.AddFile(kBanFile, "10.0.0.1\r\n");
    EXPECT_EQ(Run("unban \"10.0.0.1\""), "IP not found");
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.1\r\n");
}

TEST_F(BanTest, UnbanWithoutAListPrintsTheErrorAndLeavesNothing) {
    size_t files = fake.files.files.size();
    EXPECT_EQ(Run("unban 10.0.0.1"), testing::kNotFound);
    EXPECT_EQ(fake.files.files.size(), files);
}

TEST_F(BanTest, UnbanThatCannotWriteKeepsTheList) {
    fake.files.AddFile(kBanFile, "10.0.0.1\r\n10.0.0.2\r\n");
    fake.files.writeError = "There is not enough space on the disk.";
    EXPECT_EQ(Run("unban 10.0.0.1"), "There is not enough space on the disk.");
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.1\r\n10.0.0.2\r\n");
}

TEST_F(BanTest, UnbanSyntax) {
    EXPECT_EQ(Run("unban"), kUnbanSyntax);
    EXPECT_EQ(Run("unban 1.1.1.1 2.2.2.2"), kUnbanSyntax);
}

TEST_F(BanTest, RemoteCommandsOnAConsoleWithoutASocketOnlyCheckArguments) {
    testing::FakePlatform os;
    testing::FakeConsoleWindow window;
    testing::FakePane pane;
    testing::FakeTray tray;
    os.environment.variables = {{"ALLUSERSPROFILE", "C:\\ProgramData"}};
    Console bare(os.platform, window, pane, tray, BuiltInCommands());
    AssignDefaults(bare.In(), 1280);
    for (const char* line : {"listen", "connect host", "disconnect"}) {
        bare.In().PendingOutput().clear();
        bare.In().RunCommand(line);
        EXPECT_EQ(bare.In().PendingOutput(), "\f") << line;
        EXPECT_EQ(bare.State(), kLocal) << line;
    }
}

}  // namespace
}  // namespace vantrel
