// Functions between strings and arrays: Split, Join and Filter.
#include <algorithm>
#include <functional>
#include <string_view>

#include "script/builtins.h"
#include "script/convert.h"
#include "script/nodes.h"
#include "text/utf8.h"

namespace script {
namespace {

Value MakeList(std::vector<Value> items) {
    Ref<Array> a(new Array);
    a->items = std::move(items);
    a->SetBounds({static_cast<int32_t>(a->items.size()) - 1});
    return Value::Array(a);
}

// Pieces repeat (the fields of records, the words of a text): a short piece
// equal to one met lately shares that one's text, as a copy of a string
// does, rather than taking memory of its own.
class RecentPieces {
  public:
    Value Make(std::string piece) {
        if (piece.size() > kShort) return Value::String(std::move(piece));
        Value& seen = seen_[std::hash<std::string>{}(piece) % kSlots];
        if (!seen.IsString() || seen.AsString() != piece) seen = Value::String(std::move(piece));
        return seen;
    }

  private:
    // Pieces this short are held in the string itself: comparing one costs
    // less than the allocation it saves.
    static constexpr size_t kShort = 15;
    static constexpr size_t kSlots = 32;
    Value seen_[kSlots];
};

Value Split(Frame& f, Value* a, int n) {
    if (a[0].IsNull()) Throw(kErrInvalidNull);
    // A long text is read in place, not copied.
    std::string copy;
    const std::string_view s = a[0].IsString() ? std::string_view(a[0].AsString())
                                               : std::string_view(copy = ArgText(f, a[0]));
    const std::string delim = Present(a, n, 1) ? ArgText(f, a[1]) : " ";
    const int32_t limit = Present(a, n, 2) ? ToLong(a[2]) : -1;
    if (limit < -1) Throw(kErrInvalidCall);
    const bool text = TextCompareArg(a, n, 3);
    std::vector<Value> items;
    if (s.empty() || limit == 0) return MakeList(std::move(items));
    if (delim.empty()) {
        items.push_back(Value::String(std::string(s)));
        return MakeList(std::move(items));
    }
    // At most limit - 1 cuts make limit items.
    text::utf8::Place pos{0, false};
    RecentPieces pieces;
    ForEachMatch(s, delim, text, limit < 0 ? -1 : limit - 1, [&](const TextMatch& m) {
        items.push_back(pieces.Make(text::utf8::Slice(s, pos, m.begin)));
        pos = m.end;
    });
    items.push_back(pieces.Make(text::utf8::Slice(s, pos, {s.size(), false})));
    return MakeList(std::move(items));
}

Value Join(Frame& f, Value* a, int n) {
    if (!a[0].IsArray() || a[0].AsArray()->Dimensions() > 1) Throw(kErrTypeMismatch);
    const std::string delim = Present(a, n, 1) ? ArgText(f, a[1]) : " ";
    const std::vector<Value>& items = a[0].AsArray()->items;
    // The text is made once at its length, when the items are strings: a
    // long one grown piece by piece would be copied on every doubling.
    size_t length = 0;
    for (const Value& item : items) {
        if (item.IsString()) length += item.AsString().size() + delim.size();
    }
    std::string out;
    out.reserve(std::min(length, kMaxStringLength));
    bool first = true;
    for (const Value& item : items) {
        if (!first) text::utf8::AppendText(&out, delim);
        first = false;
        if (item.IsString()) {
            text::utf8::AppendText(&out, item.AsString());
        } else if (!item.IsNull()) {
            text::utf8::AppendText(&out, ArgText(f, item));
        }
        if (out.size() > kMaxStringLength) Throw(kErrOutOfMemory);
    }
    return Value::String(std::move(out));
}

Value Filter(Frame& f, Value* a, int n) {
    if (!a[0].IsArray() || a[0].AsArray()->Dimensions() != 1) Throw(kErrTypeMismatch);
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
    {"split", 1, 4, Split, kPure},
    {"join", 1, 2, Join, kPure},
    {"filter", 2, 4, Filter, kPure},
};

}  // namespace

BuiltinTable ArrayBuiltins() {
    return {kTable, std::size(kTable)};
}

}  // namespace script
