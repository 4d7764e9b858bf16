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
    EXPECT_EQ(rt.globals[a].name, "Alpha");
    EXPECT_EQ(rt.FindGlobal("missing"), -1);
}

TEST(ScriptRuntime, StackLimitIsAdjustable) {
    Engine engine;
    EXPECT_EQ(
        Exec(engine, "Function D(n)\nIf n = 0 Then D = 0 Else D = D(n - 1) + 1\nEnd Function"),
        "ok");
    // A script host's depth: well over a thousand levels.
    EXPECT_EQ(Show(engine, "D(2000)"), "Integer:2000");
    engine.SetStackLimit(16 * 1024);
    EXPECT_EQ(Show(engine, "D(50)"), "#28:Out of stack space");
    engine.SetStackLimit(640 * 1024);
    EXPECT_EQ(Show(engine, "D(50)"), "Integer:50");
}

TEST(ScriptRuntime, ObjectsOutliveTheirEngine) {
    Value kept;
    {
        Engine engine;
        ASSERT_EQ(Exec(engine,
                       "Class K\nPublic V\nPrivate Sub Class_Terminate\nV = 0\nEnd Sub\n"
                       "End Class\nSet kk = New K"),
                  "ok");
        ASSERT_TRUE(engine.Eval("kk", &kept));
    }
    EXPECT_EQ(TypeName(kept), "K");
    kept = Value();
}

TEST(ScriptRuntime, LongChainsAreFreedWithoutDeepRecursion) {
    Engine engine;
    EXPECT_EQ(Exec(engine,
                   "Class Node\nPublic Nxt\nEnd Class\n"
                   "Set head = Nothing\n"
                   "For i = 1 To 300000\nSet n = New Node\nSet n.Nxt = head\nSet head = n\nNext\n"
                   "Set n = Nothing\nSet head = Nothing"),
              "ok");
    EXPECT_EQ(Exec(engine, "a = Empty\nFor i = 1 To 300000\na = Array(a)\nNext\na = 0"), "ok");
    EXPECT_EQ(Show(engine, "a"), "Integer:0");
}

}  // namespace
}  // namespace script
