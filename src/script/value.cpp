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

void Value::Reset() {
    if (obj_) {
        RefCounted* old = std::exchange(obj_, nullptr);
        old->Release();
    }
}

bool Value::ScanAscii() const {
    return utf8::IsAscii(str_);
}

void Value::CopyText(const Value& o) {
    str_ = o.str_;
    ascii_ = o.ascii_;
}

Value Value::String(std::string s) {
    Value v;
    v.type_ = Type::String;
    v.ascii_ = kAsciiUnknown;
    v.str_ = std::move(s);
    return v;
}

Value Value::Object(Ref<script::Object> o) {
    Value v;
    v.type_ = Type::Object;
    v.obj_ = o.Get();
    if (v.obj_) v.obj_->AddRef();
    return v;
}

Value Value::Array(Ref<script::Array> a) {
    Value v;
    v.type_ = Type::Array;
    v.obj_ = a.Get();
    if (v.obj_) v.obj_->AddRef();
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
