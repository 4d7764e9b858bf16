#include "script/dictionary.h"

#include <cstring>
#include <unordered_map>

#include "script/convert.h"
#include "text/case_fold.h"

namespace script {
namespace {

constexpr int32_t kBinaryCompare = 0;

void ArgCount(Args args, size_t count) {
    if (args.count != count) Throw(kErrWrongArgs);
}

// Numbers of every subtype are one key when their values are equal (1, 1.0
// and CCur(1)); text is a key of its own kind, so 1 and "1" differ; an
// object is itself.
std::string NumberKey(double d) {
    if (d == 0) d = 0;  // -0 and 0 are one key
    std::string key(1 + sizeof d, 'n');
    std::memcpy(key.data() + 1, &d, sizeof d);
    return key;
}

std::string KeyOf(const Value& key, bool textCompare) {
    switch (key.type()) {
        case Type::Empty:
            return "e";
        case Type::Null:
            return "z";
        case Type::String:
            return std::string("s").append(textCompare ? text::FoldCase(key.AsString())
                                                       : key.AsString());
        case Type::Object: {
            const Object* object = key.AsObject();
            std::string id(1 + sizeof object, 'o');
            std::memcpy(id.data() + 1, &object, sizeof object);
            return id;
        }
        case Type::Error:
            return std::string("x").append(std::to_string(key.AsErrorCode()));
        case Type::Array:
            Throw(kErrTypeMismatch);
        default:
            return NumberKey(ToDouble(key));
    }
}

class Dictionary : public ScriptObject {
  public:
    std::string TypeName() const override { return "Dictionary"; }

    Value Get(Runtime&, std::string_view name, Args args) override {
        if (name.empty() || name == "item") {
            ArgCount(args, 1);
            return *ItemOf(args[0]);
        }
        if (name == "exists") {
            ArgCount(args, 1);
            return Value::Boolean(index_.count(KeyText(args[0])) != 0);
        }
        if (name == "add") return Add(args);
        if (name == "remove") return Remove(args);
        if (name == "removeall") {
            ArgCount(args, 0);
            entries_.clear();
            index_.clear();
            return Value();
        }
        if (name == "count") {
            ArgCount(args, 0);
            return Value::Long(static_cast<int32_t>(index_.size()));
        }
        if (name == "keys" || name == "items") {
            ArgCount(args, 0);
            return List(name == "keys");
        }
        if (name == "comparemode") {
            ArgCount(args, 0);
            return Value::Long(compareMode_);
        }
        Throw(kErrNoSuchMember);
    }

    void Put(Runtime&, std::string_view name, Args args, Value v, bool) override {
        if (name.empty() || name == "item") {
            ArgCount(args, 1);
            *ItemOf(args[0]) = std::move(v);
        } else if (name == "key") {
            ArgCount(args, 1);
            Rename(args[0], v);
        } else if (name == "comparemode") {
            ArgCount(args, 0);
            const int32_t mode = ToLong(v);
            // The mode decides which keys are one: it cannot change under
            // keys already in.
            if (mode < 0 || !index_.empty()) Throw(kErrInvalidCall);
            compareMode_ = mode;
        } else {
            Throw(kErrNoSuchMember);
        }
    }

    // For Each visits the keys.
    bool Items(Runtime&, std::vector<Value>* items) override {
        items->clear();
        for (const Entry& e : entries_) {
            if (e.live) items->push_back(e.key);
        }
        return true;
    }

  private:
    struct Entry {
        Value key;
        Value item;
        bool live = true;
    };

    std::string KeyText(const Value& key) const {
        return KeyOf(key, compareMode_ != kBinaryCompare);
    }

    // The item of a key; reading a key that is not there adds it, empty.
    Value* ItemOf(const Value& key) {
        const std::string text = KeyText(key);
        auto found = index_.find(text);
        if (found != index_.end()) return &entries_[found->second].item;
        return Insert(text, key);
    }

    Value* Insert(const std::string& text, const Value& key) {
        index_.emplace(text, entries_.size());
        entries_.push_back({key, Value()});
        return &entries_.back().item;
    }

    Value Add(Args args) {
        ArgCount(args, 2);
        const std::string text = KeyText(args[0]);
        if (index_.count(text)) Throw(kErrKeyExists);
        *Insert(text, args[0]) = args[1];
        return Value();
    }

    Value Remove(Args args) {
        ArgCount(args, 1);
        auto found = index_.find(KeyText(args[0]));
        if (found == index_.end()) Throw(kErrElementNotFound);
        Drop(found);
        return Value();
    }

    void Drop(std::unordered_map<std::string, size_t>::iterator found) {
        Entry& gone = entries_[found->second];
        gone.live = false;
        gone.key = Value();
        gone.item = Value();
        index_.erase(found);
        if (entries_.size() > 2 * index_.size() + 16) Compact();
    }

    // The item moves to the end under its new key, as if removed and added.
    void Rename(const Value& from, const Value& to) {
        auto found = index_.find(KeyText(from));
        if (found == index_.end()) Throw(kErrElementNotFound);
        const std::string text = KeyText(to);
        if (index_.count(text)) Throw(kErrKeyExists);
        Value item = std::move(entries_[found->second].item);
        Drop(found);
        *Insert(text, to) = std::move(item);
    }

    // Removed entries leave holes; once they outnumber the live ones, the
    // list is rebuilt so that a dictionary used as a queue stays small.
    void Compact() {
        std::vector<Entry> kept;
        kept.reserve(index_.size());
        for (Entry& e : entries_) {
            if (e.live) kept.push_back(std::move(e));
        }
        entries_ = std::move(kept);
        for (size_t i = 0; i < entries_.size(); ++i) {
            index_[KeyText(entries_[i].key)] = i;
        }
    }

    Value List(bool keys) const {
        Ref<Array> list(new Array);
        list->items.reserve(index_.size());
        for (const Entry& e : entries_) {
            if (e.live) list->items.push_back(keys ? e.key : e.item);
        }
        list->SetBounds({static_cast<int32_t>(list->items.size()) - 1});
        return Value::Array(list);
    }

    std::vector<Entry> entries_;
    std::unordered_map<std::string, size_t> index_;
    int32_t compareMode_ = kBinaryCompare;
};

}  // namespace

Ref<ScriptObject> MakeDictionary() {
    return Ref<ScriptObject>(new Dictionary);
}

}  // namespace script
