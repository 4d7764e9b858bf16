// The variant: every value a script holds, in VBScript's subtypes. Text is
// UTF-8 (the process code page); scripts count it in UTF-16 units as
// VBScript does (text/utf8.h), and a byte that is not UTF-8 is a character of its
// own, so legacy text still has a length.
#pragma once

#include <bit>
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

// A string's text, shared by the values that copy it: copying a string is
// a count, and the first write through a shared one (MutableString) makes a
// private copy. Not a RefCounted: strings are made and dropped by nearly
// every expression, and they hold no references, so a plain count and a
// direct delete are all they need (RefCounted's release goes through a
// queue).
struct StringData {
    enum : uint8_t { kAsciiUnknown, kAsciiYes, kAsciiNo };

    int refs = 1;
    // Whether text is ASCII only, worked out on first asking and forgotten
    // on every write.
    mutable uint8_t ascii = kAsciiUnknown;
    std::string text;
};

class Value {
  public:
    Value() : type_(Type::Empty), counted_(kNotCounted) { u_.cy = 0; }
    // Copies, moves and destruction are the hot path of every expression:
    // inline, sixteen bytes, and the only branch is on counted_.
    Value(const Value& o) : type_(o.type_), counted_(o.counted_), u_(o.u_) {
        if (counted_) Retain();
    }
    Value(Value&& o) noexcept : type_(o.type_), counted_(o.counted_), u_(o.u_) {
        o.type_ = Type::Empty;
        o.counted_ = kNotCounted;
    }
    Value& operator=(const Value& o) {
        // Hold the old reference until the copy is made: o may live inside
        // it. Counting before dropping also makes self-assignment harmless.
        const uint8_t oldCounted = counted_;
        const Payload old = u_;
        type_ = o.type_;
        counted_ = o.counted_;
        u_ = o.u_;
        if (counted_) Retain();
        if (oldCounted) Drop(oldCounted, old);
        return *this;
    }
    Value& operator=(Value&& o) noexcept {
        if (this != &o) {
            const uint8_t oldCounted = counted_;
            const Payload old = u_;
            type_ = o.type_;
            counted_ = o.counted_;
            u_ = o.u_;
            o.type_ = Type::Empty;
            o.counted_ = kNotCounted;
            if (oldCounted) Drop(oldCounted, old);
        }
        return *this;
    }
    ~Value() {
        if (counted_) Drop(counted_, u_);
    }

    static Value Null() { return Value(Type::Null); }
    static Value Boolean(bool b) { return Value(Type::Boolean, b ? 1 : 0); }
    static Value Byte(uint8_t b) { return Value(Type::Byte, b); }
    static Value Integer(int16_t i) { return Value(Type::Integer, static_cast<uint16_t>(i)); }
    static Value Long(int32_t i) { return Value(Type::Long, static_cast<uint32_t>(i)); }
    static Value Single(float f) { return Value(Type::Single, std::bit_cast<uint32_t>(f)); }
    static Value Double(double d) { return Value(Type::Double, std::bit_cast<uint64_t>(d)); }
    // Currency is a count of ten-thousandths, as COM stores it.
    static Value Currency(int64_t c) { return Value(Type::Currency, static_cast<uint64_t>(c)); }
    // Days since 1899-12-30; the fraction is the time of day.
    static Value Date(double serial) { return Value(Type::Date, std::bit_cast<uint64_t>(serial)); }
    // The empty string allocates nothing: every empty value shares one text.
    static Value String(std::string s);
    static Value Object(Ref<script::Object> o);  // a null reference is Nothing
    static Value Array(Ref<script::Array> a);
    // The Error subtype (CVErr); rare.
    static Value ErrorCode(int32_t code) { return Value(Type::Error, static_cast<uint32_t>(code)); }

    Type type() const { return type_; }
    bool IsEmpty() const { return type_ == Type::Empty; }
    bool IsNull() const { return type_ == Type::Null; }
    bool IsString() const { return type_ == Type::String; }
    bool IsObject() const { return type_ == Type::Object; }
    bool IsArray() const { return type_ == Type::Array; }
    bool IsNothing() const { return type_ == Type::Object && counted_ == kNotCounted; }
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
    // Overwrites a value that holds no count (a number, Empty, Boolean)
    // with a number, in place: a loop counter's step, with none of an
    // assignment's checks. Both must hold no count (no string, object or
    // array), or a count would be lost.
    void OverwriteUncounted(const Value& number) {
        type_ = number.type_;
        u_ = number.u_;
    }
    // The same for a whole number of type t (Integer or Long) that fits it,
    // written from an integer register: a loop counter stepped each turn
    // is read back at once, and a store from a vector register makes that
    // read wait longer.
    void OverwriteWhole(Type t, int64_t whole) {
        type_ = t;
        u_.cy = t == Type::Integer ? int64_t{static_cast<uint16_t>(whole)}
                                   : int64_t{static_cast<uint32_t>(whole)};
    }
    // Whether this holds a count: a string, an object or an array.
    bool HoldsCount() const { return counted_ != kNotCounted; }
    // Valid only while IsString(): every string has its text, so this reads
    // it without a test.
    const std::string& AsString() const { return u_.text->text; }
    // For in-place appends; valid only while IsString(). A text shared with
    // other values (or the shared empty one) is copied first, so that they
    // keep what they had; and it may change, so whether it is ASCII is asked
    // again.
    std::string& MutableString() {
        if (counted_ != kCountedText || u_.text->refs != 1) Unshare();
        u_.text->ascii = StringData::kAsciiUnknown;
        return u_.text->text;
    }
    // Whether the string is ASCII only, so that bytes are characters: worked
    // out once and kept with the text until it changes, which keeps
    // Mid(s, i, 1) over a long ASCII string from scanning it on every call.
    bool IsAsciiText() const {
        const StringData& t = *u_.text;
        if (t.ascii == StringData::kAsciiUnknown) {
            t.ascii = ScanAscii() ? StringData::kAsciiYes : StringData::kAsciiNo;
        }
        return t.ascii == StringData::kAsciiYes;
    }
    // The object or array held, or null (Nothing, and every other type).
    script::Object* AsObject() const;
    script::Array* AsArray() const;

