// What the engine's compile cache keeps resident when a client sends many
// distinct long lines: each line is compiled once and cached, so the cache's
// byte bound is all that stands between such a client and the memory.
#include <cstdio>
#include <string>

#include "benches.h"
#include "script/engine.h"

namespace {

// Resident bytes of this process, from /proc/self/statm (0 where that is
// not there).
long ResidentBytes() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    long size = 0, resident = 0;
    const int read = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return read == 2 ? resident * 4096 : 0;
}

// A distinct line of about `tokens` tokens, two characters each, as a client
// might send: "x = 17 + a + a + ...".
std::string LongLine(int serial, int tokens) {
    std::string line = "x = " + std::to_string(serial);
    line.reserve(2 * tokens + 16);
    for (int i = 3; i + 2 <= tokens; i += 2) line += " + a";
    return line;
}

}  // namespace

void BenchCompileCache() {
    constexpr int kLines = 600;
    constexpr int kTokens = 16000;
    script::Engine engine;
    engine.ExecuteStatement("a = 1");
    const long before = ResidentBytes();
    long peak = before;
    for (int i = 0; i < kLines; ++i) {
        engine.ExecuteStatement(LongLine(i, kTokens));
        if (ResidentBytes() > peak) peak = ResidentBytes();
    }
    const long after = ResidentBytes();
    std::printf("%d distinct lines of %d tokens (%zu bytes each)\n", kLines, kTokens,
                LongLine(0, kTokens).size());
    std::printf("%-40s %9.1f MB\n", "resident growth, peak", (peak - before) / 1048576.0);
    std::printf("%-40s %9.1f MB\n", "resident growth, at the end", (after - before) / 1048576.0);
    std::printf("%-40s %9.1f MB\n", "held by the cache, as counted",
                engine.CachedBytes() / 1048576.0);
}
