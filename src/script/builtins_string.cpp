// String functions: lengths, slices, searches, case and replacement.
#include <algorithm>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/nodes.h"

namespace script {
namespace {

Value Str(std::string s) {
    if (s.size() > kMaxStringLength) Throw(kErrOutOfMemory);
    return Value::String(std::move(s));
}

// A Null first argument makes the whole result Null in most string functions.
bool AnyNull(const Value* a, int n) {
    for (int i = 0; i < n; ++i) {
        if (a[i].IsNull()) return true;
    }
    return false;
}

int32_t NonNegative(const Value& v) {
    const int32_t n = ArgLong(v);
    if (n < 0) Throw(kErrInvalidCall);
    return n;
}

size_t FindLast(std::string_view hay, std::string_view needle, size_t endAt, bool text) {
    if (needle.size() > endAt) return std::string_view::npos;
    for (size_t i = endAt - needle.size() + 1; i-- > 0;) {
        size_t k = 0;
        while (k < needle.size() &&
               (text ? LowerChar(hay[i + k]) == LowerChar(needle[k]) : hay[i + k] == needle[k])) {
            ++k;
        }
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

// A string argument read in place; anything else converted into *copy.
std::string_view TextOf(Frame& f, const Value& v, std::string* copy) {
    if (v.IsString()) return v.AsString();
    *copy = ArgText(f, v);
    return *copy;
}

Value Len(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    if (a[0].IsString()) return Value::Long(static_cast<int32_t>(a[0].AsString().size()));
    return Value::Long(static_cast<int32_t>(ArgText(f, a[0]).size()));
}

Value Left(Frame& f, Value* a, int) {
    const int32_t n = NonNegative(a[1]);
    if (a[0].IsNull()) return Value::Null();
    std::string copy;
    const std::string_view s = TextOf(f, a[0], &copy);
    return Value::String(std::string(s.substr(0, static_cast<size_t>(n))));
}

Value Right(Frame& f, Value* a, int) {
    const int32_t n = NonNegative(a[1]);
    if (a[0].IsNull()) return Value::Null();
    std::string copy;
    const std::string_view s = TextOf(f, a[0], &copy);
    if (static_cast<size_t>(n) >= s.size()) return Value::String(std::string(s));
    return Value::String(std::string(s.substr(s.size() - n)));
}

Value Mid(Frame& f, Value* a, int n) {
    const int32_t start = ArgLong(a[1]);
    if (start < 1) Throw(kErrInvalidCall);
    int32_t length = -1;
    if (Present(a, n, 2)) length = NonNegative(a[2]);
    if (a[0].IsNull()) return Value::Null();
    std::string copy;
    const std::string_view s = TextOf(f, a[0], &copy);
    if (static_cast<size_t>(start) > s.size()) return Value::String("");
    const size_t from = static_cast<size_t>(start) - 1;
    return Value::String(std::string(length < 0 ? s.substr(from) : s.substr(from, length)));
}

Value InStr(Frame& f, Value* a, int n) {
    int32_t start = 1;
    int first = 0;
    if (n >= 3) {
        if (a[0].IsNull()) Throw(kErrInvalidNull);
        start = ArgLong(a[0]);
        if (start < 1) Throw(kErrInvalidCall);
        first = 1;
    }
    const bool text = n == 4 && TextCompareArg(a, n, 3);
    if (a[first].IsNull() || a[first + 1].IsNull()) return Value::Null();
    std::string hayCopy, needleCopy;
    const std::string_view hay = TextOf(f, a[first], &hayCopy);
    const std::string_view needle = TextOf(f, a[first + 1], &needleCopy);
    if (static_cast<size_t>(start) > hay.size()) return Value::Long(0);
    if (needle.empty()) return Value::Long(start);
    const size_t at = FindText(hay, needle, static_cast<size_t>(start) - 1, text);
    return Value::Long(at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1);
}

Value InStrRev(Frame& f, Value* a, int n) {
    if (a[0].IsNull() || a[1].IsNull()) return Value::Null();
    std::string hayCopy, needleCopy;
    const std::string_view hay = TextOf(f, a[0], &hayCopy);
    const std::string_view needle = TextOf(f, a[1], &needleCopy);
    int32_t start = Present(a, n, 2) ? ArgLong(a[2]) : -1;
    if (start == 0 || start < -1) Throw(kErrInvalidCall);
    const bool text = TextCompareArg(a, n, 3);
    if (start == -1) start = static_cast<int32_t>(hay.size());
    if (static_cast<size_t>(start) > hay.size()) return Value::Long(0);
    if (needle.empty()) return Value::Long(start);
    const size_t at = FindLast(hay, needle, static_cast<size_t>(start), text);
    return Value::Long(at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1);
}

Value UCase(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::String(ToUpper(ArgText(f, a[0])));
}

Value LCase(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::String(ToLower(ArgText(f, a[0])));
}

Value TrimSides(Frame& f, const Value& v, bool left, bool right) {
    if (v.IsNull()) return Value::Null();
    const std::string s = ArgText(f, v);
    size_t b = 0, e = s.size();
    if (left) {
        while (b < e && s[b] == ' ') ++b;
    }
    if (right) {
        while (e > b && s[e - 1] == ' ') --e;
    }
    return Value::String(s.substr(b, e - b));
}

Value Trim(Frame& f, Value* a, int) {
    return TrimSides(f, a[0], true, true);
}
Value LTrim(Frame& f, Value* a, int) {
    return TrimSides(f, a[0], true, false);
}
Value RTrim(Frame& f, Value* a, int) {
    return TrimSides(f, a[0], false, true);
}

Value Replace(Frame& f, Value* a, int n) {
    if (AnyNull(a, std::min(n, 3))) Throw(kErrInvalidNull);
    const std::string s = ArgText(f, a[0]);
    const std::string find = ArgText(f, a[1]);
    const std::string with = ArgText(f, a[2]);
    const int32_t start = Present(a, n, 3) ? ArgLong(a[3]) : 1;
    const int32_t count = Present(a, n, 4) ? ArgLong(a[4]) : -1;
    if (start < 1 || count < -1) Throw(kErrInvalidCall);
    const bool text = TextCompareArg(a, n, 5);
    // The result starts at start, as VBScript's Replace returns it.
    if (static_cast<size_t>(start) > s.size()) return Value::String("");
    const std::string_view rest = std::string_view(s).substr(static_cast<size_t>(start) - 1);
    if (find.empty() || count == 0) return Value::String(std::string(rest));
    std::string out;
    size_t pos = 0;
    int32_t done = 0;
    while (count < 0 || done < count) {
        const size_t at = FindText(rest, find, pos, text);
        if (at == std::string::npos) break;
        out.append(rest.substr(pos, at - pos));
        out += with;
        if (out.size() > kMaxStringLength) Throw(kErrOutOfMemory);
        pos = at + find.size();
        ++done;
    }
    out.append(rest.substr(pos));
    return Str(std::move(out));
}

Value Space(Frame&, Value* a, int) {
    const int32_t n = NonNegative(a[0]);
    if (static_cast<size_t>(n) > kMaxStringLength) Throw(kErrOutOfMemory);
    return Value::String(std::string(n, ' '));
}

Value StringFn(Frame& f, Value* a, int) {
    if (a[0].IsNull() || a[1].IsNull()) return Value::Null();
    const int32_t n = NonNegative(a[0]);
    if (static_cast<size_t>(n) > kMaxStringLength) Throw(kErrOutOfMemory);
    char c;
    if (a[1].IsString()) {
        if (a[1].AsString().empty()) Throw(kErrInvalidCall);
        c = a[1].AsString()[0];
    } else {
        const int32_t code = ToLong(Dereference(f.rt, a[1]));
        c = static_cast<char>(code & 0xFF);
    }
    return Value::String(std::string(n, c));
}

Value StrReverse(Frame& f, Value* a, int) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    std::string s = ArgText(f, a[0]);
    std::reverse(s.begin(), s.end());
    return Value::String(std::move(s));
}

Value StrComp(Frame& f, Value* a, int n) {
    if (a[0].IsNull() || a[1].IsNull()) return Value::Null();
    const bool text = TextCompareArg(a, n, 2);
    const std::string x = ArgText(f, a[0]);
    const std::string y = ArgText(f, a[1]);
    return Value::Integer(static_cast<int16_t>(text ? CompareText(x, y) : CompareBinary(x, y)));
}

Value Asc(Frame& f, Value* a, int) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    const std::string s = ArgText(f, a[0]);
    if (s.empty()) Throw(kErrInvalidCall);
    return Value::Integer(static_cast<int16_t>(static_cast<unsigned char>(s[0])));
}

Value AscW(Frame& f, Value* a, int) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    const std::string s = ArgText(f, a[0]);
    if (s.empty()) Throw(kErrInvalidCall);
    return Value::Integer(static_cast<int16_t>(ToUnicode(s[0])));
}

// The first byte of the character's UTF-16 code unit.
Value AscB(Frame& f, Value* a, int) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    const std::string s = ArgText(f, a[0]);
    if (s.empty()) Throw(kErrInvalidCall);
    return Value::Integer(static_cast<int16_t>(ToUnicode(s[0]) & 0xFF));
}

