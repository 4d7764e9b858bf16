// Interrupt() must stop a script that only recurses, with no loop turn for
// the check: every call checks too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "script/test_util.h"

namespace script {
namespace {

TEST(ScriptInterrupt, StopsRecursionWithoutLoops) {
    Engine engine;
    ASSERT_EQ(Exec(engine,
                   "Function F(n)\nIf n < 2 Then F = n Else F = F(n - 1) + F(n - 2)\n"
                   "End Function"),
              "ok");
    std::atomic<bool> done{false};
    std::thread stopper([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            engine.Interrupt();
        }
    });
    const std::string outcome = Exec(engine, "x = F(60)");
    done = true;
    stopper.join();
    EXPECT_EQ(outcome, "#18:User interrupt occurred");
}

}  // namespace
}  // namespace script
