#!/usr/bin/env bash
# Runs the Windows tests (unit and end-to-end, build/windows) RUNS times in a
# row beside a busy machine: one process spinning on the processor and a
# second Wine workload (Wine's own script host in a prefix of its own,
# looping over string work), so that a test that passes only on an idle
# machine shows. Prints each run's outcome and time; stops at the first
# failure. Build first (scripts/build.sh windows).
#   tools/under-load.sh [RUNS] [ctest arguments...]
set -uo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
shift || true
wine=/usr/lib/wine/wine64
work=$(mktemp -d /tmp/vantrel-load.XXXXXX)
pids=()

finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver -k 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
trap "exit 130" INT TERM

# The hog: a shell loop that never sleeps.
bash -c 'while :; do :; done' &
pids+=($!)

# The second Wine workload: a script that builds and searches strings for
# ever, restarted should it end.
cat >"$work/busy.vbs" <<'EOF'
Do
    s = ""
    For i = 1 To 20000
        s = s & Chr(65 + i Mod 26)
    Next
    n = InStr(s, "ZZZ")
Loop
EOF
WINEPREFIX="$work/prefix" WINEDEBUG=-all "$wine" wineboot -i >/dev/null 2>&1
(
    while :; do
        WINEPREFIX="$work/prefix" WINEDEBUG=-all "$wine" cscript.exe //nologo \
            "Z:${work//\//\\}\\busy.vbs" >/dev/null 2>&1
    done
) &
pids+=($!)

status=0
for ((run = 1; run <= runs; run++)); do
    start=$(date +%s)
    if ctest --test-dir build/windows --output-on-failure "$@" >"$work/run.log" 2>&1; then
        echo "run $run of $runs: passed in $(($(date +%s) - start)) s, load $(cut -d' ' -f1-3 /proc/loadavg)"
    else
        echo "run $run of $runs: FAILED after $(($(date +%s) - start)) s"
        cat "$work/run.log"
        status=1
        break
    fi
    grep -E "tests passed|Total Test time" "$work/run.log"
done
exit $status
