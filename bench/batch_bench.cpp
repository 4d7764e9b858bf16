// Lines per second of a batch file run through RunBatch on in-memory
// platform services: 10,000 lines of SET and LET.
#include <chrono>
#include <cstdio>
#include <string>

#include "benches.h"
#include "fake_platform.h"
#include "interpreter/interpreter.h"
#include "interpreter/launch.h"
#include "startup/defaults.h"

void BenchBatchFile() {
    using vantrel::testing::FakePlatform;
    const int lines = 10000;
    std::string text;
    char line[96];
    for (int i = 0; i < lines; ++i) {
        if (i % 2 == 0) {
            std::snprintf(line, sizeof line, "set v%d=%d\r\n", i % 500, i);
        } else {
            std::snprintf(line, sizeof line, "let w%d=v%d*2+%d\r\n", i % 500, (i - 1) % 500, i);
        }
        text += line;
    }
    FakePlatform os;
    os.files.AddFile("C:\\bench.dcb", text);
    vantrel::Interpreter in(os.platform);
    vantrel::AssignDefaults(in, 1280);

    auto start = std::chrono::steady_clock::now();
    int result = vantrel::RunBatch(in, "C:\\bench.dcb", "");
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %9.0f lines/s  (%d lines, %.3f s, result %d)\n",
                "10,000-line .dcb of set/let", lines / seconds, lines, seconds, result);
}
