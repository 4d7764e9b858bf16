#include "startup/defaults.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

// What a fresh console does with its defaults; the switches' answers are in
// placement.dcb and echo_output.dcb.
using DefaultsTest = InterpreterTest;

// Lines split, expand and clear without echo. The not sign is the marker
// however it arrives: as the character, or as its Windows-1252 byte
// standing alone; the same byte inside another character ("ì" is C3 AC) is
// no marker.
TEST_F(DefaultsTest, TheEnvironmentMarkerIsTheNotSignInEitherCodePage) {
    const std::pair<const char*, const char*> cases[] = {
        {"echo `1+1`|echo ¬TEMP¬", "2\nC:\\Temp"}, {"echo café ¬TEMP¬", "café C:\\Temp"},
        {"echo \xACTEMP\xAC!", "C:\\Temp!"},       {"echo \xACTEMP¬", "C:\\Temp"},
        {"echo ì¬TEMP¬ì", "ìC:\\Tempì"},           {"echo ìTEMPì", "ìTEMPì"},
    };
    for (auto [line, shown] : cases) EXPECT_EQ(Run(line), std::string("<FF>\n") + shown) << line;
}

TEST_F(DefaultsTest, FoldersFollowTheEnvironment) {
    os.environment.variables = {{"ALLUSERSPROFILE", "D:\\All\\"}, {"PUBLIC", "D:\\Users\\Public"}};
    AssignDefaults(in, 1024);
    EXPECT_EQ(in.EvaluateText("ShortcutFolder"), "D:\\All\\Orvane\\Vantrel\\Shortcuts");
    EXPECT_EQ(in.EvaluateText("DesktopPublic"), "D:\\Users\\Public\\Desktop");
    EXPECT_EQ(in.EvaluateText("DesktopUser"), "\\Desktop");
    EXPECT_EQ(in.EvaluateText("WinWidth"), "1024");
    os.environment.variables = {{"ALLUSERSPROFILE", "E:/All/"}};
    AssignDefaults(in, 1024);
    EXPECT_EQ(AllUsersFolder(in), "E:/All");
    EXPECT_EQ(in.EvaluateText("DesktopPublic"), "E:/All\\Desktop");
}

}  // namespace
}  // namespace vantrel::testing
