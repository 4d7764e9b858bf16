#!/usr/bin/env bash
# Times each bench/vbs workload with our engine (vantrel_vbs) and with Wine's
# cscript, as the scripts measure themselves with Timer (start-up excluded),
# and prints both and the speed-up. Figures only; nothing is asserted.
# Usage: bench/compare_cscript.sh [path/to/vantrel_vbs]   (default build/linux)
set -euo pipefail
cd "$(dirname "$0")/.."
runner=${1:-build/linux/vantrel_vbs}
work=${VANTREL_BENCH_WORK:-build/bench-wine}
export WINEPREFIX=$PWD/$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
mkdir -p "$work"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    "$wine" wineboot -i >>"$work/wine.log" 2>&1
    "$wineserver" -w
fi
"$wineserver" -p 60
trap '"$wineserver" -k' EXIT

# Each workload prints "NAME SECONDS RESULT"; the second field is the time.
seconds() { awk 'NF >= 2 { print $2; exit }' | tr -d '\r'; }

printf '%-10s %10s %10s %9s\n' workload ours wine speed-up
for script in bench/vbs/*.vbs; do
    name=$(basename "$script" .vbs)
    ours=$("$runner" "$script" | seconds)
    if [[ "$name" == eval ]]; then
        # Wine's engine has no Eval.
        printf '%-10s %10s %10s %9s\n' "$name" "$ours" - -
        continue
    fi
    theirs=$( (cd bench/vbs && "$wine" cscript.exe //nologo "$name.vbs" 2>>"../../$work/wine.log") | seconds)
    printf '%-10s %10s %10s %9s\n' "$name" "$ours" "$theirs" \
        "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (a > 0) printf "%.1fx", b / a; else print "-" }')"
done
