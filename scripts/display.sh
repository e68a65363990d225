# start_display / stop_display: an Xvfb of our own unless a display is already there; source it.
start_display() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${BRINDOR_OWN_DISPLAY:-}" ]; then return; fi
    local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    BRINDOR_XVFB_PID=$!
    local n; read -r n <"$fifo"; rm -f "$fifo"
    export DISPLAY=":$n"
}
stop_display() {
    if [ -n "${BRINDOR_XVFB_PID:-}" ]; then kill "$BRINDOR_XVFB_PID" 2>/dev/null || true; fi
}
