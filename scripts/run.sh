#!/usr/bin/env bash
# Set-up, build, then start the program against the stand-in service.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
"$here/setup.sh"
source "$here/env.sh"
cd "$BRINDOR_ROOT"
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j 2 --target brindor
exec "$WINE" build/win32/src/app/brindor.exe
