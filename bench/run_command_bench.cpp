// Lines per second through RunCommand on in-memory platform services.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "benches.h"
#include "socket_console.h"

namespace {

void Measure(const char* label, const std::vector<std::string>& lines) {
    vantrel::testing::SocketConsole whole;
    vantrel::Interpreter& in = whole.console.In();
    auto start = std::chrono::steady_clock::now();
    for (const std::string& line : lines) {
        in.RunCommand(line);
        in.PendingOutput().clear();
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %9.0f lines/s  (%zu lines, %.3f s)\n", label, lines.size() / seconds,
                lines.size(), seconds);
}

std::vector<std::string> Numbered(const char* pattern, int count) {
    std::vector<std::string> lines;
    char line[128];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, pattern, i % 500, i);
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

void BenchRunCommand() {
    const int n = 20000;
    Measure("set v<k>=<n>", Numbered("set v%d=%d", n));
    Measure("let v<k>=<n>*2+1", Numbered("let v%d=%d*2+1", n));
    Measure("print <n>/7", Numbered("print %d/7+%d", n));
    Measure("echo `v<k>` (marker)", Numbered("echo `v%d` %d", n));
    Measure("set a=1|set b=2|print a+b", std::vector<std::string>(n, "set a=1|set b=2|print a+b"));
}
