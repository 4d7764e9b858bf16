#!/usr/bin/env bash
# Installs what is missing, builds, and starts the console under Wine on the
# current X display. Arguments are passed to the console as its start-up
# command line.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ -z "${DISPLAY:-}" ]]; then
    cat >&2 <<'MSG'
No X display: $DISPLAY is not set. Either run under a virtual display,
    xvfb-run -s '-screen 0 1280x720x24' bash scripts/run.sh
or start one and point DISPLAY at it,
    Xvfb :5 -screen 0 1280x720x24 &
    DISPLAY=:5 bash scripts/run.sh
MSG
    exit 1
fi

bash scripts/install-deps.sh
bash scripts/build.sh windows

export WINEPREFIX=${WINEPREFIX:-$PWD/build/windows/wine/run}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Preparing the Wine prefix $WINEPREFIX (once, about 15 seconds)"
    "$wine" wineboot -i >/dev/null 2>&1
fi
echo "Starting Vantrel on display $DISPLAY (Wine log: build/windows/wine/run.log)"
mkdir -p build/windows/wine
cd build/windows
exec "$wine" Vantrel.exe "$@" >>wine/run.log 2>&1
