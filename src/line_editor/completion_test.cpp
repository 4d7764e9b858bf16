#include "line_editor/completion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_table.h"

namespace vantrel {
namespace {

constexpr size_t kEnd = std::string::npos;

const LineMarkers kMarkers{"|", "`", "\xAC"};

CompletionRequest Parse(std::string_view line, size_t caret) {
    return ParseCompletion(line, caret, kMarkers, BuiltInCommands());
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
