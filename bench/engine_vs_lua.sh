#!/usr/bin/env bash
# Times each workload of bench/vbs with our engine (vantrel_vbs) and the same
# work written for Lua 5.4 in bench/lua, alternating the two, best of three,
# as each script measures itself (start-up excluded), and prints both times
# and their ratio (ours / Lua: below 1 means ours is faster). Figures only;
# nothing is asserted.
# Usage: bench/engine_vs_lua.sh [path/to/vantrel_vbs]   (default build/linux)
set -euo pipefail
cd "$(dirname "$0")/.."
runner=${1:-build/linux/vantrel_vbs}
lua=$(command -v lua5.4 || true)
if [[ -z "$lua" ]]; then
    echo "lua5.4 is missing: bash scripts/install-deps.sh installs it" >&2
    exit 1
fi

# Each workload prints "NAME SECONDS ..."; the second field is the time.
seconds() { awk 'NF >= 2 { print $2; exit }' | tr -d '\r'; }
smaller() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a + 0 < b + 0) ? a : b }'; }

printf '%-11s %10s %10s %12s\n' workload ours lua5.4 "ours / lua"
for script in bench/lua/*.lua; do
    name=$(basename "$script" .lua)
    ours="" theirs=""
    for _ in 1 2 3; do
        ours=$(smaller "$("$runner" "bench/vbs/$name.vbs" | seconds)" "$ours")
        theirs=$(smaller "$("$lua" "$script" | seconds)" "$theirs")
    done
    printf '%-11s %10.3f %10.3f %12s\n' "$name" "$ours" "$theirs" \
        "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')"
done
