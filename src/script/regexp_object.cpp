#include "script/regexp_object.h"

#include <memory>
#include <optional>

#include "script/convert.h"
#include "script/nodes.h"
#include "script/regexp.h"
#include "text/char_class.h"
#include "text/utf8.h"

namespace script {
namespace {

void NoArgs(Args args) {
    if (args.count != 0) Throw(kErrWrongArgs);
}

int32_t IndexArg(Args args, size_t count) {
    if (args.count != 1) Throw(kErrWrongArgs);
    const int32_t i = ToLong(args[0]);
    if (i < 0 || static_cast<size_t>(i) >= count) Throw(kErrInvalidCall);
    return i;
}

// Matches and SubMatches: a read-only list with Count, Item (the default
// member) and For Each.
class Collection : public ScriptObject {
  public:
    Collection(const char* typeName, std::vector<Value> items)
        : typeName_(typeName), items_(std::move(items)) {}
    std::string TypeName() const override { return typeName_; }
    Value Get(Runtime&, std::string_view name, Args args) override {
        if (name == "count") {
            NoArgs(args);
            return Value::Long(static_cast<int32_t>(items_.size()));
        }
        if (name.empty() || name == "item") return items_[IndexArg(args, items_.size())];
        Throw(kErrNoSuchMember);
    }
    bool Items(Runtime&, std::vector<Value>* items) override {
        *items = items_;
        return true;
    }

  private:
    const char* typeName_;
    std::vector<Value> items_;
};

class Match : public ScriptObject {
  public:
    Match(std::u16string_view value, int32_t index, std::vector<Value> subs)
        : value_(text::utf8::FromUtf16(value)),
          index_(index),
          length_(static_cast<int32_t>(value.size())),
          subs_(std::move(subs)) {}
    std::string TypeName() const override { return "IMatch2"; }
    Value Get(Runtime& rt, std::string_view name, Args args) override {
        if (name == "submatches") {
            const Ref<Object> subs(new Collection("ISubMatches", subs_));
            return IndexValue(rt, Value::Object(subs), args);
        }
        NoArgs(args);
        if (name.empty() || name == "value") return Value::String(value_);
        if (name == "firstindex") return Value::Long(index_);
        if (name == "length") return Value::Long(length_);
        Throw(kErrNoSuchMember);
    }

  private:
    std::string value_;
    int32_t index_;   // in UTF-16 units, as FirstIndex counts
    int32_t length_;  // the same
    std::vector<Value> subs_;
};

class RegExp : public ScriptObject {
  public:
    std::string TypeName() const override { return "IRegExp2"; }

    Value Get(Runtime& rt, std::string_view name, Args args) override {
        if (name == "pattern") return Property(args, Value::String(pattern_));
        if (name == "ignorecase") return Property(args, Value::Boolean(ignoreCase_));
        if (name == "global") return Property(args, Value::Boolean(global_));
        if (name == "multiline") return Property(args, Value::Boolean(multiline_));
        if (name == "test") return Value::Boolean(Test(rt, args));
        if (name == "execute") return Execute(rt, args);
        if (name == "replace") return Replace(rt, args);
        Throw(kErrNoSuchMember);
    }

    void Put(Runtime& rt, std::string_view name, Args args, Value v, bool isSet) override {
        if (isSet || args.count != 0) Throw(kErrWrongArgs);
        if (name == "pattern") {
            pattern_ = ToString(v, rt.host);
        } else if (name == "ignorecase") {
            ignoreCase_ = ToBoolean(v);
        } else if (name == "global") {
            global_ = ToBoolean(v);
        } else if (name == "multiline") {
            multiline_ = ToBoolean(v);
        } else {
            Throw(kErrNoSuchMember);
        }
        compiled_.reset();
    }

  private:
    static Value Property(Args args, Value v) {
        NoArgs(args);
        return v;
    }

    const Regex& Compiled() {
        if (!compiled_) compiled_ = std::make_unique<Regex>(pattern_, ignoreCase_, multiline_);
        return *compiled_;
    }

    // Subjects are searched as UTF-16 units, so that positions count as
    // VBScript's do; a byte that is not UTF-8 comes back in a match as its
    // Windows-1252 character.
    static std::u16string Subject(Runtime& rt, Args args, size_t expected) {
        if (args.count != expected) Throw(kErrWrongArgs);
        const Value v = Dereference(rt, args[0]);
        if (v.IsNull()) Throw(kErrInvalidNull);
        return text::utf8::ToUtf16(ToString(v, rt.host));
    }

