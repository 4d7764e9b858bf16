#include <cstdio>

#include "benches.h"

int main() {
    std::printf("== script engine\n");
    BenchEngine();
    std::printf("== command lines\n");
    BenchRunCommand();
    std::printf("== batch files\n");
    BenchBatchFile();
    std::printf("== remote link\n");
    BenchRemoteLink();
    return 0;
}
