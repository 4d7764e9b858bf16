// The variant: every value a script holds, in VBScript's subtypes. Text is
// UTF-8 (the process code page); scripts count it in UTF-16 units as
// VBScript does (utf8.h), and a byte that is not UTF-8 is a character of its
// own, so legacy text still has a length.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace script {

struct Error;
class Host;

// The longest string a script may build; past it is Out of memory (7).
constexpr size_t kMaxStringLength = size_t{1} << 27;
// The most items one array may hold; past it is Out of memory (7).
constexpr int64_t kMaxArrayItems = int64_t{1} << 24;

// Numbered as VBScript's VarType reports them.
enum class Type : uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Byte = 17,
    Array = 8204,  // vbArray + vbVariant: every script array holds variants
};

// Intrusively counted so that an object can hand out references to itself
// (Me) and run script code while it is being released (Class_Terminate).
class RefCounted {
  public:
    RefCounted() = default;
    // A copy is a new object: it starts unreferenced.
    RefCounted(const RefCounted&) {}
    RefCounted& operator=(const RefCounted&) { return *this; }
    virtual ~RefCounted() = default;
    void AddRef() { ++refs_; }
    void Release() {
        if (--refs_ == 0) Destroy(this);
    }
    int RefCount() const { return refs_; }

  protected:
    // Runs before deletion; false keeps the object (it was referenced again).
    virtual bool Finalize() { return true; }
    int refs_ = 0;

  private:
    // Deletes through a queue, not recursively: a list of a million linked
    // objects, or arrays nested as deep, is freed without deep native calls.
    static void Destroy(RefCounted* p);
};

