#!/usr/bin/env bash
# Builds the HTTP benchmark programs (win32, Release) and prints HttpRequest's rate beside a bare
# WinInet loop and Python's http.client. Needs the Wine prefix (scripts/setup.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$root" -B "$root/build/bench-win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DBRINDOR_BENCH=ON >/dev/null
cmake --build "$root/build/bench-win32" -j2 --target http_request_bench wininet_loop_bench | grep -v "^\[" || true
python3 "$root/bench/http_bench.py" --build "$root/build/bench-win32" "$@"
