#include "script/value.h"

#include "script/convert.h"
#include "script/engine.h"
#include "script/errors.h"
#include "script/utf8.h"

namespace script {

void RefCounted::Destroy(RefCounted* p) {
    thread_local std::vector<RefCounted*>* pending = nullptr;
    if (pending) {
        pending->push_back(p);
        return;
    }
    std::vector<RefCounted*> queue{p};
    pending = &queue;
    for (size_t i = 0; i < queue.size(); ++i) {
        RefCounted* next = queue[i];
        if (next->Finalize()) delete next;
    }
    pending = nullptr;
}

namespace {

// The text of every empty string. Its count is never touched (values hold
// it uncounted) and it is known to be ASCII, so nothing ever writes it, and
// it is never freed.
constinit StringData emptyText{1 << 30, StringData::kAsciiYes, {}};

}  // namespace

void Value::Drop(uint8_t counted, Payload u) {
    if (counted == kCountedText) {
        if (--u.text->refs == 0) delete u.text;
    } else {
        u.ref->Release();
    }
}

void Value::Unshare() {
    StringData* own = new StringData{1, StringData::kAsciiUnknown, u_.text->text};
    // A counted text here is shared, so this is never its last count.
    if (counted_ == kCountedText) --u_.text->refs;
    u_.text = own;
    counted_ = kCountedText;
}

bool Value::ScanAscii() const {
    return utf8::IsAscii(u_.text->text);
}

Value Value::String(std::string s) {
    Value v(Type::String);
    if (s.empty()) {
        v.u_.text = &emptyText;
    } else {
        v.u_.text = new StringData{1, StringData::kAsciiUnknown, std::move(s)};
        v.counted_ = kCountedText;
    }
    return v;
}

Value Value::Object(Ref<script::Object> o) {
    Value v(Type::Object);
    v.u_.ref = o.Get();
    if (v.u_.ref) {
        v.u_.ref->AddRef();
        v.counted_ = kCountedRef;
    }
    return v;
}

Value Value::Array(Ref<script::Array> a) {
    Value v(Type::Array);
    v.u_.ref = a.Get();
    if (v.u_.ref) {
        v.u_.ref->AddRef();
        v.counted_ = kCountedRef;
    }
    return v;
}

bool Value::IsNumber() const {
    switch (type_) {
        case Type::Byte:
        case Type::Integer:
        case Type::Long:
        case Type::Single:
        case Type::Double:
        case Type::Currency:
            return true;
        default:
            return false;
    }
}

int64_t Array::Offset(const int32_t* subscripts, size_t count) const {
    if (count != upper.size()) return -1;
    int64_t offset = 0;
    for (size_t i = 0; i < count; ++i) {
        const int32_t low = Lower(i);
        if (subscripts[i] < low || subscripts[i] > upper[i]) return -1;
        offset = offset * static_cast<int64_t>(Extent(i)) + (subscripts[i] - low);
    }
    return offset;
}

bool ToText(const Value& value, std::string* text, Error* err, const Host* host) {
    if (value.IsNull()) {
        *text = "Null";
        return true;
    }
    try {
        *text = ToString(value, host ? *host : DefaultHost());
        return true;
    } catch (const ScriptError& e) {
        if (err) *err = Error{e.number, e.description};
        return false;
    }
}

std::string TypeName(const Value& value) {
    switch (value.type()) {
        case Type::Empty:
            return "Empty";
        case Type::Null:
            return "Null";
        case Type::Integer:
            return "Integer";
        case Type::Long:
            return "Long";
        case Type::Single:
            return "Single";
        case Type::Double:
            return "Double";
        case Type::Currency:
            return "Currency";
        case Type::Date:
            return "Date";
        case Type::String:
            return "String";
        case Type::Object:
            return value.AsObject() ? value.AsObject()->TypeName() : "Nothing";
        case Type::Error:
            return "Error";
        case Type::Boolean:
            return "Boolean";
        case Type::Byte:
            return "Byte";
        case Type::Array:
            return "Variant()";
    }
    return "Unknown";
}

}  // namespace script
