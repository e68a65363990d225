# The stand-in service's port; source it. BRINDOR_PORT=N picks 127.0.0.1:N for the stand-in and the
# build's three service hosts; without it the port is the one the win32 tree was configured with.
standin_port() {
    if [ -n "${BRINDOR_PORT:-}" ]; then echo "$BRINDOR_PORT"; return; fi
    local host
    host=$(sed -n 's/^BRINDOR_INTERFACE_HOST:[A-Z]*=//p' "$BRINDOR_ROOT/build/win32/CMakeCache.txt" 2>/dev/null)
    host=${host:-127.0.0.1:18080}
    echo "${host##*:}"
}
# The cmake options that point the win32 tree at BRINDOR_PORT (none without it).
host_options() {
    if [ -z "${BRINDOR_PORT:-}" ]; then return; fi
    local host="127.0.0.1:$BRINDOR_PORT"
    echo "-DBRINDOR_INTERFACE_HOST=$host -DBRINDOR_WEB_HOST=$host -DBRINDOR_NOTICE_HOST=$host"
}
# Stops the script at once when something already listens on the port.
require_free_port() {
    if (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; then
        echo "port $1 of the stand-in service is taken (another run, or another program)." >&2
        echo "Stop that, or pick another port: BRINDOR_PORT=23456 $0" >&2
        exit 1
    fi
    echo "stand-in port 127.0.0.1:$1 is free"
}
