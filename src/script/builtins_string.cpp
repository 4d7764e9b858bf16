// String functions: lengths, slices, searches, case and replacement.
#include <algorithm>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/nodes.h"
#include "text/case_fold.h"
#include "text/compare.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

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

// A text argument: a string read in place, with its cached ASCII flag;
// anything else converted. Where the text is ASCII, bytes are units and the
// functions take byte offsets directly. Other texts are walked from their
// start to find a unit position (a scan of the prefix per call); a search
// that ignores case, or for text that is not whole UTF-8 characters,
// converts the whole text to UTF-16 per call.
class Text {
  public:
    Text(Frame& f, const Value& v) {
        if (v.IsString()) {
            view = v.AsString();
            ascii = v.IsAsciiText();
        } else {
            copy_ = ArgText(f, v);
            view = copy_;
            ascii = text::utf8::IsAscii(copy_);
        }
    }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    size_t Units() const { return ascii ? view.size() : text::utf8::CountUnits(view); }
    // At most count units (npos: all) from unit first.
    std::string Units(size_t first, size_t count) const {
        if (ascii) return std::string(first > view.size() ? "" : view.substr(first, count));
        return text::utf8::SliceUnits(view, first, count);
    }

    std::string_view view;
    bool ascii;

  private:
    std::string copy_;
};

Value Len(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::Long(static_cast<int32_t>(Text(f, a[0]).Units()));
}

Value Left(Frame& f, Value* a, int) {
    const int32_t n = NonNegative(a[1]);
    if (a[0].IsNull()) return Value::Null();
    return Value::String(Text(f, a[0]).Units(0, static_cast<size_t>(n)));
}

Value Right(Frame& f, Value* a, int) {
    const int32_t n = NonNegative(a[1]);
    if (a[0].IsNull()) return Value::Null();
    const Text s(f, a[0]);
    const size_t units = s.Units();
    if (static_cast<size_t>(n) >= units) return Value::String(std::string(s.view));
    return Value::String(s.Units(units - n, std::string::npos));
}

Value Mid(Frame& f, Value* a, int n) {
    const int32_t start = ArgLong(a[1]);
    if (start < 1) Throw(kErrInvalidCall);
    int32_t length = -1;
    if (Present(a, n, 2)) length = NonNegative(a[2]);
    if (a[0].IsNull()) return Value::Null();
    const Text s(f, a[0]);
    const size_t count = length < 0 ? std::string::npos : static_cast<size_t>(length);
    return Value::String(s.Units(static_cast<size_t>(start) - 1, count));
}

// Both searches answer 1-based unit positions, 0 when not found.
int32_t Found(size_t at) {
    return at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1;
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
    const Text hay(f, a[first]);
    const Text needle(f, a[first + 1]);
    const size_t from = static_cast<size_t>(start) - 1;
    if (hay.ascii && needle.ascii) {
        if (from >= hay.view.size()) return Value::Long(0);
        if (needle.view.empty()) return Value::Long(start);
        return Value::Long(Found(text::FindAscii(hay.view, needle.view, from, text)));
    }
    if (from >= hay.Units()) return Value::Long(0);
    if (needle.view.empty()) return Value::Long(start);
    return Value::Long(Found(text::FindUnits(hay.view, needle.view, from, text)));
}

Value InStrRev(Frame& f, Value* a, int n) {
    if (a[0].IsNull() || a[1].IsNull()) return Value::Null();
    const Text hay(f, a[0]);
    const Text needle(f, a[1]);
    int32_t start = Present(a, n, 2) ? ArgLong(a[2]) : -1;
    if (start == 0 || start < -1) Throw(kErrInvalidCall);
    const bool text = TextCompareArg(a, n, 3);
    const bool ascii = hay.ascii && needle.ascii;
    const size_t units = hay.Units();
    if (start == -1) start = static_cast<int32_t>(units);
    if (static_cast<size_t>(start) > units) return Value::Long(0);
    if (needle.view.empty()) return Value::Long(start);
    const size_t end = static_cast<size_t>(start);
    return Value::Long(Found(ascii ? text::FindLastAscii(hay.view, needle.view, end, text)
                                   : text::FindLastUnits(hay.view, needle.view, end, text)));
}

Value UCase(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::String(text::UpperCase(ArgText(f, a[0])));
}

