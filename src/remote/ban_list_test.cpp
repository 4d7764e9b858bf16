#include "remote/ban_list.h"

#include <gtest/gtest.h>

#include "fake_file_system.h"

namespace vantrel {
namespace {

constexpr char kList[] = "C:\\Data\\Ban.txt";

// How a line matches is the address tests' and the login tests' (whole
// lines, CR or CRLF); here only that the list asks in any spelling and
// that a second spelling is never added.
TEST(BanListTest, TheListBansEverySpellingOfAnAddressOnce) {
    testing::FakeFileSystem files;
    EXPECT_FALSE(IsBanned(files, kList, "10.1.2.3"));
    files.AddFolder("C:\\Data");
    files.AddFile(kList, "10.0.0.9\r\n2001:DB8::1\r\n");
    EXPECT_TRUE(IsBanned(files, kList, "2001:0db8::0001"));
    EXPECT_FALSE(IsBanned(files, kList, "2001:db8::2"));
    std::string err;
    EXPECT_TRUE(BanOnce(files, kList, "2001:db8::1", &err));
    EXPECT_TRUE(BanOnce(files, kList, "10.0.0.1", &err));
    EXPECT_TRUE(BanOnce(files, kList, "::ffff:10.0.0.1", &err));
    EXPECT_EQ(files.Contents(kList), "10.0.0.9\r\n2001:DB8::1\r\n10.0.0.1\r\n");
}

}  // namespace
}  // namespace vantrel
