// Functions between strings and arrays: Split, Join and Filter.
#include "script/builtins.h"
#include "script/convert.h"
#include "script/nodes.h"
#include "text/utf8.h"

namespace script {
namespace {

Value MakeList(std::vector<Value> items) {
    Ref<Array> a(new Array);
    a->upper.push_back(static_cast<int32_t>(items.size()) - 1);
    a->items = std::move(items);
    return Value::Array(a);
}

Value Split(Frame& f, Value* a, int n) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    const std::string s = ArgText(f, a[0]);
    const std::string delim = Present(a, n, 1) ? ArgText(f, a[1]) : " ";
    const int32_t limit = Present(a, n, 2) ? ToLong(a[2]) : -1;
    if (limit < -1) Throw(kErrInvalidCall);
    const bool text = TextCompareArg(a, n, 3);
    std::vector<Value> items;
    if (s.empty() || limit == 0) return MakeList(std::move(items));
    if (delim.empty()) {
        items.push_back(Value::String(s));
        return MakeList(std::move(items));
    }
    // At most limit - 1 cuts make limit items.
    text::utf8::Place pos{0, false};
    ForEachMatch(s, delim, text, limit < 0 ? -1 : limit - 1, [&](const TextMatch& m) {
        items.push_back(Value::String(text::utf8::Slice(s, pos, m.begin)));
        pos = m.end;
    });
    items.push_back(Value::String(text::utf8::Slice(s, pos, {s.size(), false})));
    return MakeList(std::move(items));
}

Value Join(Frame& f, Value* a, int n) {
    if (!a[0].IsArray() || a[0].AsArray()->upper.size() > 1) Throw(kErrTypeMismatch);
    const std::string delim = Present(a, n, 1) ? ArgText(f, a[1]) : " ";
    std::string out;
    bool first = true;
    for (const Value& item : a[0].AsArray()->items) {
        if (!first) text::utf8::AppendText(&out, delim);
        first = false;
        if (!item.IsNull()) text::utf8::AppendText(&out, ArgText(f, item));
        if (out.size() > kMaxStringLength) Throw(kErrOutOfMemory);
    }
    return Value::String(std::move(out));
}

Value Filter(Frame& f, Value* a, int n) {
    if (!a[0].IsArray() || a[0].AsArray()->upper.size() != 1) Throw(kErrTypeMismatch);
    if (a[1].IsNull()) Throw(kErrInvalidNull);
    const std::string match = ArgText(f, a[1]);
    const bool include = Present(a, n, 2) ? ToBoolean(a[2]) : true;
    const bool text = TextCompareArg(a, n, 3);
    std::vector<Value> items;
    for (const Value& item : a[0].AsArray()->items) {
        if (item.IsNull()) Throw(kErrInvalidNull);
        const std::string s = ArgText(f, item);
        const bool found = match.empty() || ContainsText(s, match, text);
        if (found == include) items.push_back(Value::String(s));
    }
    return MakeList(std::move(items));
}

const Builtin kTable[] = {
    {"split", 1, 4, Split},
    {"join", 1, 2, Join},
    {"filter", 2, 4, Filter},
};

}  // namespace

BuiltinTable ArrayBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
