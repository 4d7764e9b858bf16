#include "script/lexer.h"

#include <gtest/gtest.h>

#include <string>

#include "script/convert.h"
#include "text/text_cases_testing.h"

namespace script {
namespace {

// Renders tokens compactly: symbols as written, words and literals tagged.
std::string Describe(std::string_view source) {
    // By Tok, in order; empty where the token renders its own text.
    static const char* const kShown[] = {"END", "NL", ":",     "",  "",  "",   "",  "(",  ")",
                                         ",",   ".",  "with.", "+", "-", "*",  "/", "\\", "^",
                                         "&",   "=",  "<>",    "<", ">", "<=", ">="};
    static_assert(std::size(kShown) == static_cast<size_t>(Tok::kGe) + 1);
    const LexResult r = Lex(source);
    if (r.errorNumber) return "error " + std::to_string(r.errorNumber);
    std::string out;
    for (const Token& t : r.tokens) {
        if (!out.empty()) out += ' ';
        if (t.kind == Tok::kIdent) {
            out += (t.keyword != Kw::kNone ? "kw:" : "id:") + t.text;
        } else if (t.kind == Tok::kNumber) {
            out += "num:" + TypeName(t.value) + "=" + ToString(t.value, DefaultHost());
        } else if (t.kind == Tok::kString) {
            out += "str:[" + t.text + "]";
        } else if (t.kind == Tok::kDate) {
            out += "date:" + std::to_string(static_cast<int>(t.value.AsDate()));
        } else {
            out += kShown[static_cast<size_t>(t.kind)];
        }
    }
    return out;
}

TEST(ScriptLexer, TokensAndErrors) {
    for (const text::TextCase& c : text::ReadCases("src/script/testdata/lexer_tokens.txt")) {
        EXPECT_EQ(Describe(c[0]), c[1]) << c.where;
    }
    // The longest name is 255 characters.
    EXPECT_EQ(Describe(std::string(255, 'a')), "id:" + std::string(255, 'a') + " END");
    EXPECT_EQ(Describe(std::string(256, 'a')), "error 1030");
}

}  // namespace
}  // namespace script
