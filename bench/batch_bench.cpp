// Lines per second of a batch file run through RunBatch on in-memory
// platform services: 10,000 lines of SET and LET.
#include <chrono>
#include <cstdio>
#include <string>

#include "benches.h"
#include "interpreter/launch.h"
#include "socket_console.h"

void BenchBatchFile() {
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
    vantrel::testing::SocketConsole whole;
    whole.fake.files.AddFile("C:\\bench.dcb", text);

    auto start = std::chrono::steady_clock::now();
    std::string err;
    bool ran = vantrel::RunBatch(whole.console.In(), "C:\\bench.dcb", "", &err);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %9.0f lines/s  (%d lines, %.3f s%s)\n", "10,000-line .dcb of set/let",
                lines / seconds, lines, seconds, ran ? "" : ", not run");
}
