#include "line_editor/completion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_table.h"

namespace vantrel {
namespace {

using enum CompletionContext;

constexpr size_t kEnd = std::string::npos;

const LineMarkers kMarkers{"|", "`", "\xAC"};

CompletionRequest Parse(std::string_view line, size_t caret) {
    return ParseCompletion(line, caret, kMarkers, BuiltInCommands());
}

TEST(CompletionParse, EachWordGetsItsContext) {
    // clang-format off
    const struct {
        const char* line; size_t caret; CompletionContext context; const char* command;
        int argIndex; const char* lead; const char* typed; size_t start;
    } cases[] = {
        // The first word, and a first word that looks like a path.
        {"", kEnd, kCommandWord, "", 0, "", "", 0},
        {"he", kEnd, kCommandWord, "", 0, "", "he", 0},
        {"  he", kEnd, kCommandWord, "", 0, "", "he", 2},
        {"@ec", kEnd, kCommandWord, "", 0, "", "ec", 1},
        {"c:\\win\\sy", kEnd, kPath, "", 0, "c:\\win\\", "sy", 0},
        {"d:x", kEnd, kPath, "", 0, "d:", "x", 0},
        {"\"c:\\my fo", kEnd, kPath, "", 0, "c:\\", "my fo", 0},
        // The word before the caret; what follows it stays.
        {"hexyz", 2, kCommandWord, "", 0, "", "he", 0},
        {"dir | ty", kEnd, kCommandWord, "", 0, "", "ty", 6},
        // Commands that take paths, quoted or not.
        {"CD win", kEnd, kPath, "cd", 1, "", "win", 3},
        {"type \"my fi", kEnd, kPath, "type", 1, "", "my fi", 5},
        {"type \"my file.txt\"", kEnd, kPath, "type", 1, "", "my file.txt", 5},
        {"copy a.txt c:\\x\\", kEnd, kPath, "copy", 2, "c:\\x\\", "", 11},
        {"md new\\fol", kEnd, kPath, "md", 1, "new\\", "fol", 3},
        {"md c:\\my new\\fo", kEnd, kPath, "md", 2, "c:\\my new\\", "fo", 3},
        {"run no", kEnd, kTarget, "run", 1, "", "no", 4},
        {"runmax x y", kEnd, kPath, "runmax", 2, "", "y", 9},
        {"addbatch go c:\\", kEnd, kPath, "addbatch", 2, "c:\\", "", 12},
        // A word that looks like a path is one, whatever the command.
        {"notepad c:\\bo", kEnd, kPath, "notepad", 1, "c:\\", "bo", 8},
        {"notepad rea", kEnd, kPath, "notepad", 1, "", "rea", 8},
        {"dos c:\\wi", kEnd, kPath, "dos", 1, "c:\\", "wi", 4},
        // Variables: the name before the caret, inside an expression too.
        {"set Win", kEnd, kVariable, "set", 1, "", "Win", 4},
        {"set WinX=1", kEnd, kNone, "set", 1, "", "1", 9},
        {"? 1+Win", kEnd, kVariable, "?", 1, "", "Win", 4},
        {"?Win", kEnd, kVariable, "?", 1, "", "Win", 1},
        {"let a = b + cu", kEnd, kVariable, "let", 5, "", "cu", 12},
        {"env pa", kEnd, kEnvironment, "env", 1, "", "pa", 4},
        // Inside an open marker pair, whatever the command.
        {"echo \xACPa", kEnd, kEnvironment, "", 0, "", "Pa", 6},
        {"echo \xACPath\xAC and `Wi", kEnd, kVariable, "", 0, "", "Wi", 17},
        {"echo \xACPath\xAC x", kEnd, kWords, "echo", 2, "", "x", 12},
        // The window commands take the rest of the line, blanks and all.
        {"focus Untitled - No", kEnd, kWindow, "focus", 3, "", "Untitled - No", 6},
        {"kill  c:\\x", kEnd, kWindow, "kill", 1, "", "c:\\x", 6},
        // Fixed words.
        {"colour output bg re", kEnd, kColour, "colour", 3, "", "re", 17},
        {"dock t", kEnd, kWords, "dock", 1, "", "t", 5},
        {"echo ", kEnd, kWords, "echo", 1, "", "", 5},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string line = c.line;
        CompletionRequest r = Parse(line, c.caret);
        EXPECT_EQ(r.context, c.context);
        EXPECT_EQ(r.argIndex, c.argIndex);
        EXPECT_EQ(r.lead, c.lead);
        EXPECT_EQ(r.typed, c.typed);
        EXPECT_EQ(r.start, c.start);
        EXPECT_EQ(r.command, c.command);
    }
}

TEST(CompletionParse, BadInputIsParsedInOnePassWithoutFault) {
    const std::string huge(300000, 'a');
    std::string words;
    for (int i = 0; i < 100000; ++i) words += "a ";
    const std::string cases[] = {
        huge,
        "type " + huge,
        words,
        "\"",
        "type \"",
        "\"\"\"",
        std::string("\0\xff\x01 \"\t|\xAC`", 10),
        "|||",
        "   ",
        std::string(1000, '"'),
        std::string(1001, '\xAC'),
    };
    for (const std::string& line : cases) {
        for (size_t caret : {size_t{0}, line.size() / 2, line.size(), kEnd}) {
            CompletionRequest r = Parse(line, caret);
            EXPECT_LE(r.start, line.size());
            EXPECT_LE(r.typed.size(), line.size());
        }
    }
    EXPECT_EQ(Parse(words, kEnd).argIndex, 100000);
}

TEST(CompletionRank, KeepsMatchesOnceSortedWithoutCaseAndTheirCommonBeginning) {
    std::vector<Candidate> given = {
        {"help"}, {"Hello.dcb"}, {"dir"}, {"HELP"}, {"hex", "c:\\x\\hex.lnk"}, {"he"}, {""},
    };
    std::vector<Candidate> want = {{"he"}, {"Hello.dcb"}, {"help"}, {"hex", "c:\\x\\hex.lnk"}};
    EXPECT_EQ(RankCandidates(given, "HE"), want);
    EXPECT_EQ(RankCandidates(given, "zz"), std::vector<Candidate>());
    EXPECT_EQ(RankCandidates(given, "").size(), 5u);
    // The common beginning ignores case too, and keeps the first spelling.
    const struct {
        std::vector<Candidate> candidates;
        const char* prefix;
    } cases[] = {
        {{}, ""},
        {{{"Program Files"}}, "Program Files"},
        {{{"Program Files"}, {"ProgramData"}}, "Program"},
        {{{"PROGRAM"}, {"program files"}}, "PROGRAM"},
        {{{"abc"}, {"xyz"}}, ""},
        {{{"Été"}, {"éTÉs"}}, "Été"},          // letters of every script
        {{{"日本"}, {"日曜"}}, "日"},          // which may share their first bytes
        {{{"\xC9t\xE9"}, {"\xE9T\xC9"}}, ""},  // legacy bytes only match themselves
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommonPrefix(c.candidates), c.prefix) << c.prefix;
    }
}

TEST(CompletionText, QuotesBlanksEndsFoldersAndClosesFinishedWords) {
    auto request = [](const char* line) { return Parse(line, kEnd); };
    // clang-format off
    const struct { CompletionRequest request; Candidate offered; bool finished; const char* text; }
        cases[] = {
        {request("he"), {"help"}, true, "help "},
        {request("he"), {"help"}, false, "help"},
        {request("type my"), {"my file.txt"}, true, "\"my file.txt\" "},
        {request("type my"), {"my fi"}, false, "\"my fi"},
        {request("type \"re"), {"readme"}, true, "\"readme\" "},
        {request("cd c:\\pro"), {"Program Files", "", true}, true, "\"c:\\Program Files\\"},
        {request("cd c:\\"), {"Windows", "", true}, true, "c:\\Windows\\"},
        {request("cd "), {"C:", "", true}, true, "C:\\"},
        {request("md c:\\new f"), {"new folder", "", true}, true, "c:\\new folder\\"},
        {request("fi"), {"Firefox", "C:\\Menu\\Firefox.lnk"}, true, "C:\\Menu\\Firefox.lnk "},
        {request("fi"), {"My App", "C:\\Menu\\My App.lnk"}, true, "\"C:\\Menu\\My App.lnk\" "},
        {request("focus Unt"), {"Untitled - Notepad"}, true, "Untitled - Notepad"},
        {request("echo \xACpa"), {"PATH"}, true, "PATH\xAC"},
        {request("echo `wi"), {"WinX"}, true, "WinX`"},
        {request("md a"), {"a b"}, true, "a b "},  // the rest of the line: unquoted, then a blank
        {request("set w"), {"WinX"}, true, "WinX"},
        // What would split the line or expand a part of it is never put in:
        // the name stops short of it, unfinished.
        {request("type pr"), {"price`list.txt"}, true, "price"},
        {request("type \"pr"), {"pr \xAClist\xAC.txt"}, true, "\"pr "},
        {request("type a`b`\\c"), {"cd|x"}, true, "a`b`\\cd"},
        {request("fi"), {"Fire", "C:\\A`B\\Fire.lnk"}, true, "C:\\A"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(CompletionText(c.request, c.offered, c.finished), c.text) << c.text;
    }
}

TEST(CompletionList, ShowsAScreenfulAndCountsTheRest) {
    std::vector<Candidate> many;
    for (int i = 0; i < 100; ++i) {
        // Appended, not "f" + ...: GCC 12 warns falsely about the concatenation.
        std::string name = "f";
        name += std::to_string(i);
        many.push_back({name, "", i == 0});
    }
    const struct {
        size_t count, maxLines, lines;
        const char* last;
    } cases[] = {
        {0, 40, 0, ""},
        {3, 40, 3, "f2"},
        {40, 40, 40, "f39"},
        {41, 40, 40, "... and 2 more"},
        {100, 40, 40, "... and 61 more"},
        {100, 1, 1, "... and 100 more"},
        {100, 0, 0, ""},
    };
    for (const auto& c : cases) {
        std::vector<Candidate> some(many.begin(), many.begin() + static_cast<long>(c.count));
        std::vector<std::string> lines = CandidateListLines(some, c.maxLines);
        ASSERT_EQ(lines.size(), c.lines) << c.count;
        if (!lines.empty()) {
            EXPECT_EQ(lines.back(), c.last) << c.count;
        }
    }
    EXPECT_EQ(CandidateListLines(many, 40)[0], "f0\\");  // a folder shows its "\"
}

}  // namespace
}  // namespace vantrel
