#include "interpreter/launch.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// Batch files calling batch files, with parameters, run in batch_files.dcb;
// where each word is looked for, and with which style, in launch.dcb.
using LaunchTest = InterpreterTest;

TEST(BatchParams, MarkersAroundNumbersTakeTheParameters) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"`1` `1`", "p", "p p"},
        {"`1``1`", "p", "p"},         // the second pair's opening marker closes the first
        {"<`1`>", "`1` q", "<`1`>"},  // a parameter is never substituted again
        {"`99999999999`", "a b", ""},
        {"[``] `2`", "\"a b\" c", "[\"a b\" c] c"},
    };
    for (auto [line, params, result] : cases)
        EXPECT_EQ(SubstituteBatchParams(line, "`", params), result) << line;
}

TEST_F(LaunchTest, BatchLinesRunOneByOne) {
    os.files.AddFile("C:\\two.dcb", "echo one\recho two\n\r\n");
    EXPECT_EQ(Run("two"), "<FF>\n<FF>\none\n<FF>\ntwo\n<FF>");
    std::string err;
    EXPECT_FALSE(RunBatch(in, "C:\\Tools\\two", "", &err));  // a folder is not searched on PATH
    EXPECT_EQ(err, "File not found");
}

// A batch file that runs itself stops at the nesting limit; the line goes on.
TEST_F(LaunchTest, BatchFilesNestedTooDeepStopAndTheLineGoesOn) {
    os.files.AddFile("C:\\loop.dcb", "@loop");
    const std::string out = Run("loop|echo after");
    EXPECT_NE(out.find("\nBatch files nested more than 64 deep; stopped\n"), std::string::npos);
    EXPECT_TRUE(out.ends_with("\nafter")) << out;
}

}  // namespace
}  // namespace vantrel::testing
