#include "startup/autostart.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using AutostartTest = InterpreterTest;

const std::string kRun =
    FakeRegistry::Id("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Orvane Vantrel");

TEST(AutostartCommandLine, QuotedWithTheExeExtension) {
    struct Case {
        const char* path;
        const char* data;
    } cases[] = {
        {"C:\\Program Files\\Vantrel\\Vantrel.exe", "\"C:\\Program Files\\Vantrel\\Vantrel.exe\""},
        {"C:\\Tools\\VANTREL.EXE", "\"C:\\Tools\\VANTREL.exe\""},
        {"C:\\v1.2\\Vantrel", "\"C:\\v1.2\\Vantrel.exe\""},
        {"Vantrel.exe", "\"Vantrel.exe\""},
    };
    for (const Case& c : cases) EXPECT_EQ(AutostartCommandLine(c.path), c.data) << c.path;
}

TEST_F(AutostartTest, OnOffAndQuery) {
    for (const char* line : {"autostart yes", "autostart 1"}) {
        EXPECT_EQ(Output(line), "Syntax: AUTOSTART [ON|OFF]") << line;
    }
    EXPECT_TRUE(os.registry.values.empty());
    EXPECT_EQ(Output("autostart"), "AUTOSTART is off");
    EXPECT_EQ(Output("autostart ON"), "");
    EXPECT_EQ(os.registry.values.at(kRun), "\"C:\\Program Files\\Vantrel\\Vantrel.exe\"");
    EXPECT_EQ(Output("autostart"), "AUTOSTART is on");
    EXPECT_EQ(Output("AUTOSTART Off"), "");
    EXPECT_EQ(Output("autostart"), "AUTOSTART is off");
    EXPECT_EQ(Output("autostart off"), "");  // already off: nothing to say
    EXPECT_TRUE(os.registry.values.empty());
}

TEST_F(AutostartTest, ARefusedWriteIsReported) {
    os.registry.refusal = "Access is denied.";
    EXPECT_EQ(Output("autostart on"), "Unable to change AUTOSTART: Access is denied.");
    EXPECT_EQ(Output("autostart"), "AUTOSTART is off");
    os.registry.refusal.clear();
    EXPECT_EQ(Output("autostart on"), "");
    os.registry.refusal = "Access is denied.";
    EXPECT_EQ(Output("autostart off"), "Unable to change AUTOSTART: Access is denied.");
    EXPECT_EQ(Output("autostart"), "AUTOSTART is on");
}

}  // namespace
}  // namespace vantrel::testing
