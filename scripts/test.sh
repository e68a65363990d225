#!/usr/bin/env bash
# Set-up, both build trees, every test. Exit status is non-zero when anything fails.
# BRINDOR_PORT=N runs the stand-in service (and points the build's service hosts) at 127.0.0.1:N.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/env.sh"
source "$here/port.sh"
cd "$BRINDOR_ROOT"
# Before minutes of building: the end-to-end scenarios need the stand-in's port.
require_free_port "$(standin_port)"
"$here/setup.sh"
jobs=${BRINDOR_JOBS:-2}

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
# A short first back-off step and request limit keep the throttling and time-limit scenarios short;
# the program ships with 5 s and 30 s.
# shellcheck disable=SC2046
cmake --preset win32 $(host_options) -DBRINDOR_THROTTLE_STEP_MS=500 -DBRINDOR_REQUEST_LIMIT_MS=10000 >/dev/null
cmake --build --preset win32 -j "$jobs"

status=0
echo "== native tests"
ctest --preset native -j "$jobs" || status=1

echo "== fuzz targets (${BRINDOR_FUZZ_SECONDS:=20} s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
for target in build/fuzz/tests/fuzz/*_fuzz; do
    corpus="build/fuzz/corpus/$(basename "$target")"
    mkdir -p "$corpus"
    if "$target" -max_total_time="$BRINDOR_FUZZ_SECONDS" -print_final_stats=1 "$corpus" >"$corpus.log" 2>&1; then
        echo "$(basename "$target"): $(sed -n 's/^stat::number_of_executed_units: *//p' "$corpus.log") runs, no finding"
    else
        echo "$(basename "$target") found a fault:"; tail -n 40 "$corpus.log"; status=1
    fi
done

echo "== windows tests (Wine)"
source "$here/display.sh"
trap '"$WINESERVER" -k 2>/dev/null || true; stop_display' EXIT
BRINDOR_OWN_DISPLAY=1 start_display
# One persistent wineserver for the whole run: test programs then start in milliseconds.
# A server already running for the prefix (a program left open) serves as well.
"$WINESERVER" -p || true
# Start Wine's own services now, detached from CTest's pipes (CTest would otherwise wait for them).
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
ctest --preset win32 || status=1
exit $status
