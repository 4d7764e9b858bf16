#include "interpreter/colours.h"

#include "interpreter_fixture.h"

namespace vantrel::testing {
namespace {

using ColoursTest = InterpreterTest;

// The colour command's spellings and misuse are in colours.dcb.
// Colours.txt as given (nullptr: there is none), a text, its colour.
TEST_F(ColoursTest, ParsesCodesAndNames) {
    const char* web = "Web colours\r\nred #FF0000\r\nteal 008080\r\nlime#00FF00\r\n";
    // clang-format off
    const std::tuple<const char*, const char*, Colour> cases[] = {
        {web, "#FF0000", 0x0000FF}, {web, "#00FF00", 0x00FF00}, {web, "#0000FF", 0xFF0000},
        {web, "#0099FF", 0xFF9900}, {web, "#fff", 0x000FFF}, {web, "00C000", 0x00C000},
        {web, "RED", 0x0000FF}, {web, "Red", 0x0000FF}, {web, "teal", 0x808000},
        {web, "lime", 0x000000}, {web, "#1g2h3i", 0x030201}, {web, "", 0}, {web, "#", 0},
        {web, "#FFFFFFFF", 0xFFFFFF}, {web, "zz", 0},
        // Names in an old Windows-1252 file, or one saved as UTF-8; a legacy name is no name.
        {"gr\xFCn #00FF00\r\n", "gr\xC3\xBCn", 0x00FF00},
        {"gr\xC3\xBCn #00FF00\r\n", "gr\xC3\xBCn", 0x00FF00},
        {"\xEF\xBB\xBFgr\xC3\xBCn #00FF00\r\n", "gr\xC3\xBCn", 0x00FF00},
        {"gr\xFCn #00FF00\r\n", "gr\xFCn", 0x000000},
        // Without the file names read as digits: "re" is 0, "d" is 13.
        {nullptr, "red", 0x000D00}, {nullptr, "00C000", 0x00C000}};
    // clang-format on
    for (auto [file, text, value] : cases) {
        os.files.files.clear();
        if (file) os.files.AddFile(os.files.programFolder + "\\Colours.txt", file);
        EXPECT_EQ(ParseColour(text, os.files, os.codePages), value)
            << text << " in " << (file ? file : "no file");
    }
}

}  // namespace
}  // namespace vantrel::testing
