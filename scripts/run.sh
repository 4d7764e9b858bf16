#!/usr/bin/env bash
# Installs what is missing, builds, and starts the console under Wine on the
# current X display. Arguments are passed to the console as its start-up
# command line. With no X display (a server, a container) the console runs
# on a virtual display of its own, which ends with it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh windows

export WINEPREFIX=${WINEPREFIX:-$PWD/build/windows/wine/run}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
mkdir -p build/windows/wine
log=$PWD/build/windows/wine/run.log

source scripts/virtual-display.sh
xvfb=
stop() {
    if [[ -n "$xvfb" ]]; then
        # The console's Wine goes with the display it was drawn on.
        "$wineserver" -k 2>/dev/null || true
        kill "$xvfb" 2>/dev/null || true
    fi
}
trap stop EXIT
if [[ -z "${DISPLAY:-}" ]]; then
    start_virtual_display "$log"
    cat <<MSG
No X display was set, so Vantrel runs on a virtual display of its own,
$DISPLAY (1280x720), which ends when the console does (EXIT, or Ctrl+C here).
To see it, take a picture of it from another terminal:
    DISPLAY=$DISPLAY import -window root vantrel.png
or type into it with xdotool:
    DISPLAY=$DISPLAY xdotool type 'ver' key Return
MSG
fi

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Preparing the Wine prefix $WINEPREFIX (once, about 15 seconds)"
    "$wine" wineboot -i >>"$log" 2>&1
fi
echo "Starting Vantrel on display $DISPLAY (Wine log: build/windows/wine/run.log)"
cd build/windows
"$wine" Vantrel.exe "$@" >>"$log" 2>&1
