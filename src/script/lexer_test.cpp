#include "script/lexer.h"

#include <gtest/gtest.h>

#include <string>

#include "script/convert.h"

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

struct LexCase {
    std::string source;
    std::string expected;
};

TEST(ScriptLexer, TokensAndErrors) {
    const LexCase cases[] = {
        // clang-format off
        {"x", "id:x END"}, {"DIM x", "kw:DIM id:x END"}, {"32767", "num:Integer=32767 END"},
        {"32768", "num:Long=32768 END"}, {"2147483648", "num:Double=2147483648 END"},
        {"1.5", "num:Double=1.5 END"}, {".5", "num:Double=0.5 END"}, {"1e3", "num:Double=1000 END"},
        {"&HFFFF", "num:Integer=-1 END"}, {"&HFFFF&", "num:Long=65535 END"},
        {"&H10000", "num:Long=65536 END"}, {"&HFFFFFFFF", "num:Long=-1 END"},
        {"&O17", "num:Integer=15 END"}, {"&17", "num:Integer=15 END"},
        {"\"a\"\"b\"", "str:[a\"b] END"}, {"\"\"", "str:[] END"}, {"a & b", "id:a & id:b END"},
        {"a <> b <= c", "id:a <> id:b <= id:c END"}, {"x ' comment", "id:x END"},
        {"x : REM comment", "id:x : END"}, {"remark", "id:remark END"},
        {"a _\n+ b", "id:a + id:b END"}, {"a\r\nb", "id:a NL id:b END"}, {"o.x", "id:o . id:x END"},
        {"f(1).x", "id:f ( num:Integer=1 ) . id:x END"},
        {"a-b*c/d\\e^f=g<h>i>=j,k",
         "id:a - id:b * id:c / id:d \\ id:e ^ id:f = id:g < id:h > id:i >= id:j , id:k END"},
        {".x", "with. id:x END"}, {"a .x", "id:a with. id:x END"}, {"[my var]", "id:my var END"},
        {"#1/2/2003#", "date:37623 END"},
        // Errors, and what comes close to one.
        {"\"abc", "error 1033"}, {"\"abc\ndef\"", "error 1033"}, {"x = $", "error 1032"},
        {"#1/2/2003", "error 1002"}, {"#nonsense#", "error 1002"}, {"[abc", "error 1007"},
        {"&HFFFFFFFFF", "error 6"}, {"1e", "error 1031"}, {"1e999", "error 6"},
        {"1e-999", "num:Double=0 END"}, {"a _ b", "error 1032"},
        // clang-format on
        // The longest name is 255 characters.
        {std::string(255, 'a'), "id:" + std::string(255, 'a') + " END"},
        {std::string(256, 'a'), "error 1030"},
    };
    for (const LexCase& c : cases) {
        EXPECT_EQ(Describe(c.source), c.expected) << "source: " << c.source;
    }
}

}  // namespace
}  // namespace script
