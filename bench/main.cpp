#include <cstdio>
#include <cstring>

#include "benches.h"

// vantrel_bench runs every bench; vantrel_bench NAME only the one named.
int main(int argc, char** argv) {
    const struct {
        const char* name;
        const char* title;
        void (*run)();
    } benches[] = {
        {"engine", "script engine", BenchEngine}, {"commands", "command lines", BenchRunCommand},
        {"batch", "batch files", BenchBatchFile}, {"remote", "remote link", BenchRemoteLink},
        {"typing", "typing", BenchTyping},        {"cache", "compile cache", BenchCompileCache},
    };
    bool ran = false;
    for (const auto& bench : benches) {
        if (argc > 1 && std::strcmp(argv[1], bench.name) != 0) continue;
        std::printf("== %s\n", bench.title);
        bench.run();
        ran = true;
    }
    if (!ran) {
        std::fprintf(stderr, "usage: vantrel_bench [engine|commands|batch|remote|typing|cache]\n");
        return 2;
    }
    return 0;
}
