#include <cstdio>

#include "benches.h"

int main() {
    std::printf("== script engine\n");
    BenchEngine();
    std::printf("== command lines\n");
    BenchRunCommand();
    return 0;
}
