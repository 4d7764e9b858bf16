#include "remote/ban_list.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace vantrel {
namespace {

constexpr char kList[] = "C:\\Data\\Ban.txt";

// How a line matches is the address tests' and the login tests' (whole lines, CR or CRLF); here
// only that the list asks in any spelling, that a second spelling is never added, and that an
// older version's list, with a line an editor left in the legacy code page, is read as the
// console's text and written back as that.
TEST(BanListTest, TheListBansEverySpellingOnceAndRewritesALegacyListAsTheConsolesText) {
    testing::FakeFileSystem files;
    const testing::FakeCodePages pages;
    std::string text, err;
    EXPECT_FALSE(IsBanned(files, pages, kList, "10.1.2.3"));
    files.AddFolder("C:\\Data");
    files.AddFile(kList, "10.0.0.9\r\n2001:DB8::1\r\nbanni \xE9\r\n");
    ASSERT_TRUE(ReadBanText(files, pages, kList, &text, &err));
    EXPECT_EQ(text, "10.0.0.9\r\n2001:DB8::1\r\nbanni \xC3\xA9\r\n");
    for (auto [address, banned] :
         {std::pair{"2001:0db8::0001", true}, {"10.0.0.9", true}, {"2001:db8::2", false}})
        EXPECT_EQ(IsBanned(files, pages, kList, address), banned) << address;
    EXPECT_EQ(files.Contents(kList), "10.0.0.9\r\n2001:DB8::1\r\nbanni \xE9\r\n");  // a check reads
    for (const char* address : {"2001:db8::1", "10.0.0.1", "::ffff:10.0.0.1"})
        EXPECT_TRUE(BanOnce(files, pages, kList, address, &err)) << address;
    EXPECT_EQ(files.Contents(kList), "10.0.0.9\r\n2001:DB8::1\r\nbanni \xC3\xA9\r\n10.0.0.1\r\n");
}

}  // namespace
}  // namespace vantrel
