#include "script/builtins.h"

#include <unordered_map>

#include "script/convert.h"
#include "script/nodes.h"
#include "text/utf8.h"

namespace script {
namespace {

struct Constant {
    const char* name;
    Value (*make)();
};

Value Text(const char* s) {
    return Value::String(s);
}
Value Int(int v) {
    return Value::Integer(static_cast<int16_t>(v));
}
Value Long(int32_t v) {
    return Value::Long(v);
}

const Constant kConstants[] = {
    {"vbcr", [] { return Text("\r"); }},
    {"vblf", [] { return Text("\n"); }},
    {"vbcrlf", [] { return Text("\r\n"); }},
    {"vbnewline", [] { return Text("\r\n"); }},
    {"vbtab", [] { return Text("\t"); }},
    {"vbnullchar", [] { return Value::String(std::string(1, '\0')); }},
    {"vbnullstring", [] { return Text(""); }},
    {"vbformfeed", [] { return Text("\f"); }},
    {"vbverticaltab", [] { return Text("\v"); }},
    {"vbbinarycompare", [] { return Int(0); }},
    {"vbtextcompare", [] { return Int(1); }},
    {"vbdatabasecompare", [] { return Int(2); }},
    {"vbsunday", [] { return Int(1); }},
    {"vbmonday", [] { return Int(2); }},
    {"vbtuesday", [] { return Int(3); }},
    {"vbwednesday", [] { return Int(4); }},
    {"vbthursday", [] { return Int(5); }},
    {"vbfriday", [] { return Int(6); }},
    {"vbsaturday", [] { return Int(7); }},
    {"vbusesystemdayofweek", [] { return Int(0); }},
    {"vbusesystem", [] { return Int(0); }},
    {"vbfirstjan1", [] { return Int(1); }},
    {"vbfirstfourdays", [] { return Int(2); }},
    {"vbfirstfullweek", [] { return Int(3); }},
    {"vbgeneraldate", [] { return Int(0); }},
    {"vblongdate", [] { return Int(1); }},
    {"vbshortdate", [] { return Int(2); }},
    {"vblongtime", [] { return Int(3); }},
    {"vbshorttime", [] { return Int(4); }},
    {"vbusedefault", [] { return Int(-2); }},
    {"vbtrue", [] { return Int(-1); }},
    {"vbfalse", [] { return Int(0); }},
    {"vbempty", [] { return Int(0); }},
    {"vbnull", [] { return Int(1); }},
    {"vbinteger", [] { return Int(2); }},
    {"vblong", [] { return Int(3); }},
    {"vbsingle", [] { return Int(4); }},
    {"vbdouble", [] { return Int(5); }},
    {"vbcurrency", [] { return Int(6); }},
    {"vbdate", [] { return Int(7); }},
    {"vbstring", [] { return Int(8); }},
    {"vbobject", [] { return Int(9); }},
    {"vberror", [] { return Int(10); }},
    {"vbboolean", [] { return Int(11); }},
    {"vbvariant", [] { return Int(12); }},
    {"vbdataobject", [] { return Int(13); }},
    {"vbdecimal", [] { return Int(14); }},
    {"vbbyte", [] { return Int(17); }},
    {"vbarray", [] { return Int(8192); }},
    {"vbokonly", [] { return Int(0); }},
    {"vbokcancel", [] { return Int(1); }},
    {"vbabortretryignore", [] { return Int(2); }},
    {"vbyesnocancel", [] { return Int(3); }},
    {"vbyesno", [] { return Int(4); }},
    {"vbretrycancel", [] { return Int(5); }},
    {"vbcritical", [] { return Int(16); }},
    {"vbquestion", [] { return Int(32); }},
    {"vbexclamation", [] { return Int(48); }},
    {"vbinformation", [] { return Int(64); }},
    {"vbdefaultbutton1", [] { return Int(0); }},
    {"vbdefaultbutton2", [] { return Int(256); }},
    {"vbdefaultbutton3", [] { return Int(512); }},
    {"vbdefaultbutton4", [] { return Int(768); }},
    {"vbapplicationmodal", [] { return Int(0); }},
    {"vbsystemmodal", [] { return Int(4096); }},
    {"vbok", [] { return Int(1); }},
    {"vbcancel", [] { return Int(2); }},
    {"vbabort", [] { return Int(3); }},
    {"vbretry", [] { return Int(4); }},
    {"vbignore", [] { return Int(5); }},
    {"vbyes", [] { return Int(6); }},
    {"vbno", [] { return Int(7); }},
    {"vbobjecterror", [] { return Long(static_cast<int32_t>(0x80040000u)); }},
    {"vbblack", [] { return Long(0x000000); }},
    {"vbred", [] { return Long(0x0000FF); }},
    {"vbgreen", [] { return Long(0x00FF00); }},
    {"vbyellow", [] { return Long(0x00FFFF); }},
    {"vbblue", [] { return Long(0xFF0000); }},
    {"vbmagenta", [] { return Long(0xFF00FF); }},
    {"vbcyan", [] { return Long(0xFFFF00); }},
    {"vbwhite", [] { return Long(0xFFFFFF); }},
};

class Registry {
  public:
    Registry() {
        for (BuiltinTable table :
             {StringBuiltins(), ConversionBuiltins(), MathBuiltins(), DateBuiltins(),
              MiscBuiltins(), ArrayBuiltins(), FormatBuiltins()}) {
            for (size_t i = 0; i < table.count; ++i)
                functions_[table.items[i].name] = &table.items[i];
        }
        for (const Constant& c : kConstants) constants_[c.name] = &c;
    }
    std::unordered_map<std::string_view, const Builtin*> functions_;
    std::unordered_map<std::string_view, const Constant*> constants_;
};

const Registry& TheRegistry() {
    static const Registry registry;
    return registry;
}

}  // namespace

const Builtin* FindBuiltin(std::string_view lname) {
    const auto& map = TheRegistry().functions_;
    auto it = map.find(lname);
    return it == map.end() ? nullptr : it->second;
}

bool FindConstant(std::string_view lname, Value* value) {
    const auto& map = TheRegistry().constants_;
    auto it = map.find(lname);
    if (it == map.end()) return false;
    *value = it->second->make();
    return true;
}

bool IsPureBuiltin(std::string_view lname) {
    if (TheRegistry().constants_.count(lname)) return true;
    const Builtin* builtin = FindBuiltin(lname);
    return builtin && builtin->pure;
}

bool Present(const Value* args, int count, int i) {
    return i < count && !IsMissing(args[i]);
}

std::string ArgText(Frame& f, const Value& v) {
    return ToString(Dereference(f.rt, v), f.rt.host);
}

bool TextCompareArg(const Value* args, int count, int i) {
    if (!Present(args, count, i)) return false;
    const int32_t mode = ToLong(args[i]);
    if (mode < 0 || mode > 2) Throw(kErrInvalidCall);
    return mode != 0;
}

bool SearchesBytes(std::string_view hay, std::string_view needle, bool text) {
    return (!text && text::utf8::IsValid(needle)) ||
           (text::utf8::IsAscii(needle) && text::utf8::IsAscii(hay));
}

bool ContainsText(std::string_view hay, std::string_view needle, bool text) {
    bool found = false;
    ForEachMatch(hay, needle, text, 1, [&](const TextMatch&) { found = true; });
    return found;
}

int32_t ArgLong(const Value& v) {
    if (IsMissing(v)) Throw(kErrArgNotOptional);
    return ToLong(v);
}

}  // namespace script