Value LCase(Frame& f, Value* a, int) {
    if (a[0].IsNull()) return Value::Null();
    return Value::String(text::LowerCase(ArgText(f, a[0])));
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
    const Text subject(f, a[0]);  // a long text is read in place, not copied
    const std::string_view s = subject.view;
    const std::string find = ArgText(f, a[1]);
    const std::string with = ArgText(f, a[2]);
    const int32_t start = Present(a, n, 3) ? ArgLong(a[3]) : 1;
    const int32_t count = Present(a, n, 4) ? ArgLong(a[4]) : -1;
    if (start < 1 || count < -1) Throw(kErrInvalidCall);
    const bool text = TextCompareArg(a, n, 5);
    // The result starts at start, as VBScript's Replace returns it.
    const text::utf8::Place from = text::utf8::Seek(s, static_cast<size_t>(start) - 1);
    if (from.byte >= s.size()) return Value::String("");
    // A start inside a pair begins with its second half: only then a copy.
    const std::string cut = from.inPair ? text::utf8::Slice(s, from, {s.size(), false}) : "";
    const std::string_view rest = from.inPair ? cut : s.substr(from.byte);
    if (find.empty() || count == 0) return Value::String(std::string(rest));
    std::string out;
    text::utf8::Place pos{0, false};
    ForEachMatch(rest, find, text, count, [&](const TextMatch& m) {
        text::utf8::AppendSlice(&out, rest, pos, m.begin);
        text::utf8::AppendText(&out, with);
        if (out.size() > kMaxStringLength) Throw(kErrOutOfMemory);
        pos = m.end;
    });
    text::utf8::AppendSlice(&out, rest, pos, {rest.size(), false});
    return Str(std::move(out));
}

Value Space(Frame&, Value* a, int) {
    const int32_t n = NonNegative(a[0]);
    if (static_cast<size_t>(n) > kMaxStringLength) Throw(kErrOutOfMemory);
    return Value::String(std::string(n, ' '));
}

// The text of a Windows-1252 code (Chr's meaning of 128-255), as UTF-8.
std::string Windows1252Text(int32_t code) {
    std::string out;
    text::utf8::Append(&out, text::FromWindows1252(static_cast<char>(code)));
    return out;
}

Value StringFn(Frame& f, Value* a, int) {
    if (a[0].IsNull() || a[1].IsNull()) return Value::Null();
    const int32_t n = NonNegative(a[0]);
    std::string c;
    if (a[1].IsString()) {
        if (a[1].AsString().empty()) Throw(kErrInvalidCall);
        // The first unit, as VBScript repeats it: half of a pair alone.
        c = text::utf8::SliceUnits(a[1].AsString(), 0, 1);
    } else {
        c = Windows1252Text(ToLong(Dereference(f.rt, a[1])) & 0xFF);
    }
    if (static_cast<size_t>(n) * c.size() > kMaxStringLength) Throw(kErrOutOfMemory);
    std::string out;
    out.reserve(static_cast<size_t>(n) * c.size());
    for (int32_t i = 0; i < n; ++i) out += c;
    return Value::String(std::move(out));
}

// Reverses the units, as VBScript does: a pair comes out as its two halves,
// each alone. Bytes that are not UTF-8 stay as they are.
Value StrReverse(Frame& f, Value* a, int) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    std::string s = ArgText(f, a[0]);
    if (text::utf8::IsAscii(s)) {
        std::reverse(s.begin(), s.end());
        return Value::String(std::move(s));
    }
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); i += text::utf8::Decode(s, i).bytes) starts.push_back(i);
    std::string out;
    out.reserve(s.size());
    for (size_t k = starts.size(); k-- > 0;) {
        const size_t begin = starts[k];
        const size_t end = k + 1 < starts.size() ? starts[k + 1] : s.size();
        if (end - begin == 4) {
            const std::string_view pair(s.data() + begin, 4);
            out += text::utf8::SliceUnits(pair, 1, 1);
            out += text::utf8::SliceUnits(pair, 0, 1);
        } else {
            out.append(s, begin, end - begin);
        }
    }
    return Value::String(std::move(out));
}

