#include "commands/colours.h"

#include <gtest/gtest.h>

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

class ColoursTest : public InterpreterTest {
  protected:
    ColoursTest() {
        os.files.AddFile(os.files.programFolder + "\\Colours.txt",
                         "Web colours\r\nred #FF0000\r\nteal 008080\r\nlime#00FF00\r\n");
    }
    Colour Parse(const char* text) { return ParseColour(text, os.files, os.codePages); }
};

TEST_F(ColoursTest, ParsesCodesAndNames) {
    struct Case {
        const char* text;
        Colour value;
    } cases[] = {
        {"#FF0000", 0x0000FF},
        {"#00FF00", 0x00FF00},
        {"#0000FF", 0xFF0000},
        {"#0099FF", 0xFF9900},
        {"#fff", 0x000FFF},
        {"00C000", 0x00C000},
        {"RED", 0x0000FF},
        {"Red", 0x0000FF},
        {"teal", 0x808000},
        {"lime", 0x000000},
        {"#1g2h3i", 0x030201},
        {"", 0},
        {"#", 0},
        {"#FFFFFFFF", 0xFFFFFF},
        {"zz", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.value) << c.text;
}

TEST_F(ColoursTest, NamesInTheLegacyCodePageOrInUtf8) {
    struct Case {
        const char* file;
        const char* name;
        Colour value;
    } cases[] = {
        {"gr\xFCn #00FF00\r\n", "gr\xC3\xBCn", 0x00FF00},      // an old Windows-1252 file
        {"gr\xC3\xBCn #00FF00\r\n", "gr\xC3\xBCn", 0x00FF00},  // one saved as UTF-8
        {"\xEF\xBB\xBFgr\xC3\xBCn #00FF00\r\n", "gr\xC3\xBCn", 0x00FF00},
        {"gr\xFCn #00FF00\r\n", "gr\xFCn", 0x000000},  // a legacy name is no name
    };
    for (const Case& c : cases) {
        os.files.AddFile(os.files.programFolder + "\\Colours.txt", c.file);
        EXPECT_EQ(Parse(c.name), c.value) << c.file;
    }
}

TEST_F(ColoursTest, WithoutTheFileNamesReadAsDigits) {
    os.files.files.clear();
    EXPECT_EQ(Parse("red"), 0x000D00u);  // "re" is 0, "d" is 13
    EXPECT_EQ(Parse("00C000"), 0x00C000u);
}

// Spellings beside those colours.dcb and syntax.dcb show.
TEST_F(ColoursTest, ColourCommandSetsTheRightVariable) {
    struct Case {
        const char* line;
        const char* variable;
        const char* value;
    } cases[] = {
        {"colour command busy text #0099FF", "ColourCommandBusyText", "#0099FF"},
        {"colour COMMAND BUSY TEXT #0099FF", "ColourCommandBusyText", "#0099FF"},
        {"colour prompt background Teal", "ColourPromptBg", "Teal"},
        {"colour prompt txt 123456", "ColourPromptText", "123456"},
        {"colour prompt loading bg x", "ColourPromptBusyBg", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Output(c.line), "") << c.line;
        EXPECT_EQ(in.EvaluateText(c.variable), c.value) << c.line;
    }
}

TEST_F(ColoursTest, ColourCommandMisuse) {
    const std::string syntax =
        "Syntax: COLOUR PROMPT|COMMAND|OUTPUT [BUSY] TEXT|BG colour\n"
        "Example 1: COLOUR OUTPUT BG RED\nExample 2: COLOUR COMMAND BUSY TEXT #0099FF";
    for (const char* line : {"colour prompt middle red", "colour prompt busy middle red",
                             "colour prompt busy text red extra"}) {
        EXPECT_EQ(Output(line), syntax) << line;
    }
    EXPECT_EQ(Output("colour output busy text #000000"),
              "Busy colours cannot be set for the output pane.");
    EXPECT_EQ(in.EvaluateText("ColourOutputText"), "#00C000");
    EXPECT_EQ(Output("colour prompt text"), "");
    EXPECT_EQ(in.EvaluateText("ColourPromptText"), "");
}

}  // namespace
}  // namespace vantrel::testing
