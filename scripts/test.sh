#!/usr/bin/env bash
# Set-up, both build trees, every test. Exit status is non-zero when anything fails.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
"$here/setup.sh"
source "$here/env.sh"
cd "$BRINDOR_ROOT"
jobs=${BRINDOR_JOBS:-2}

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRINDOR_SANITIZE=ON >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j "$jobs"

status=0
echo "== native tests"
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1

echo "== windows tests (Wine)"
source "$here/display.sh"
trap '"$WINESERVER" -k 2>/dev/null || true; stop_display' EXIT
BRINDOR_OWN_DISPLAY=1 start_display
# One persistent wineserver for the whole run: test programs then start in milliseconds.
# A server already running for the prefix (a program left open) serves as well.
"$WINESERVER" -p || true
# Start Wine's own services now, detached from CTest's pipes (CTest would otherwise wait for them).
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
ctest --test-dir build/win32 --output-on-failure || status=1
exit $status
