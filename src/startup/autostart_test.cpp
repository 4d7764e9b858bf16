#include "startup/autostart.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using AutostartTest = InterpreterTest;

const std::string kRun =
    FakeRegistry::Id("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Orvane Vantrel");

TEST(AutostartCommandLine, QuotedWithTheExeExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\Vantrel\\Vantrel.exe", "\"C:\\Program Files\\Vantrel\\Vantrel.exe\""},
        {"C:\\Tools\\VANTREL.EXE", "\"C:\\Tools\\VANTREL.exe\""},
        {"C:\\v1.2\\Vantrel", "\"C:\\v1.2\\Vantrel.exe\""},
        {"Vantrel.exe", "\"Vantrel.exe\""},
    };
    for (auto [path, data] : cases) EXPECT_EQ(AutostartCommandLine(path), data) << path;
}

// In turn: whether the registry refuses changes, a line, what it prints,
// and whether the Run value is there afterwards.
TEST_F(AutostartTest, OnOffAndQueryAndARefusedWriteIsReported) {
    const std::string refused = "Unable to change AUTOSTART: Access is denied.";
    const std::string syntax = "Syntax: AUTOSTART [ON|OFF]", on = "AUTOSTART is on",
                      off = "AUTOSTART is off";
    // clang-format off
    const std::tuple<bool, const char*, std::string, bool> cases[] = {
        {false, "autostart yes", syntax, false}, {false, "autostart 1", syntax, false},
        {false, "autostart", off, false}, {false, "autostart ON", "", true},
        {false, "autostart", on, true}, {false, "AUTOSTART Off", "", false},
        {false, "autostart", off, false},
        {false, "autostart off", "", false},  // already off: nothing to say
        {true, "autostart on", refused, false}, {true, "autostart", off, false},
        {false, "autostart on", "", true}, {true, "autostart off", refused, true},
        {true, "autostart", on, true}};
    // clang-format on
    const std::map<std::string, std::string> value = {
        {kRun, "\"C:\\Program Files\\Vantrel\\Vantrel.exe\""}};
    for (const auto& [refuses, line, output, registered] : cases) {
        os.registry.refusal = refuses ? "Access is denied." : "";
        EXPECT_EQ(Output(line), output) << line;
        EXPECT_EQ(os.registry.values, registered ? value : decltype(value)()) << line;
    }
}

}  // namespace
}  // namespace vantrel::testing
