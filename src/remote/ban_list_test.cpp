#include "remote/ban_list.h"

#include <gtest/gtest.h>

#include "fake_file_system.h"

namespace vantrel {
namespace {

constexpr char kList[] = "C:\\Data\\Ban.txt";

TEST(BanListTest, TheListIsDataFolderAndBanTxt) {
    EXPECT_EQ(BanFilePath("C:\\ProgramData\\Orvane\\Vantrel"),
              "C:\\ProgramData\\Orvane\\Vantrel\\Ban.txt");
}

TEST(BanListTest, ALineBansEverySpellingOfItsAddress) {
    struct Case {
        const char* list;
        const char* peer;
        bool banned;
    } cases[] = {
        {"2001:db8::1\r\n", "2001:db8::1", true},
        {"2001:DB8::1\r\n", "2001:db8::1", true},
        {"2001:0db8:0:0:0:0:0:0001\r\n", "2001:db8::1", true},
        {"::ffff:192.168.1.20\r\n", "192.168.1.20", true},
        {"10.0.0.1\r\n2001:db8::1\r\n", "2001:db8::2", false},
        // Lines as they always were: whole lines, no trimming.
        {"10.1.2.3\r\n", "10.1.2.3", true},
        {"1.1.1.1\r10.1.2.3", "10.1.2.3", true},
        {"10.1.2.3 \r\n", "10.1.2.3", false},
        {"10.1.2.3\n10.1.2.4\r\n", "10.1.2.3", false},
        {"1..2\r\n", "1..2", true},
        {"", "10.1.2.3", false},
    };
    for (const Case& c : cases) {
        testing::FakeFileSystem files;
        files.AddFolder("C:\\Data");
        files.AddFile(kList, c.list);
        EXPECT_EQ(IsBanned(files, kList, c.peer), c.banned) << c.list << " / " << c.peer;
    }
    testing::FakeFileSystem none;
    EXPECT_FALSE(IsBanned(none, kList, "10.1.2.3"));
}

TEST(BanListTest, BanOnceAddsNoSecondSpellingOfAListedAddress) {
    testing::FakeFileSystem files;
    files.AddFolder("C:\\Data");
    files.AddFile(kList, "2001:DB8::1\r\n");
    std::string err;
    EXPECT_TRUE(BanOnce(files, kList, "2001:db8::1", &err));
    EXPECT_TRUE(BanOnce(files, kList, "10.0.0.1", &err));
    EXPECT_TRUE(BanOnce(files, kList, "::ffff:10.0.0.1", &err));
    EXPECT_EQ(files.Contents(kList), "2001:DB8::1\r\n10.0.0.1\r\n");
}

}  // namespace
}  // namespace vantrel
