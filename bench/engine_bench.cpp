// Throughput of the script engine on the texts the console evaluates most:
// setting reads, short expressions and assignments.
#include <chrono>
#include <cstdio>
#include <string_view>

#include "benches.h"
#include "script/engine.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs fn repeatedly for about a fifth of a second; returns calls per second.
template <typename Fn>
double PerSecond(Fn fn) {
    constexpr auto kBudget = std::chrono::milliseconds(200);
    long calls = 0;
    const auto start = Clock::now();
    auto now = start;
    do {
        for (int i = 0; i < 1000; ++i) fn();
        calls += 1000;
        now = Clock::now();
    } while (now - start < kBudget);
    return calls / std::chrono::duration<double>(now - start).count();
}

void Report(const char* what, double rate) {
    std::printf("%-40s %12.0f /s\n", what, rate);
}

}  // namespace

void BenchEngine() {
    script::Engine engine;
    engine.ExecuteStatement("VarString=\"some text value\"");
    engine.ExecuteStatement("x = 5");
    script::Value v;
    const struct {
        const char* label;
        std::string_view text;
    } expressions[] = {
        {"eval unset setting (OutputKeep)", "OutputKeep"},
        {"eval string variable (VarString)", "VarString"},
        {"eval arithmetic (1 + 2 * 3)", "1 + 2 * 3"},
        {"eval concat (VarString & x)", "VarString & x"},
        {"eval call (Len(VarString) > 3 And x = 5)", "Len(VarString) > 3 And x = 5"},
    };
    for (const auto& e : expressions) {
        Report(e.label, PerSecond([&] { engine.Eval(e.text, &v); }));
    }
    Report("execute assignment (x = x + 1)",
           PerSecond([&] { engine.ExecuteStatement("x = x + 1"); }));
    Report("execute set var (Name=\"value\")",
           PerSecond([&] { engine.ExecuteStatement("OutputKeep=\"value\""); }));
    engine.ExecuteStatement(
        "Function Fib(n)\nIf n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)\nEnd Function");
    Report("script calls (Fib(15), 1973 calls each)",
           PerSecond([&] { engine.Eval("Fib(15)", &v); }) * 1973);
}
