#include "commands/web_commands.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using WebCommandsTest = InterpreterTest;

const std::string kDocs = "http://vtrl.orvane.com/documentation/";

// The texts ORID prints are in web.dcb. Pages open as they are until ORID
// has stored an account, then log in through it.
TEST_F(WebCommandsTest, PagesOpenAndLogInThroughTheAccountOridStores) {
    const std::pair<const char*, std::string> cases[] = {
        {"help", kDocs + "index.html"},
        {"help Getting Started", kDocs + "gettingstarted.html"},
        {"orvanesite", "http://www.orvane.com/"},
        {"orvanesite shop", "http://shop.orvane.com/"},
        {"donate anything", "http://donate.orvane.com/"},
        {"update", "http://vtrl.orvane.com/"},
    };
    for (const auto& [line, opened] : cases) {
        os.shell.opens.clear();
        EXPECT_EQ(Output(line), "") << line;  // the browser reports its own failures
        EXPECT_EQ(os.shell.opens, (std::vector<FakeShell::OpenCall>{{opened, "", kShowNormal}}))
            << line;
    }
    EXPECT_EQ(Output("orid \"ann\" my  s&cret"), "");
    EXPECT_EQ(host.account.user, "ann");
    EXPECT_EQ(host.account.pass, "my  s&cret");
    Output("help");
    EXPECT_EQ(os.shell.opens.back().file,
              "http://www.orvane.com/login/?orid=ann&password=my++s%26cret&autologin=on&retpage="
              "http%3A%2F%2Fvtrl%2Eorvane%2Ecom%2Fdocumentation%2Findex%2Ehtml");
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
