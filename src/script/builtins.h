// The runtime library: functions scripts call by name. Each family lives in
// its own file and registers a table here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/runtime.h"
#include "script/utf8.h"

namespace script {

using BuiltinFn = Value (*)(Frame& f, Value* args, int count);

struct Builtin {
    const char* name;  // lower-case
    int minArgs;
    int maxArgs;  // -1: any number
    BuiltinFn fn;
};

// The function for a lower-cased name, or null.
const Builtin* FindBuiltin(std::string_view lname);
// Named constants (vbCrLf, vbTextCompare, ...); false when the name is none.
bool FindConstant(std::string_view lname, Value* value);

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
// The matches of a non-empty needle in hay, in order, at most limit of them
// (-1: all), case-insensitive in every script when text.
struct TextMatch {
    utf8::Place begin, end;
};
std::vector<TextMatch> FindAll(std::string_view hay, std::string_view needle, bool text,
                               int32_t limit = -1);
bool ContainsText(std::string_view hay, std::string_view needle, bool text);

}  // namespace script
