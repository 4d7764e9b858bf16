#!/usr/bin/env bash
# Builds both targets: build/linux (core, unit tests, bench) and
# build/windows (Vantrel.exe and the Windows-side unit tests).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
if [[ "${1:-}" != "windows" ]]; then
    cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/linux -j "$jobs"
fi
if [[ "${1:-}" != "linux" ]]; then
    cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVANTREL_BENCH=OFF >/dev/null
    cmake --build build/windows -j "$jobs"
fi