  private:
    // What the payload points to that this value holds a count of. Objects
    // and arrays are told apart here, so that asking a value for the one
    // never hands back the other under its type.
    enum : uint8_t { kNotCounted, kCountedText, kCountedObject, kCountedArray };
    union Payload {
        bool b;
        uint8_t byte;
        int16_t i16;
        int32_t i32;
        float f;
        double d;
        int64_t cy;
        StringData* text;  // String: never null (the empty one is shared, uncounted)
        RefCounted* ref;   // Object (null: Nothing) or Array
    };

    explicit Value(Type t) : type_(t), counted_(kNotCounted) { u_.cy = 0; }
    // A scalar whose bytes are bits, the rest zero, written in one store: a
    // narrower member written after the zeroing would make the next copy of
    // the whole word wait for both stores (most of the numbers the engine
    // makes are copied at once). The members start at the word's first
    // byte, and the targets are little-endian.
    Value(Type t, uint64_t bits) : type_(t), counted_(kNotCounted) {
        u_.cy = static_cast<int64_t>(bits);
    }
    void Retain() const {
        if (counted_ == kCountedText) {
            ++u_.text->refs;
        } else {
            u_.ref->AddRef();
        }
    }
    // Out of line (value.cpp): freeing stays out of every copy's and every
    // destructor's inlined code.
    static void Drop(uint8_t counted, Payload u);
    void Unshare();
    bool ScanAscii() const;

    Type type_;
    uint8_t counted_;
    Payload u_;
};

static_assert(sizeof(Value) == 16, "a value is a type, a count flag and one word");
static_assert(std::endian::native == std::endian::little, "scalars are the low bytes of the word");

// A script array: variants in row-major order over one or more dimensions.
// A script's own arrays start at 0; an array from outside (a COM SAFEARRAY)
// may start elsewhere, and keeps its lower bounds. Whoever sets the shape
// gives items one value for each subscript list in it.
class Array : public RefCounted {
  public:
    std::vector<Value> items;
    bool fixedSize = false;  // declared with bounds (Dim a(3)): no ReDim
    int locks = 0;           // iterations in progress (For Each): no ReDim/Erase

    // Sets the upper bound of each dimension and the lower bounds (empty
    // when all are 0); no dimensions is an array not yet dimensioned.
    void SetBounds(std::vector<int32_t> upper, std::vector<int32_t> lower = {}) {
        upper_ = std::move(upper);
        lower_ = std::move(lower);
        const bool flat = upper_.size() == 1 && lower_.empty() && upper_[0] >= 0;
        flatLength_ = flat ? static_cast<uint64_t>(upper_[0]) + 1 : 0;
    }
    size_t Dimensions() const { return upper_.size(); }
    const std::vector<int32_t>& UpperBounds() const { return upper_; }
    const std::vector<int32_t>& LowerBounds() const { return lower_; }
    int32_t Upper(size_t dim) const { return upper_[dim]; }
    int32_t Lower(size_t dim) const { return lower_.empty() ? 0 : lower_[dim]; }
    // The number of items along a dimension.
    size_t Extent(size_t dim) const {
        return static_cast<size_t>(static_cast<int64_t>(upper_[dim]) - Lower(dim) + 1);
    }
    // The item count of a one-dimensional array from 0, and 0 for any other
    // shape: a(i) of the usual array, the inner step of most loops over
    // one, is found with a single unsigned compare of i against it.
    uint64_t FlatLength() const { return flatLength_; }
    // The flat position of a subscript list, or -1 when one is out of range.
    int64_t Offset(const int32_t* subscripts, size_t count) const;

  private:
    std::vector<int32_t> upper_;  // the upper bound of each dimension
    std::vector<int32_t> lower_;  // the lower bounds, or empty when all are 0
    uint64_t flatLength_ = 0;
};

// Anything reached with "." or Set: class instances and the built-in
// objects. What they can do is the engine's business (runtime.h); outside
// it they are opaque values with a type name.
class Object : public RefCounted {
  public:
    virtual std::string TypeName() const = 0;
};

inline Object* Value::AsObject() const {
    return counted_ == kCountedObject ? static_cast<script::Object*>(u_.ref) : nullptr;
}
inline Array* Value::AsArray() const {
    if (counted_ != kCountedArray) return nullptr;
    // Only a real array is counted (Value::Array): telling the compiler so
    // spares the test for null after every question for an array.
    if (!u_.ref) __builtin_unreachable();
    return static_cast<script::Array*>(u_.ref);
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
