#!/usr/bin/env bash
# Builds the three fuzzers (tools/README.md) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz, and runs each for a fixed number
# of inputs grown from its seed corpus, the test data of the layer it drives.
# A change that breaks their build, or that they catch in these runs, fails.
# The seed and the counts are fixed so that every run tries the same inputs;
# what the runs find is kept in build/fuzz/corpus, emptied first, never in the
# test data, and an input that fails is left in build/fuzz/artifacts.
# -O1 with line tables keeps the build quick and the reports readable.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/fuzz
log=$build/smoke.log
mkdir -p "$build"
: >"$log"

# On failure: the end of what was logged, and where the rest is.
fail() {
    tail -n 60 "$log" >&2
    echo "fuzz-smoke: $1; the whole output is in $log" >&2
    exit 1
}

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS="-O1 -g1 -fno-omit-frame-pointer" \
    -DVANTREL_FUZZ=ON -DVANTREL_TESTS=OFF -DVANTREL_BENCH=OFF >>"$log" 2>&1 ||
    fail "configuring failed"
cmake --build "$build" -j 2 --target vantrel_fuzz vantrel_fuzz_receive vantrel_fuzz_command \
    >>"$log" 2>&1 || fail "the fuzzers did not build"

rm -rf "$build/corpus" "$build/artifacts"
mkdir -p "$build/artifacts"

# fuzz NAME RUNS SEEDS [libFuzzer options]. An input's time limit is far
# above what any takes alone: it is wall-clock time, and a loaded machine
# stretches it several times over; a script that runs for ever is stopped
# by the fuzzer's own watchdog long before.
fuzz() {
    local name=$1 runs=$2 seeds=$3
    shift 3
    mkdir -p "$build/corpus/$name"
    echo "== $name: $runs runs from $seeds"
    echo "== $name" >>"$log"
    "$build/$name" -seed=1 -runs="$runs" -timeout=120 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$name-" "$@" "$build/corpus/$name" "$seeds" \
        >>"$log" 2>&1 || fail "$name failed; its input is in $build/artifacts"
}

fuzz vantrel_fuzz 3000 src/script/testdata -max_len=2048
fuzz vantrel_fuzz_receive 3000 src/remote/testdata -max_len=4096
fuzz vantrel_fuzz_command 1500 src/commands/testdata -max_len=4096 -dict=tools/commands.dict
