#include "commands/folder_commands.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

class FolderCommandsTest : public InterpreterTest {
protected:
    FolderCommandsTest() {
        for (const char* folder : {"C:\\Work", "C:\\Work\\Sub", "C:\\Program Files", "D:\\",
                                   "D:\\Data"}) {
            os.files.AddFolder(folder);
        }
        os.files.current = "C:\\Work";
    }
};

TEST_F(FolderCommandsTest, CdStaysOnTheDriveAndReportsErrors) {
    EXPECT_EQ(Output("cd Sub"), "");
    EXPECT_EQ(os.files.current, "C:\\Work\\Sub");
    EXPECT_EQ(Output("CD \"/Program Files\""), "");
    EXPECT_EQ(os.files.current, "C:\\Program Files");
    EXPECT_EQ(Output("cd D:\\Data"), "");  // another drive's folder: the current one stays
    EXPECT_EQ(os.files.current, "C:\\Program Files");
    EXPECT_EQ(Output("cd nowhere"), "Path not found");
    EXPECT_EQ(Output("cd"), "Syntax: CD [folder]");
    EXPECT_EQ(Output("chdir \"\""), "Syntax: CD [folder]");
    EXPECT_EQ(Output("cd \\\\server"), "Please specify a sharename, example: CD \\\\Server\\SharedFolder");
    EXPECT_EQ(Output("cd //server/"), "Please specify a sharename, example: CD \\\\Server\\SharedFolder");
    EXPECT_EQ(in.EvaluateText("CurDir"), "C:\\Program Files");
}

TEST_F(FolderCommandsTest, CddChangesDriveAndFolderSilently) {
    EXPECT_EQ(Output("cdd D:\\Data"), "");
    EXPECT_EQ(os.files.current, "D:\\Data");
    EXPECT_EQ(Output("cdd nowhere"), "");
    EXPECT_EQ(os.files.current, "D:\\Data");
    EXPECT_EQ(Output("cdd"), "Syntax: CDD [folder]");
    EXPECT_EQ(Output("cdd \\\\srv"), "Please specify a sharename, example: CDD \\\\Server\\SharedFolder");
    EXPECT_EQ(Output("cdd.."), "");
    EXPECT_EQ(os.files.current, "D:\\");
}

TEST_F(FolderCommandsTest, DriveFormChangesTheDrive) {
    EXPECT_EQ(Output("d:"), "");
    EXPECT_EQ(os.files.current, "D:\\");
    EXPECT_EQ(Output("q:"), "");  // no such drive: nothing changes, nothing is said
    EXPECT_EQ(os.files.current, "D:\\");
    EXPECT_EQ(in.EvaluateText("CurDir"), "D:\\");
}

}  // namespace
}  // namespace vantrel::testing