template <typename T>
class Ref {
  public:
    Ref() = default;
    Ref(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    Ref(const Ref& o) : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <typename U>
    Ref(const Ref<U>& o) : Ref(o.Get()) {}
    ~Ref() {
        if (p_) p_->Release();
    }
    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

class Object;
class Array;

class Value {
  public:
    Value() : type_(Type::Empty) { u_.d = 0; }
    // Copies and moves are the hot path of every expression: inline, with
    // the string and the reference touched only when there is one.
    Value(const Value& o) : type_(o.type_), u_(o.u_), obj_(o.obj_) {
        if (type_ == Type::String) CopyText(o);
        if (obj_) obj_->AddRef();
    }
    Value(Value&& o) noexcept : type_(o.type_), u_(o.u_), obj_(o.obj_) {
        if (type_ == Type::String) {
            str_ = std::move(o.str_);
            ascii_ = o.ascii_;
        }
        o.obj_ = nullptr;
        o.type_ = Type::Empty;
    }
    Value& operator=(const Value& o) {
        if (this != &o) {
            // Hold the old reference until the copy is made: o may live inside it.
            RefCounted* old = obj_;
            obj_ = nullptr;
            CopyFrom(o);
            if (old) old->Release();
        }
        return *this;
    }
    Value& operator=(Value&& o) noexcept {
        if (this != &o) {
            RefCounted* old = obj_;
            type_ = o.type_;
            u_ = o.u_;
            if (o.type_ == Type::String) {
                str_ = std::move(o.str_);
                ascii_ = o.ascii_;
            } else if (!str_.empty()) {
                str_.clear();
            }
            obj_ = std::exchange(o.obj_, nullptr);
            o.type_ = Type::Empty;
            if (old) old->Release();
        }
        return *this;
    }
    ~Value() {
        if (obj_) Reset();
    }

    static Value Null() { return Value(Type::Null); }
    static Value Boolean(bool b) {
        Value v(Type::Boolean);
        v.u_.b = b;
        return v;
    }
    static Value Byte(uint8_t b) {
        Value v(Type::Byte);
        v.u_.byte = b;
        return v;
    }
    static Value Integer(int16_t i) {
        Value v(Type::Integer);
        v.u_.i16 = i;
        return v;
    }
    static Value Long(int32_t i) {
        Value v(Type::Long);
        v.u_.i32 = i;
        return v;
    }
    static Value Single(float f) {
        Value v(Type::Single);
        v.u_.f = f;
        return v;
    }
    static Value Double(double d) {
        Value v(Type::Double);
        v.u_.d = d;
        return v;
    }
    // Currency is a count of ten-thousandths, as COM stores it.
    static Value Currency(int64_t c) {
        Value v(Type::Currency);
        v.u_.cy = c;
        return v;
    }
    // Days since 1899-12-30; the fraction is the time of day.
    static Value Date(double serial) {
        Value v(Type::Date);
        v.u_.d = serial;
        return v;
    }
    static Value String(std::string s);
    static Value Object(Ref<script::Object> o);  // a null reference is Nothing
    static Value Array(Ref<script::Array> a);
    // The Error subtype (CVErr); rare.
    static Value ErrorCode(int32_t code) {
        Value v(Type::Error);
        v.u_.i32 = code;
        return v;
    }

    Type type() const { return type_; }
    bool IsEmpty() const { return type_ == Type::Empty; }
    bool IsNull() const { return type_ == Type::Null; }
    bool IsString() const { return type_ == Type::String; }
    bool IsObject() const { return type_ == Type::Object; }
    bool IsArray() const { return type_ == Type::Array; }
    bool IsNothing() const { return type_ == Type::Object && obj_ == nullptr; }
    // Byte, Integer, Long, Single, Double, Currency (Boolean and Date excluded).
    bool IsNumber() const;

    bool AsBoolean() const { return u_.b; }
    uint8_t AsByte() const { return u_.byte; }
    int16_t AsInteger() const { return u_.i16; }
    int32_t AsLong() const { return u_.i32; }
    float AsSingle() const { return u_.f; }
    double AsDouble() const { return u_.d; }
    int64_t AsCurrency() const { return u_.cy; }
    double AsDate() const { return u_.d; }
    int32_t AsErrorCode() const { return u_.i32; }
    const std::string& AsString() const { return str_; }
    // For in-place appends; valid only while IsString(). The text may change,
    // so whether it is ASCII is asked again.
    std::string& MutableString() {
        ascii_ = kAsciiUnknown;
        return str_;
    }
    // Whether the string is ASCII only, so that bytes are characters: worked
    // out once and kept until the text changes, which keeps Mid(s, i, 1)
    // over a long ASCII string from scanning it on every call.
    bool IsAsciiText() const {
        if (ascii_ == kAsciiUnknown) ascii_ = ScanAscii() ? kAsciiYes : kAsciiNo;
        return ascii_ == kAsciiYes;
    }
    script::Object* AsObject() const;
    script::Array* AsArray() const;

  private:
    explicit Value(Type t) : type_(t) { u_.d = 0; }
    void Reset();
    bool ScanAscii() const;
    // Out of line (value.cpp): most copies carry no text, and without the
    // string's copy inlined into each of them they stay small.
    void CopyText(const Value& o);
    void CopyFrom(const Value& o) {
        type_ = o.type_;
        u_ = o.u_;
        if (o.type_ == Type::String) {
            str_ = o.str_;
            ascii_ = o.ascii_;
        } else if (!str_.empty()) {
            str_.clear();
        }
        obj_ = o.obj_;
        if (obj_) obj_->AddRef();
    }

    enum : uint8_t { kAsciiUnknown, kAsciiYes, kAsciiNo };

    Type type_;
    // Meaningful only for a String, and set whenever the value becomes one
    // (String, copies and moves of a string), so that copies of other types
    // do not touch it; sits in the padding after type_.
    mutable uint8_t ascii_;
    union {
        bool b;
        uint8_t byte;
        int16_t i16;
        int32_t i32;
        float f;
        double d;
        int64_t cy;
    } u_;
    std::string str_;
    RefCounted* obj_ = nullptr;  // Object (may be null: Nothing) or Array
};

// A script array: variants in row-major order over one or more dimensions.
// A script's own arrays start at 0; an array from outside (a COM SAFEARRAY)
// may start elsewhere, and keeps its lower bounds.
class Array : public RefCounted {
  public:
    std::vector<Value> items;
    std::vector<int32_t> upper;  // the upper bound of each dimension
    std::vector<int32_t> lower;  // the lower bounds, or empty when all are 0
    bool fixedSize = false;      // declared with bounds (Dim a(3)): no ReDim
    int locks = 0;               // iterations in progress (For Each): no ReDim/Erase

    // The flat position of a subscript list, or -1 when one is out of range.
    int64_t Offset(const int32_t* subscripts, size_t count) const;
    int32_t Lower(size_t dim) const { return lower.empty() ? 0 : lower[dim]; }
    // The number of items along a dimension.
    size_t Extent(size_t dim) const {
        return static_cast<size_t>(static_cast<int64_t>(upper[dim]) - Lower(dim) + 1);
    }
};

// Anything reached with "." or Set: class instances and the built-in
// objects. What they can do is the engine's business (runtime.h); outside
// it they are opaque values with a type name.
class Object : public RefCounted {
  public:
    virtual std::string TypeName() const = 0;
};

inline Object* Value::AsObject() const {
    return static_cast<script::Object*>(obj_);
}
inline Array* Value::AsArray() const {
    return static_cast<script::Array*>(obj_);
}

// The usual conversion of a value to text, as CStr does it, with two choices
// made for display: Null gives "Null" and an object or array fails with
// Type mismatch (13). Dates use the host's regional formats; a null host uses
// the portable defaults (M/D/YYYY and h:mm:ss AM/PM). Returns false and
// fills *err when there is no text form.
bool ToText(const Value& value, std::string* text, Error* err, const Host* host = nullptr);

// VBScript's TypeName of a value ("Empty", "Integer", "String", "Nothing", ...).
std::string TypeName(const Value& value);

}  // namespace script
