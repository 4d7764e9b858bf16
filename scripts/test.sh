#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds both targets and
# runs every test: the native unit tests, again built with the address and
# undefined-behaviour sanitizers, the fuzzers for a short fixed number of
# runs each, the same unit tests built for Windows under Wine, and the
# end-to-end tests that drive the real Vantrel.exe.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/build.sh
# The installer's end-to-end test installs the packed installer.
cmake --build build/windows --target installer

echo "== native unit tests"
ctest --test-dir build/linux --output-on-failure

echo "== native unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/sanitized-tests.sh

echo "== the fuzzers, a fixed number of runs each"
bash scripts/fuzz-smoke.sh

echo "== Windows unit tests and end-to-end tests (Wine)"
ctest --test-dir build/windows --output-on-failure
