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

// Scalars are written as one word; each reads back whole at its extremes,
// and survives an in-place overwrite into a wider type.
TEST(ScriptValue, ScalarsReadBackWhatWasWritten) {
    Value v = Value::Integer(INT16_MIN);
    v.OverwriteUncounted(Value::Long(INT32_MIN));
    EXPECT_EQ(v.type(), Type::Long);
    EXPECT_EQ(v.AsLong(), INT32_MIN);
    EXPECT_EQ(Value::Currency(INT64_MIN).AsCurrency(), INT64_MIN);
    EXPECT_EQ(Value::ErrorCode(-2147352572).AsErrorCode(), -2147352572);
    EXPECT_FALSE(Value::Long(5).HoldsCount());
    EXPECT_TRUE(Value::String("x").HoldsCount());
}

// Copies share an object and count it; moves take the reference; the
// object goes with the last value that held it.
TEST(ScriptValue, CopiesAndMovesKeepTheCount) {
    int alive = 0;
    {
        Value a = Value::Object(Ref<Object>(new Probe(&alive)));
        EXPECT_EQ(alive, 1);
        Value b = a;
        EXPECT_EQ(b.AsObject(), a.AsObject());
        EXPECT_EQ(a.AsObject()->RefCount(), 2);
        Value c = std::move(b);
        EXPECT_TRUE(b.IsEmpty());
        EXPECT_EQ(b.AsObject(), nullptr);
        EXPECT_EQ(a.AsObject()->RefCount(), 2);
        c = Value::String("replaced");
        EXPECT_EQ(a.AsObject()->RefCount(), 1);
        a = a;
        EXPECT_EQ(alive, 1);
        Value s = Value::String("moved text");
        const char* text = s.AsString().data();
        a = std::move(s);
        EXPECT_EQ(alive, 0) << "the object went with the value it was moved over";
        EXPECT_EQ(a.AsString().data(), text);
        Value& same = a;
        a = std::move(same);
        EXPECT_EQ(a.AsString(), "moved text");
    }
    // Nothing is an object without a reference; other types have none.
    Value nothing = Value::Object(nullptr);
    Value copy = nothing;
    EXPECT_TRUE(copy.IsNothing());
    EXPECT_EQ(copy.AsObject(), nullptr);
    EXPECT_EQ(Value::Long(5).AsArray(), nullptr);
    EXPECT_EQ(Value::String("x").AsObject(), nullptr);
}

TEST(ScriptValue, AssignFromInsideTheArrayItReplaces) {
    // The value holds the only reference to an array whose first item is
    // assigned over it: the item must be copied before the array goes.
    int alive = 0;
    // clang-format off
    const struct { const char* name; Value inner; } cases[] = {
        {"string", Value::String("a text longer than any inline buffer")},
        {"short string", Value::String("s")}, {"long", Value::Long(42)},
        {"object", Value::Object(Ref<Object>(new Probe(&alive)))},
        {"array", Value::Array(Ref<Array>(new Array))}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Array> arr(new Array);
        arr->items.push_back(c.inner);
        arr->SetBounds({0});
        Value v = Value::Array(arr);
        arr = Ref<Array>();
        v = v.AsArray()->items[0];
        ASSERT_EQ(v.type(), c.inner.type());
        if (v.IsString()) {
            EXPECT_EQ(v.AsString(), c.inner.AsString());
        } else if (v.IsObject()) {
            EXPECT_EQ(v.AsObject(), c.inner.AsObject());
            EXPECT_EQ(v.AsObject()->RefCount(), 2);
        } else if (v.IsArray()) {
            EXPECT_EQ(v.AsArray(), c.inner.AsArray());
            EXPECT_EQ(v.AsArray()->RefCount(), 2);
            EXPECT_EQ(v.AsObject(), nullptr) << "an array is no object";
        } else {
            EXPECT_EQ(v.AsLong(), 42);
        }
    }
    EXPECT_EQ(alive, 1);
}

