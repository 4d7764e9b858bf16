#include "script/value.h"

#include <gtest/gtest.h>

#include "script/engine.h"

namespace script {
namespace {

class Probe : public Object {
  public:
    explicit Probe(int* alive) : alive_(alive) { ++*alive_; }
    ~Probe() override { --*alive_; }
    std::string TypeName() const override { return "Probe"; }

  private:
    int* alive_;
};

TEST(ScriptValue, SubtypesAndNames) {
    const struct {
        Value value;
        Type type;
        const char* name;
    } cases[] = {
        {Value(), Type::Empty, "Empty"},
        {Value::Null(), Type::Null, "Null"},
        {Value::Boolean(true), Type::Boolean, "Boolean"},
        {Value::Byte(1), Type::Byte, "Byte"},
        {Value::Integer(1), Type::Integer, "Integer"},
        {Value::Long(1), Type::Long, "Long"},
        {Value::Single(1), Type::Single, "Single"},
        {Value::Double(1), Type::Double, "Double"},
        {Value::Currency(1), Type::Currency, "Currency"},
        {Value::Date(1), Type::Date, "Date"},
        {Value::String("s"), Type::String, "String"},
        {Value::Object(nullptr), Type::Object, "Nothing"},
        {Value::Array(Ref<Array>(new Array)), Type::Array, "Variant()"},
        {Value::ErrorCode(5), Type::Error, "Error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.type(), c.type) << c.name;
        EXPECT_EQ(TypeName(c.value), c.name);
    }
    EXPECT_EQ(static_cast<int>(Type::Array), 8204);
    EXPECT_TRUE(Value::Currency(1).IsNumber());
    EXPECT_FALSE(Value::Date(1).IsNumber());
    EXPECT_FALSE(Value::Boolean(true).IsNumber());
    EXPECT_TRUE(Value::Object(nullptr).IsNothing());
}

TEST(ScriptValue, CopiesShareObjectsAndReleaseThem) {
    int alive = 0;
    {
        Value a = Value::Object(Ref<Object>(new Probe(&alive)));
        EXPECT_EQ(alive, 1);
        Value b = a;
        EXPECT_EQ(b.AsObject(), a.AsObject());
        EXPECT_EQ(a.AsObject()->RefCount(), 2);
        Value c = std::move(b);
        EXPECT_TRUE(b.IsEmpty());
        EXPECT_EQ(a.AsObject()->RefCount(), 2);
        c = Value::String("replaced");
        EXPECT_EQ(a.AsObject()->RefCount(), 1);
        a = a;
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(ScriptValue, AssignFromOwnContents) {
    // An array holding the only reference to another value: assigning that
    // element over the array must not free it mid-copy.
    Ref<Array> arr(new Array);
    arr->upper.push_back(0);
    arr->items.push_back(Value::String("inner"));
    Value v = Value::Array(arr);
    arr = Ref<Array>();
    v = v.AsArray()->items[0];
    EXPECT_EQ(v.AsString(), "inner");
}

TEST(ScriptValue, CopiedArraysStartUnreferenced) {
    Ref<Array> original(new Array);
    Ref<Array> alias = original;
    Ref<Array> copy(new Array(*original));
    EXPECT_EQ(original->RefCount(), 2);
    EXPECT_EQ(copy->RefCount(), 1);
}

TEST(ScriptValue, ArrayOffsets) {
    Array a;
    a.upper = {2, 3};
    const int32_t ok[] = {1, 2};
    EXPECT_EQ(a.Offset(ok, 2), 1 * 4 + 2);
    const int32_t low[] = {-1, 0};
    EXPECT_EQ(a.Offset(low, 2), -1);
    const int32_t high[] = {0, 4};
    EXPECT_EQ(a.Offset(high, 2), -1);
    EXPECT_EQ(a.Offset(ok, 1), -1);
}

TEST(ScriptValue, TextForDisplay) {
    const struct {
        Value value;
        const char* text;
    } cases[] = {
        {Value(), ""},
        {Value::Null(), "Null"},
        {Value::Boolean(false), "False"},
        {Value::Integer(-5), "-5"},
        {Value::Double(0.1 + 0.2), "0.3"},
        {Value::Currency(12345), "1.2345"},
        {Value::Date(0), "12:00:00 AM"},
        {Value::Date(2.5), "1/1/1900 12:00:00 PM"},
    };
    for (const auto& c : cases) {
        std::string text;
        Error err;
        EXPECT_TRUE(ToText(c.value, &text, &err));
        EXPECT_EQ(text, c.text);
    }
    std::string text;
    Error err;
    EXPECT_FALSE(ToText(Value::Object(nullptr), &text, &err));
    EXPECT_EQ(err.number, 13);
    EXPECT_EQ(err.description, "Type mismatch");
}

}  // namespace
}  // namespace script