Value Chr(Frame&, Value* a, int) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    const int32_t code = ToLong(a[0]);
    if (code < 0 || code > 255) Throw(kErrInvalidCall);
    return Value::String(std::string(1, static_cast<char>(code)));
}

Value ChrW(Frame&, Value* a, int) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    int32_t code = ToLong(a[0]);
    if (code < -32768 || code > 65535) Throw(kErrInvalidCall);
    if (code < 0) code += 65536;
    return Value::String(std::string(1, FromUnicode(static_cast<uint16_t>(code))));
}

const Builtin kTable[] = {
    {"len", 1, 1, Len},
    {"left", 2, 2, Left},
    {"right", 2, 2, Right},
    {"mid", 2, 3, Mid},
    {"instr", 2, 4, InStr},
    {"instrrev", 2, 4, InStrRev},
    {"ucase", 1, 1, UCase},
    {"lcase", 1, 1, LCase},
    {"trim", 1, 1, Trim},
    {"ltrim", 1, 1, LTrim},
    {"rtrim", 1, 1, RTrim},
    {"replace", 3, 6, Replace},
    {"space", 1, 1, Space},
    {"string", 2, 2, StringFn},
    {"strreverse", 1, 1, StrReverse},
    {"strcomp", 2, 3, StrComp},
    {"asc", 1, 1, Asc},
    {"ascb", 1, 1, AscB},
    {"ascw", 1, 1, AscW},
    {"chr", 1, 1, Chr},
    // Strings here are single bytes, so a one-byte ChrB is an ordinary Chr.
    {"chrb", 1, 1, Chr},
    {"chrw", 1, 1, ChrW},
};

}  // namespace

BuiltinTable StringBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
