#!/usr/bin/env bash
# The program's main job against the stand-in service: set-up and build what is missing, start the
# stand-in (demo account, automatic sign-in), then the program with samples/links.txt at hand. With a
# display the program opens there; with none the driver plays the user under Xvfb and prints the report.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/env.sh"
source "$here/port.sh"
# Before the set-up: a taken port stops the run at once, not after minutes of installing.
require_free_port "$(standin_port)"
"$here/setup.sh"
cd "$BRINDOR_ROOT"
if [ ! -f build/win32/CMakeCache.txt ] || [ -n "${BRINDOR_PORT:-}" ]; then
    # shellcheck disable=SC2046
    cmake --preset win32 $(host_options) >/dev/null
fi
cmake --build --preset win32 --target brindor brindor_driver
program_dir=build/win32/src/app
# The import dialog opens in the program's own folder.
cp samples/links.txt "$program_dir/links.txt"

if [ -z "${DISPLAY:-}" ]; then
    exec python3 scripts/run_demo.py
fi

port=$(standin_port)
python3 tools/standin/serve.py --host 127.0.0.1 --port "$port" \
    --demo-account demo:demo:100001 --auto-signin demo:100001 &
standin=$!
trap 'kill $standin 2>/dev/null || true' EXIT
echo "stand-in on 127.0.0.1:$port; sample links: $program_dir/links.txt"
"$WINE" "$program_dir/brindor.exe"
