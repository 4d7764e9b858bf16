#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, for ctest: a quiet Wine
# in a prefix of its own under the build folder, booted on first use. With
# no X display a private Xvfb is started for the run, so that tests can
# create windows.
# Usage: wine-run.sh program.exe [arguments...]
set -euo pipefail

program=$1
shift
build=$(cd "$(dirname "$program")" && pwd)
export WINEPREFIX=${VANTREL_WINEPREFIX:-$build/wine/unit}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
scratch=$build/wine
log=$scratch/wine-run.log
mkdir -p "$scratch"

source "$(dirname "$0")/virtual-display.sh"
xvfb=
stop() {
    "$wineserver" -k 2>/dev/null || true
    [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null || true
}
trap stop EXIT
if [[ -z "${DISPLAY:-}" ]]; then
    start_virtual_display "$log"
fi

# Boot once; the lock keeps parallel tests from booting the same prefix.
exec 9>"$scratch/unit.lock"
flock 9
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Booting the Wine prefix $WINEPREFIX" >&2
    "$wine" wineboot -i >>"$log" 2>&1
    "$wineserver" -w
fi
flock -u 9

"$wine" "$program" "$@" 2>>"$log"
