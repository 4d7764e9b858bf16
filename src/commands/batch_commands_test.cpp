#include "commands/batch_commands.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// What the commands write, start and refuse is in batch_management.dcb and
// launch.dcb.
TEST(BatchNames, Validity) {
    const std::pair<const char*, bool> cases[] = {
        {"docs", true},      {"docs.txt", true}, {"docs.DCB", true},
        {"docs.dcb", false}, {"", false},        {"sub\\docs", false},
        {"sub/docs", false}, {".dcb", false},    {"my docs", true}};
    for (auto [name, valid] : cases) EXPECT_EQ(IsValidBatchName(name), valid) << name;
}

}  // namespace
}  // namespace vantrel
