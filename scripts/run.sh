#!/usr/bin/env bash
# The program's main job against the stand-in service: set-up and build what is missing, start the
# stand-in (demo account, automatic sign-in), then the program with samples/links.txt at hand. With a
# display the program opens there; with none the driver plays the user under Xvfb and prints the report.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
"$here/setup.sh"
source "$here/env.sh"
cd "$BRINDOR_ROOT"
if [ ! -f build/win32/CMakeCache.txt ]; then
    cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
fi
cmake --build build/win32 -j 2 --target brindor brindor_driver
program_dir=build/win32/src/app
# The import dialog opens in the program's own folder.
cp samples/links.txt "$program_dir/links.txt"

if [ -z "${DISPLAY:-}" ]; then
    exec python3 scripts/run_demo.py
fi

host=$(sed -n 's/^BRINDOR_INTERFACE_HOST:[A-Z]*=//p' build/win32/CMakeCache.txt)
port=${host##*:}
python3 tools/standin/serve.py --host 127.0.0.1 --port "$port" \
    --demo-account demo:demo:100001 --auto-signin demo:100001 &
standin=$!
trap 'kill $standin 2>/dev/null || true' EXIT
echo "stand-in on 127.0.0.1:$port; sample links: $program_dir/links.txt"
"$WINE" "$program_dir/brindor.exe"
