#!/usr/bin/env bash
# Builds the native unit tests (the golden scripts among them) with
# AddressSanitizer and UndefinedBehaviorSanitizer in build/sanitize and runs
# them: the engine reads values in place and shares strings until one is
# written, which is where a stale pointer or a wrong downcast would hide.
# -O1 with line tables keeps the build quick and the reports readable.
set -euo pipefail
cd "$(dirname "$0")/.."

flags="-O1 -g1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=None -DVANTREL_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null
cmake --build build/sanitize -j "$(nproc)" --target vantrel_tests
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    build/sanitize/vantrel_tests --gtest_brief=1
