#include "script/runtime.h"

#include <gtest/gtest.h>

#include "script/parser.h"
#include "script/test_util.h"

namespace script {
namespace {

TEST(ScriptRuntime, GlobalSlotsAreStable) {
    Runtime rt(nullptr);
    const int a = rt.GlobalSlotFor("alpha", "Alpha");
    const Value* where = &rt.globals[a].value;
    for (int i = 0; i < 10000; ++i) rt.GlobalSlotFor(std::to_string(i), "v");
    EXPECT_EQ(rt.GlobalSlotFor("alpha", "ALPHA"), a);
    EXPECT_EQ(&rt.globals[a].value, where);
}

// The stack limit can be moved either way, and an object outlives the engine
// that made it.
TEST(ScriptRuntime, StackLimitIsAdjustableAndObjectsOutliveTheirEngine) {
    Value kept;
    {
        Engine engine;
        ASSERT_EQ(Exec(engine,
                       "Function D(n)\nIf n = 0 Then D = 0 Else D = D(n - 1) + 1\nEnd Function\n"
                       "Class K\nPublic V\nPrivate Sub Class_Terminate\nV = 0\nEnd Sub\n"
                       "End Class\nSet kk = New K"),
                  "ok");
        // A script host's depth: well over a thousand levels. The address
        // sanitizer's red zones make every native frame several times larger.
#if defined(__SANITIZE_ADDRESS__)
        const std::string depth = "500";
#else
        const std::string depth = "2000";
#endif
        EXPECT_EQ(Show(engine, "D(" + depth + ")"), "Integer:" + depth);
        engine.SetStackLimit(16 * 1024);
        EXPECT_EQ(Show(engine, "D(50)"), "#28:Out of stack space");
        engine.SetStackLimit(640 * 1024);
        EXPECT_EQ(Show(engine, "D(50)"), "Integer:50");
        ASSERT_TRUE(engine.Eval("kk", &kept));
    }
    EXPECT_EQ(TypeName(kept), "K");
    kept = Value();
}

#if defined(_WIN64) && defined(__GNUC__) && defined(__x86_64__)
// Windows' calling convention keeps XMM6 across calls, so an error that
// unwinds out of a procedure must hand its catcher the XMM6 it had: the
// procedure's unwind data says where its frame saved the register. A wrong
// one goes unseen until the catcher's callers use the garbage.
TEST(ScriptRuntime, ErrorsLeaveTheCatchersXmm6AsItWas) {
    Engine engine;
    ASSERT_EQ(Exec(engine, "Function Half(n) : Half = n / 2 : End Function"), "ok");
    Value proc;
    ASSERT_TRUE(engine.Eval("GetRef(\"Half\")", &proc));
    Runtime rt(nullptr);
    const struct {
        const char* what;
        size_t count;  // arguments passed
        int number;
    } cases[] = {
        {"raised by the call itself", 0, kErrWrongArgs},
        {"raised by the procedure's body", 1, kErrTypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Value text = Value::String("x");
        Value* args[] = {&text};
        using Pair = long long __attribute__((vector_size(16)));
        register Pair kept asm("xmm6") = Pair{0x5a5a5a5a5a5a5a5a, 0x0123456789abcdef};
        asm volatile("" : "+x"(kept));
        int number = 0;
        try {
            static_cast<ScriptObject*>(proc.AsObject())->Get(rt, {}, Args{args, c.count});
        } catch (const ScriptError& e) {
            number = e.number;
        }
        asm volatile("" : "+x"(kept));
        EXPECT_EQ(number, c.number);
        EXPECT_EQ(kept[0], 0x5a5a5a5a5a5a5a5a);
        EXPECT_EQ(kept[1], 0x0123456789abcdef);
    }
}
#endif

}  // namespace
}  // namespace script
