#include "platform/paths.h"

#include <gtest/gtest.h>

#include "text/text_cases_testing.h"

namespace vantrel {
namespace {

TEST(PathsTest, SplitAndJoinByOneSetOfRules) {
    for (const text::TextCase& c : text::ReadCases("src/platform/testdata/paths.txt")) {
        SCOPED_TRACE(c.where);
        if (c[0] == "join") {
            EXPECT_EQ(JoinPath(c[1], c[2]), c[3]);
            continue;
        }
        const std::string& path = c[1];
        EXPECT_EQ(DriveOf(path), c[2]);
        EXPECT_EQ(RootOf(path), c[3]);
        EXPECT_EQ(FolderOf(path), c[4]);
        EXPECT_EQ(NameOf(path), c[5]);
        EXPECT_EQ(TrimSeparators(path), c[6]);
        EXPECT_EQ(ShareOf(path), c[7]);
    }
}

}  // namespace
}  // namespace vantrel