TEST(ScriptValue, CopiedStringsShareUntilWritten) {
    // A second value holds the text when it is written, if copied.
    // clang-format off
    const struct { const char* text; bool copied; const char* appended; } cases[] = {
        {"a text longer than any inline buffer", true, "!"}, {"short", true, " and more"},
        {"", true, "x"}, {"only", false, " me"}, {"", false, "first"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.copied ? " (copied)" : ""));
        Value a = Value::String(c.text);
        const char* before = a.AsString().data();
        Value b;
        if (c.copied) {
            b = a;
            EXPECT_EQ(b.AsString().data(), before) << "a copy shares the text";
        }
        a.MutableString() += c.appended;
        EXPECT_EQ(a.AsString(), std::string(c.text) + c.appended);
        if (c.copied) {
            EXPECT_EQ(b.AsString(), c.text) << "the copy keeps what it had";
            EXPECT_NE(a.AsString().data(), b.AsString().data());
        } else if (*c.text) {
            EXPECT_EQ(a.AsString().data(), before) << "a sole owner writes in place";
        }
        Value again = a;
        again.MutableString() += "?";
        EXPECT_EQ(a.AsString(), std::string(c.text) + c.appended);
    }
    // Every empty string shares one text, which no write reaches.
    Value e1 = Value::String("");
    Value e2 = Value::String(std::string());
    EXPECT_EQ(e1.AsString().data(), e2.AsString().data());
    e1.MutableString() = "written";
    EXPECT_EQ(e2.AsString(), "");
    EXPECT_EQ(Value::String("").AsString(), "");
}

TEST(ScriptValue, AsciiFlagFollowsWrites) {
    // clang-format off
    const struct { const char *text, *appended; bool before, after; } cases[] = {
        {"plain", " text", true, true}, {"plain", "caf\xC3\xA9", true, false},
        {"", "\xFF", true, false}, {"\xC3\xA9t\xC3\xA9", "", false, false}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + "+" + c.appended);
        Value a = Value::String(c.text);
        EXPECT_EQ(a.IsAsciiText(), c.before);
        Value copy = a;
        a.MutableString() += c.appended;
        EXPECT_EQ(a.IsAsciiText(), c.after);
        EXPECT_EQ(copy.IsAsciiText(), c.before) << "the copy's text did not change";
        copy.MutableString() = "\xC3\xA9";
        EXPECT_FALSE(copy.IsAsciiText());
        EXPECT_EQ(a.IsAsciiText(), c.after);
    }
}

// Offsets are row-major and -1 outside the bounds; a copied array starts
// with no references of its own.
TEST(ScriptValue, Arrays) {
    Array a;
    a.SetBounds({2, 3});
    const int32_t ok[] = {1, 2};
    EXPECT_EQ(a.Offset(ok, 2), 1 * 4 + 2);
    const int32_t high[] = {0, 4};
    EXPECT_EQ(a.Offset(high, 2), -1);
    EXPECT_EQ(a.Offset(ok, 1), -1);
    Ref<Array> original(new Array);
    Ref<Array> alias = original;
    Ref<Array> copy(new Array(*original));
    EXPECT_EQ(original->RefCount(), 2);
    EXPECT_EQ(copy->RefCount(), 1);
}

// The rest, as a script sees it, is in testdata/value_text.vbs.
TEST(ScriptValue, TextForDisplay) {
    // clang-format off
    const struct { Value value; const char* text; } cases[] = {  // text or #number:description
        {Value::Null(), "Null"}, {Value::Double(-0.0), "0"},
        {Value::Currency(INT64_MIN), "-922337203685477.5808"},
        {Value::Object(nullptr), "#13:Type mismatch"},
        {Value::Array(Ref<Array>(new Array)), "#13:Type mismatch"}};
    // clang-format on
    for (const auto& c : cases) {
        std::string text;
        Error err;
        if (!ToText(c.value, &text, &err)) {
            text = "#" + std::to_string(err.number) + ":" + err.description;
        }
        EXPECT_EQ(text, c.text) << TypeName(c.value);
    }
}

}  // namespace
}  // namespace script
