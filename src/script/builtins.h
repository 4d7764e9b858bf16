// The runtime library: functions scripts call by name. Each family lives in
// its own file and registers a table here.
#pragma once

#include <string>
#include <string_view>

#include "script/runtime.h"
#include "text/case_fold.h"
#include "text/compare.h"
#include "text/utf8.h"

namespace script {

using BuiltinFn = Value (*)(Frame& f, Value* args, int count);

// Whether a function only computes its value from its arguments and the
// clock: it makes or reaches no object, shows no box, runs no script text
// and changes nothing the engine keeps. Every row says which it is.
inline constexpr bool kPure = true;
inline constexpr bool kImpure = false;

struct Builtin {
    const char* name;  // lower-case
    int minArgs;
    int maxArgs;  // -1: any number
    BuiltinFn fn;
    bool pure;  // kPure or kImpure
};

// The function for a lower-cased name, or null.
const Builtin* FindBuiltin(std::string_view lname);
// Named constants (vbCrLf, vbTextCompare, ...); false when the name is none.
bool FindConstant(std::string_view lname, Value* value);
// Whether a lower-cased name is one of the library's constants or its pure
// functions: what text that may not act (a limited link's) may still name.
// A script's own global of the same name means that instead: ask the
// engine's Declares too.
bool IsPureBuiltin(std::string_view lname);

// The tables of each family.
struct BuiltinTable {
    const Builtin* items;
    size_t count;
};
BuiltinTable StringBuiltins();
BuiltinTable ConversionBuiltins();
BuiltinTable MathBuiltins();
BuiltinTable DateBuiltins();
BuiltinTable MiscBuiltins();
BuiltinTable ArrayBuiltins();
BuiltinTable FormatBuiltins();

// Argument helpers shared by the families: an omitted or Empty optional
// argument reads as the default.
bool Present(const Value* args, int count, int i);
std::string ArgText(Frame& f, const Value& v);
int32_t ArgLong(const Value& v);
// The optional compare argument at i: false binary (0), true text (1 or 2).
bool TextCompareArg(const Value* args, int count, int i);
// Where a match of a needle is, in hay.
struct TextMatch {
    text::utf8::Place begin, end;
};
// Whether the matches can be found byte for byte: bytes are units in ASCII,
// and a needle of whole UTF-8 characters found byte for byte starts and ends
// on character boundaries, so a binary search needs no units.
bool SearchesBytes(std::string_view hay, std::string_view needle, bool text);
// Calls found(const TextMatch&) for each match of a non-empty needle in hay,
// in order, at most limit of them (-1: all); case-insensitive in every
// script when text. A visitor, not a list: Split and Replace over a long
// text find hundreds of thousands.
template <typename Found>
void ForEachMatch(std::string_view hay, std::string_view needle, bool text, int32_t limit,
                  Found found) {
    int32_t count = 0;
    if (SearchesBytes(hay, needle, text)) {
        for (size_t at = 0; limit < 0 || count < limit; ++count) {
            at = text::FindAscii(hay, needle, at, text);
            if (at == std::string_view::npos) break;
            found(TextMatch{{at, false}, {at + needle.size(), false}});
            at += needle.size();
        }
        return;
    }
    const std::u16string h = text ? text::FoldedUtf16(hay) : text::utf8::ToUtf16(hay);
    const std::u16string n = text ? text::FoldedUtf16(needle) : text::utf8::ToUtf16(needle);
    text::utf8::Place place{0, false};
    size_t unit = 0;
    for (size_t at = 0; limit < 0 || count < limit; ++count) {
        at = h.find(n, at);
        if (at == std::u16string::npos) break;
        const text::utf8::Place begin = text::utf8::Advance(hay, place, at - unit);
        place = text::utf8::Advance(hay, begin, n.size());
        unit = at = at + n.size();
        found(TextMatch{begin, place});
    }
}
bool ContainsText(std::string_view hay, std::string_view needle, bool text);

}  // namespace script
