#include "commands/web_commands.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using WebCommandsTest = InterpreterTest;

// The pages each command opens, through the account or not, are in
// launch.dcb; here what ORID keeps, and when it asks for the password.
TEST_F(WebCommandsTest, OridStoresTheAccountAndAsksOnlyForAMissingPassword) {
    EXPECT_EQ(Output("orid \"ann\" my  s&cret"), "");
    EXPECT_EQ(host.account.user, "ann");
    EXPECT_EQ(host.account.pass, "my  s&cret");
    EXPECT_EQ(host.Count("AskAccountPassword"), 0);
    EXPECT_EQ(Output("orid carl"), "");
    EXPECT_EQ(host.account.user, "carl");
    EXPECT_EQ(host.Count("AskAccountPassword"), 1);
    // Without both details there is no login to go through.
    EXPECT_EQ(PageAddress("http://x/", "", "pw"), "http://x/");
    EXPECT_EQ(PageAddress("http://x/", "ann", ""), "http://x/");
}

}  // namespace
}  // namespace vantrel::testing
