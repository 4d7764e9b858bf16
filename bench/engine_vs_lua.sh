#!/usr/bin/env bash
# Times each workload of bench/vbs with our engine (vantrel_vbs) and the same
# work written for Lua 5.4 in bench/lua, alternating the two, best of three,
# and prints both times and their ratio (ours / Lua: below 1 means ours is
# faster). A second runner (an older build) adds a column, for before and
# after. Figures only; nothing is asserted.
#
# Each run is timed from outside with a microsecond clock, less the time the
# same program takes to start and end on an empty script: the scripts' own
# Timer is a Single, too coarse for work that takes a hundredth of a second.
# Last, the memory a 1,000,000-element array of Longs takes: the peak
# resident size of a script that fills one, less that of an empty script.
# Usage: bench/engine_vs_lua.sh [path/to/vantrel_vbs [path/to/older/vantrel_vbs]]
set -euo pipefail
cd "$(dirname "$0")/.."
runner=${1:-build/linux/vantrel_vbs}
before=${2:-}
lua=$(command -v lua5.4 || true)
if [[ -z "$lua" ]]; then
    echo "lua5.4 is missing: bash scripts/install-deps.sh installs it" >&2
    exit 1
fi
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT
: >"$empty/empty.vbs"
: >"$empty/empty.lua"

# Seconds one run of "$@" takes, wall clock.
elapsed() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null
    local end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }'
}
smaller() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a + 0 < b + 0) ? a : b }'; }
less() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; printf "%.3f", (d > 0 ? d : 0) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

# Start-up of each program, best of five.
start_ours="" start_lua="" start_before=""
for _ in 1 2 3 4 5; do
    start_ours=$(smaller "$(elapsed "$runner" "$empty/empty.vbs")" "$start_ours")
    start_lua=$(smaller "$(elapsed "$lua" "$empty/empty.lua")" "$start_lua")
    [[ -n "$before" ]] && start_before=$(smaller "$(elapsed "$before" "$empty/empty.vbs")" "$start_before")
done

if [[ -n "$before" ]]; then
    printf '%-11s %10s %10s %10s %12s %14s\n' workload before ours lua5.4 "ours / lua" "before / lua"
else
    printf '%-11s %10s %10s %12s\n' workload ours lua5.4 "ours / lua"
fi
for script in bench/lua/*.lua; do
    name=$(basename "$script" .lua)
    ours="" theirs="" old=""
    for _ in 1 2 3; do
        ours=$(smaller "$(elapsed "$runner" "bench/vbs/$name.vbs")" "$ours")
        theirs=$(smaller "$(elapsed "$lua" "$script")" "$theirs")
        [[ -n "$before" ]] && old=$(smaller "$(elapsed "$before" "bench/vbs/$name.vbs")" "$old")
    done
    ours=$(less "$ours" "$start_ours")
    theirs=$(less "$theirs" "$start_lua")
    if [[ -n "$before" ]]; then
        old=$(less "$old" "$start_before")
        printf '%-11s %10s %10s %10s %12s %14s\n' "$name" "$old" "$ours" "$theirs" \
            "$(ratio "$ours" "$theirs")" "$(ratio "$old" "$theirs")"
    else
        printf '%-11s %10s %10s %12s\n' "$name" "$ours" "$theirs" "$(ratio "$ours" "$theirs")"
    fi
done

# Peak resident kilobytes of one run.
peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
printf 'ReDim a(999999)\r\nFor i = 0 To 999999 : a(i) = i : Next\r\n' >"$empty/million.vbs"
memory() {
    local full base
    full=$(peak_kb "$1" "$empty/million.vbs")
    base=$(peak_kb "$1" "$empty/empty.vbs")
    awk -v a="$full" -v b="$base" 'BEGIN { printf "%.1f MB", (a - b) / 1024 }'
}
if [[ -x /usr/bin/time ]]; then
    line="1,000,000 Longs in an array: $(memory "$runner")"
    [[ -n "$before" ]] && line="$line (before: $(memory "$before"))"
    echo "$line"
fi
