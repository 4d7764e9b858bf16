#include "script/value.h"

#include "script/convert.h"
#include "script/engine.h"
#include "script/errors.h"
#include "text/utf8.h"

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
// it is never freed. Made on first use: not every library's string can be
// constant-initialised, and a value may be made while other files' statics
// are initialised.
StringData* EmptyText() {
    static StringData empty{1 << 30, StringData::kAsciiYes, {}};
    return &empty;
}

// Texts kept for reuse. Most strings are short and short-lived ("key" & i),
// and a block taken back from here costs no trip to the heap. Capped, and
// without the large buffers, so that a script that drops a million strings
// does not keep their memory. A plain global, not thread_local (which
// MinGW makes a function call): script values belong to one thread at a
// time (com_apartment.h), which their plain counts already rely on. Off
// under AddressSanitizer, which could not see a reused text then.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSpareTexts = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kSpareTexts = 0;
#else
constexpr int kSpareTexts = 1024;
#endif
#else
constexpr int kSpareTexts = 1024;
#endif
StringData* spareTexts[kSpareTexts > 0 ? kSpareTexts : 1];
int spareCount = 0;

// What a std::string holds without a buffer of its own.
size_t InlineText() {
    return std::string().capacity();
}

StringData* NewText(std::string&& s) {
    if (spareCount == 0) return new StringData{1, StringData::kAsciiUnknown, std::move(s)};
    StringData* t = spareTexts[--spareCount];
    t->refs = 1;
    t->ascii = StringData::kAsciiUnknown;
    t->text = std::move(s);
    return t;
}

void FreeText(StringData* t) {
    if (spareCount == kSpareTexts) {
        delete t;
        return;
    }
    if (t->text.capacity() > InlineText()) std::string().swap(t->text);
    spareTexts[spareCount++] = t;
}

}  // namespace

void Value::Drop(uint8_t counted, Payload u) {
    if (counted == kCountedText) {
        if (--u.text->refs == 0) FreeText(u.text);
    } else {
        u.ref->Release();
    }
}

void Value::Unshare() {
    StringData* own = NewText(std::string(u_.text->text));
    // A counted text here is shared, so this is never its last count.
    if (counted_ == kCountedText) --u_.text->refs;
    u_.text = own;
    counted_ = kCountedText;
}

bool Value::ScanAscii() const {
    return text::utf8::IsAscii(u_.text->text);
}

Value Value::String(std::string s) {
    Value v(Type::String);
    if (s.empty()) {
        v.u_.text = EmptyText();
    } else {
        v.u_.text = NewText(std::move(s));
        v.counted_ = kCountedText;
    }
    return v;
}

Value Value::Object(Ref<script::Object> o) {
    Value v(Type::Object);
    v.u_.ref = o.Get();
    if (v.u_.ref) {
        v.u_.ref->AddRef();
        v.counted_ = kCountedObject;
    }
    return v;
}

Value Value::Array(Ref<script::Array> a) {
    Value v(Type::Array);
    v.u_.ref = a.Get();
    if (v.u_.ref) {
        v.u_.ref->AddRef();
        v.counted_ = kCountedArray;
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
    if (count != upper_.size()) return -1;
    int64_t offset = 0;
    for (size_t i = 0; i < count; ++i) {
        const int32_t low = Lower(i);
        if (subscripts[i] < low || subscripts[i] > upper_[i]) return -1;
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