    bool Test(Runtime& rt, Args args) {
        const std::u16string text = Subject(rt, args, 1);
        Regex::Captures caps;
        return Compiled().Search(text, 0, &caps);
    }

    // Every match (or the first, without Global), each with its captures.
    std::vector<Regex::Captures> FindAll(std::u16string_view text) {
        const Regex& re = Compiled();
        std::vector<Regex::Captures> found;
        size_t from = 0;
        Regex::Captures caps;
        while (from <= text.size() && re.Search(text, from, &caps)) {
            found.push_back(caps);
            if (!global_) break;
            // An empty match moves on by one so the search always advances.
            from =
                caps[1] > caps[0] ? static_cast<size_t>(caps[1]) : static_cast<size_t>(caps[1]) + 1;
        }
        return found;
    }

    Value Execute(Runtime& rt, Args args) {
        const std::u16string text = Subject(rt, args, 1);
        const std::u16string_view view = text;
        std::vector<Value> items;
        for (const Regex::Captures& caps : FindAll(text)) {
            std::vector<Value> subs;
            for (size_t g = 1; g * 2 + 1 < caps.size(); ++g) {
                if (caps[g * 2] < 0 || caps[g * 2 + 1] < 0) {
                    subs.push_back(Value());
                } else {
                    subs.push_back(Value::String(text::utf8::FromUtf16(
                        view.substr(caps[g * 2], caps[g * 2 + 1] - caps[g * 2]))));
                }
            }
            items.push_back(Value::Object(
                Ref<Object>(new Match(view.substr(caps[0], caps[1] - caps[0]),
                                      static_cast<int32_t>(caps[0]), std::move(subs)))));
        }
        return Value::Object(Ref<Object>(new Collection("IMatchCollection2", std::move(items))));
    }

    // Expands $1..$99, $&, $`, $' and $$ in a replacement text.
    static void Expand(std::u16string_view with, std::u16string_view text,
                       const Regex::Captures& caps, std::u16string* out) {
        const auto group = [&](size_t g) {
            if (g * 2 + 1 >= caps.size() || caps[g * 2] < 0 || caps[g * 2 + 1] < 0) return;
            out->append(text.substr(caps[g * 2], caps[g * 2 + 1] - caps[g * 2]));
        };
        const size_t groups = caps.size() / 2 - 1;
        for (size_t i = 0; i < with.size(); ++i) {
            if (with[i] != '$' || i + 1 >= with.size()) {
                *out += with[i];
                continue;
            }
            const char16_t c = with[i + 1];
            if (c == '$') {
                *out += '$';
                ++i;
            } else if (c == '&') {
                group(0);
                ++i;
            } else if (c == '`') {
                out->append(text.substr(0, caps[0]));
                ++i;
            } else if (c == '\'') {
                out->append(text.substr(caps[1]));
                ++i;
            } else if (text::IsAsciiDigit(c)) {
                size_t g = c - '0';
                size_t used = 1;
                if (i + 2 < with.size() && text::IsAsciiDigit(with[i + 2]) &&
                    g * 10 + (with[i + 2] - '0') <= groups) {
                    g = g * 10 + (with[i + 2] - '0');
                    used = 2;
                }
                if (g == 0 || g > groups) {
                    *out += '$';
                    continue;
                }
                group(g);
                i += used;
            } else {
                *out += '$';
            }
            if (out->size() > kMaxStringLength) Throw(kErrOutOfMemory);
        }
    }

    Value Replace(Runtime& rt, Args args) {
        if (args.count != 2) Throw(kErrWrongArgs);
        const std::u16string text = Subject(rt, Args{args.items, 1}, 1);
        const std::u16string with =
            text::utf8::ToUtf16(ToString(Dereference(rt, args[1]), rt.host));
        std::u16string out;
        size_t last = 0;
        for (const Regex::Captures& caps : FindAll(text)) {
            out.append(text, last, caps[0] - last);
            Expand(with, text, caps, &out);
            last = static_cast<size_t>(caps[1]);
        }
        out.append(text, last, std::u16string::npos);
        return Value::String(text::utf8::FromUtf16(out));
    }

    std::string pattern_;
    bool ignoreCase_ = false;
    bool global_ = false;
    bool multiline_ = false;
    std::unique_ptr<Regex> compiled_;
};

}  // namespace

Ref<ScriptObject> MakeRegExp() {
    return Ref<ScriptObject>(new RegExp);
}

}  // namespace script
