#!/usr/bin/env python3
"""Imports files of 100,000 and 1,000,000 magnet links (about 10 MB and 100 MB) under Wine the
import's way and with a plain buffered line reader, in interleaved rounds; prints the median time
and the private memory that holds the lines at the end of the reading.

    python3 bench/import_bench.py [--build build/win32] [--rounds 3]
"""

import argparse
import random
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
WINE_RUN = REPO / "scripts" / "wine-run.sh"


def write_links(path, count):
    rng = random.Random(count)
    with open(path, "w", newline="") as out:
        for i in range(count):
            out.write("magnet:?xt=urn:btih:%040x&dn=file.%07d.mkv\r\n" % (rng.getrandbits(160), i))


def run(exe, way, path):
    windows = "Z:" + str(path).replace("/", "\\")
    out = subprocess.run([str(WINE_RUN), str(exe), way, windows], check=True, capture_output=True,
                         timeout=900).stdout.decode().split()
    return float(out[0]), int(out[1]), int(out[2])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(REPO / "build" / "win32"))
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    exe = Path(args.build) / "bench" / "import_bench.exe"
    if not exe.exists():
        sys.exit(f"{exe} missing: cmake --build {args.build} --target import_bench")

    with tempfile.TemporaryDirectory(prefix="brindor_import_bench_") as folder:
        print(f"{'links':>9} {'MB':>6} {'way':>7} {'median s':>9} {'held MB':>8}")
        figures = {}
        for count in (100_000, 1_000_000):
            path = Path(folder) / f"links_{count}.txt"
            write_links(path, count)
            size_mb = path.stat().st_size / 1e6
            results = {"import": [], "plain": []}
            for _ in range(args.rounds):
                for way in results:
                    seconds, lines, held_kb = run(exe, way, path)
                    if lines != count:
                        sys.exit(f"{way} read {lines} lines of {count}")
                    results[way].append((seconds, held_kb))
            for way, runs in results.items():
                median = statistics.median(s for s, _ in runs)
                held = max(k for _, k in runs) / 1024
                figures[(count, way)] = median
                print(f"{count:>9} {size_mb:>6.1f} {way:>7} {median:>9.3f} {held:>8.1f}")
            path.unlink()
        small, large = figures[(100_000, "import")], figures[(1_000_000, "import")]
        print(f"import: 100,000 links in {small:.3f} s (target < 0.5 s), 1,000,000 in {large:.3f} s (target < 5 s)")


if __name__ == "__main__":
    main()
