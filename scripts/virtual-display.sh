# Sourced by the scripts that run Wine: start_virtual_display LOG starts a
# private Xvfb on a free display number, points DISPLAY at it and leaves its
# process id in $xvfb for the caller to end. Xvfb's own output goes to LOG.
start_virtual_display() {
    local log=$1 display_file
    # Xvfb picks a free display number itself and writes it to fd 5.
    display_file=$(mktemp "$(dirname "$log")/display.XXXXXX")
    Xvfb -displayfd 5 -screen 0 1280x720x24 -nolisten tcp 5>"$display_file" >>"$log" 2>&1 &
    xvfb=$!
    for _ in $(seq 200); do
        [[ -s "$display_file" ]] && break
        kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start; see $log" >&2; exit 1; }
        sleep 0.1
    done
    export DISPLAY=:$(tr -d '[:space:]' <"$display_file")
    rm -f "$display_file"
}
