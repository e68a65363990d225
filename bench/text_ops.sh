#!/usr/bin/env bash
# Builds the text-operation benchmark optimised (no sanitizers) and prints its figures.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINDOR_BENCH=ON >/dev/null
cmake --build "$root/build/bench" --target text_ops_bench | grep -v "^\[" || true
"$root/build/bench/bench/text_ops_bench"
