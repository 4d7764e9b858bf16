#!/usr/bin/env bash
# Prints the code's size measures: lines of code and of tests, functions
# over 50 lines and files over 600 lines. Run from anywhere in the clone.
set -euo pipefail
cd "$(dirname "$0")/.."

lines() { cat "$@" 2>/dev/null | wc -l; }

code=$(find src -name '*.cpp' -o -name '*.h' | grep -v -e '_test\.cpp$' -e '_testing\.h$' | sort)
unit=$(find src -name '*_test.cpp' -o -name '*_testing.h' | sort)
fixtures=$(find tests -name '*.h' -o -name '*.cpp' -o -name '*.py' | sort)
e2e=$(find e2e -name '*.py' -o -name '*.cpp' | sort)
golden=$(find src tests -path '*testdata*' -type f | sort)

code_lines=$(lines $code)
test_lines=$(($(lines $unit) + $(lines $fixtures) + $(lines $e2e) + $(lines $golden)))
echo "code lines:      $code_lines"
echo "test lines:      $test_lines (unit $(lines $unit), fixtures $(lines $fixtures)," \
     "end-to-end $(lines $e2e), golden $(lines $golden))"
awk -v t="$test_lines" -v c="$code_lines" 'BEGIN { printf "tests / code:    %.2f\n", t / c }'
# The golden scripts are data: a new case is a new file, not test code.
awk -v t="$((test_lines - $(lines $golden)))" -v c="$code_lines" \
    'BEGIN { printf "without golden:  %.2f\n", t / c }'

echo "functions over 50 lines (tests not counted):"
ctags --fields=+ne --kinds-C++=f -x --_xformat='%N|%F|%n|%e' $code 2>/dev/null |
    awk -F'|' '$4 - $3 + 1 > 50 { printf "  %4d  %s  %s\n", $4 - $3 + 1, $2, $1 }' | sort -rn
echo "files over 600 lines:"
wc -l $code $unit | awk '$2 != "total" && $1 > 600 { printf "  %4d  %s\n", $1, $2 }' | sort -rn