Value StrComp(Frame& f, Value* a, int n) {
    if (a[0].IsNull() || a[1].IsNull()) return Value::Null();
    const bool text = TextCompareArg(a, n, 2);
    const std::string x = ArgText(f, a[0]);
    const std::string y = ArgText(f, a[1]);
    return Value::Integer(static_cast<int16_t>(text::Compare(x, y, text)));
}

// The first character of a non-empty text argument.
text::utf8::Char FirstChar(Frame& f, const Value& v) {
    if (v.IsNull()) Throw(kErrInvalidNull);
    const Text s(f, v);
    if (s.view.empty()) Throw(kErrInvalidCall);
    return text::utf8::Decode(s.view, 0);
}

// The first UTF-16 unit: a character beyond the Basic Multilingual Plane
// gives its first half.
uint16_t FirstUnit(const text::utf8::Char& c) {
    const char32_t code = text::utf8::CodeOf(c);
    return static_cast<uint16_t>(code < 0x10000 ? code : 0xD800 + ((code - 0x10000) >> 10));
}

// The Windows-1252 code of the first character, as VBScript's ANSI
// conversion gives it: 63 ("?") for a character that code page lacks.
Value Asc(Frame& f, Value* a, int) {
    const text::utf8::Char c = FirstChar(f, a[0]);
    return Value::Integer(static_cast<unsigned char>(text::ToWindows1252(FirstUnit(c))));
}

Value AscW(Frame& f, Value* a, int) {
    return Value::Integer(static_cast<int16_t>(FirstUnit(FirstChar(f, a[0]))));
}

// A script's bytes are UTF-8, not UTF-16, so the byte functions are read as
// VBScript's are on ANSI text: AscB is the low byte of the first unit, but a
// byte that is not UTF-8 (what ChrB makes of 128-255) gives that byte.
Value AscB(Frame& f, Value* a, int) {
    const text::utf8::Char c = FirstChar(f, a[0]);
    if (!c.valid && c.bytes == 1) return Value::Integer(static_cast<int16_t>(c.code));
    return Value::Integer(static_cast<int16_t>(FirstUnit(c) & 0xFF));
}

int32_t CharCode(const Value& v, int32_t lowest, int32_t highest) {
    if (v.IsNull()) Throw(kErrInvalidNull);
    const int32_t code = ToLong(v);
    if (code < lowest || code > highest) Throw(kErrInvalidCall);
    return code;
}

// 0-127 are ASCII, 128-255 the Windows-1252 characters.
Value Chr(Frame&, Value* a, int) {
    return Value::String(Windows1252Text(CharCode(a[0], 0, 255)));
}

// The one byte itself: 128-255 make a byte that is not UTF-8, which counts
// as one character and reads back with AscB.
Value ChrB(Frame&, Value* a, int) {
    return Value::String(std::string(1, static_cast<char>(CharCode(a[0], 0, 255))));
}

Value ChrW(Frame&, Value* a, int) {
    int32_t code = CharCode(a[0], -32768, 65535);
    if (code < 0) code += 65536;
    std::string out;
    text::utf8::Append(&out, static_cast<char32_t>(code));
    return Value::String(std::move(out));
}

const Builtin kTable[] = {
    {"len", 1, 1, Len, kPure},
    {"left", 2, 2, Left, kPure},
    {"right", 2, 2, Right, kPure},
    {"mid", 2, 3, Mid, kPure},
    {"instr", 2, 4, InStr, kPure},
    {"instrrev", 2, 4, InStrRev, kPure},
    {"ucase", 1, 1, UCase, kPure},
    {"lcase", 1, 1, LCase, kPure},
    {"trim", 1, 1, Trim, kPure},
    {"ltrim", 1, 1, LTrim, kPure},
    {"rtrim", 1, 1, RTrim, kPure},
    {"replace", 3, 6, Replace, kPure},
    {"space", 1, 1, Space, kPure},
    {"string", 2, 2, StringFn, kPure},
    {"strreverse", 1, 1, StrReverse, kPure},
    {"strcomp", 2, 3, StrComp, kPure},
    {"asc", 1, 1, Asc, kPure},
    {"ascb", 1, 1, AscB, kPure},
    {"ascw", 1, 1, AscW, kPure},
    {"chr", 1, 1, Chr, kPure},
    {"chrb", 1, 1, ChrB, kPure},
    {"chrw", 1, 1, ChrW, kPure},
};

}  // namespace

BuiltinTable StringBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
