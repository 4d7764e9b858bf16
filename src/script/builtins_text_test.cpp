// The string functions over text that is not ASCII: counted in UTF-16 units
// as VBScript counts, with case in every script.
#include <gtest/gtest.h>

#include "script/test_util.h"

namespace script {
namespace {

struct TextCase {
    const char* expression;
    const char* expected;  // TypeName:text, or #number:description
};

void Check(const TextCase* cases, size_t count) {
    Engine engine;
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(Show(engine, cases[i].expression), cases[i].expected) << cases[i].expression;
    }
}

TEST(ScriptBuiltinsText, LengthsAndSlices) {
    const TextCase cases[] = {
        {"Len(\"日本語\")", "Long:3"},
        {"Len(\"Ελληνικά\")", "Long:8"},
        {"Len(\"😀\")", "Long:2"},
        {"Len(\"caf\" & ChrB(233))", "Long:4"},
        {"Mid(\"日本語\", 2, 1)", "String:本"},
        {"Mid(\"日本語\", 2)", "String:本語"},
        {"Mid(\"日本語\", 4)", "String:"},
        {"Left(\"Ωmega\", 1)", "String:Ω"},
        {"Right(\"привет\", 3)", "String:вет"},
        {"Right(\"привет\", 9)", "String:привет"},
        {"Mid(\"a😀b\", 2, 2)", "String:😀"},
        {"Len(Mid(\"a😀b\", 2, 1))", "Long:1"},
        {"AscW(Mid(\"a😀b\", 2, 1))", "Integer:-10179"},
        {"AscW(Mid(\"a😀b\", 3))", "Integer:-8704"},
        {"Mid(\"a😀b\", 2, 1) & Mid(\"a😀b\", 3, 1) = \"😀\"", "Boolean:True"},
        {"Left(\"😀x\", 1) & Right(\"x😀\", 1)", "String:😀"},
        {"Mid(\"caf\" & ChrB(233) & \"!\", 4, 1) = ChrB(233)", "Boolean:True"},
    };
    Check(cases, std::size(cases));
}

TEST(ScriptBuiltinsText, Searches) {
    const TextCase cases[] = {
        {"InStr(\"日本語\", \"語\")", "Long:3"},
        {"InStr(\"a😀b日\", \"日\")", "Long:5"},
        {"InStr(2, \"αβγαβγ\", \"α\")", "Long:4"},
        {"InStr(1, \"ΑΒΓ\", \"βγ\", 1)", "Long:2"},
        {"InStr(1, \"ΑΒΓ\", \"βγ\", 0)", "Long:0"},
        {"InStr(4, \"日本語\", \"語\")", "Long:0"},
        {"InStr(3, \"日本語\", \"\")", "Long:3"},
        {"InStrRev(\"日本日本\", \"本\")", "Long:4"},
        {"InStrRev(\"日本日本\", \"本\", 3)", "Long:2"},
        {"InStrRev(\"ДОМ дом\", \"ДОМ\", -1, 1)", "Long:5"},
        {"Replace(\"Привет мир\", \"ПРИВЕТ\", \"Hello\", 1, -1, 1)", "String:Hello мир"},
        {"Replace(\"日本語日本語\", \"本\", \"x\", 3)", "String:語日x語"},
        {"Replace(\"αβγαβγ\", \"Β\", \"x\", 1, 1, 1)", "String:αxγαβγ"},
        {"Replace(\"a😀b😀\", \"😀\", \"-\")", "String:a-b-"},
        {"Join(Split(\"α,β,γ\", \",\"), \"|\")", "String:α|β|γ"},
        {"Join(Split(\"aΣbσcς\", \"σ\", -1, 1), \"|\")", "String:a|b|c|"},
        {"Join(Split(\"日本日本\", \"本\", 2), \"|\")", "String:日|日本"},
        {"Join(Filter(Array(\"Ωmega\", \"alpha\", \"ωx\"), \"ω\", True, 1), \"|\")",
         "String:Ωmega|ωx"},
        {"Join(Filter(Array(\"Ωmega\", \"alpha\", \"ωx\"), \"ω\", False), \"|\")",
         "String:Ωmega|alpha"},
    };
    Check(cases, std::size(cases));
}

TEST(ScriptBuiltinsText, CaseAndComparison) {
    const TextCase cases[] = {
        {"UCase(\"àéî straße ǆ\")", "String:ÀÉÎ STRAßE Ǆ"},
        {"LCase(\"ÀÉÎ ΑΒΓ ПРИВЕТ ԱԲԳ ＡＢ\")", "String:àéî αβγ привет աբգ ａｂ"},
        {"UCase(\"ßσςи\")", "String:ßΣΣИ"},
        {"UCase(\"a\" & ChrB(233))  = \"A\" & ChrB(233)", "Boolean:True"},
        {"StrComp(\"Привет\", \"пРИВЕТ\", 1)", "Integer:0"},
        {"StrComp(\"Привет\", \"пРИВЕТ\")", "Integer:-1"},
        {"StrComp(ChrW(&HE000), \"😀\")", "Integer:1"},
        {"StrComp(\"é\", \"f\")", "Integer:1"},
        {"\"é\" < \"日\"", "Boolean:True"},
        {"\"ΑΒΓ\" = \"αβγ\"", "Boolean:False"},
    };
    Check(cases, std::size(cases));
}

TEST(ScriptBuiltinsText, CharacterCodes) {
    const TextCase cases[] = {
        {"AscW(\"日\")", "Integer:26085"},
        {"ChrW(26085)", "String:日"},
        {"AscW(ChrW(-9000))", "Integer:-9000"},
        {"Len(ChrW(&HD83D) & ChrW(&HDE00))", "Long:2"},
        {"ChrW(&HD83D) & ChrW(&HDE00) = \"😀\"", "Boolean:True"},
        {"ChrW(65536)", "#5:Invalid procedure call or argument"},
        {"ChrW(-32769)", "#5:Invalid procedure call or argument"},
        {"Asc(\"é\")", "Integer:233"},
        {"Asc(\"€\")", "Integer:128"},
        {"Asc(\"日\")", "Integer:63"},
        {"Asc(\"😀\")", "Integer:63"},
        {"Asc(ChrB(233))", "Integer:233"},
        {"Chr(233)", "String:é"},
        {"Chr(128)", "String:€"},
        {"Len(Chr(233))", "Long:1"},
        {"Chr(65) & Chr(0) = \"A\" & ChrW(0)", "Boolean:True"},
        {"AscB(\"日\")", "Integer:229"},
        {"AscB(ChrB(200))", "Integer:200"},
        {"AscW(ChrB(200))", "Integer:200"},
        {"String(2, \"日本\")", "String:日日"},
        {"String(2, 233)", "String:éé"},
        {"Len(String(3, \"😀\"))", "Long:3"},
        {"StrReverse(\"日本x\")", "String:x本日"},
        {"AscW(StrReverse(\"😀\"))", "Integer:-8704"},
        {"StrReverse(StrReverse(\"a😀b\")) = \"a😀b\"", "Boolean:True"},
        {"Trim(\"  日本  \") & \"|\"", "String:日本|"},
        {"Escape(\"é日\")", "String:%E9%u65E5"},
        {"Unescape(\"%u65E5%E9%uD83D%uDE00\")", "String:日é😀"},
        {"Escape(\"😀\")", "String:%uD83D%uDE00"},
    };
    Check(cases, std::size(cases));
}

}  // namespace
}  // namespace script
