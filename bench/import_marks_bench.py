#!/usr/bin/env python3
"""Imports the same links saved plain, as UTF-16 LE and as UTF-8 with a byte order mark, under Wine the
import's way (100,000 and 1,000,000 links); prints the median time and the memory that holds the lines.

    python3 bench/import_marks_bench.py [--build build/win32] [--rounds 3]

Build the `import_bench` target of the win32 tree first.
"""

import argparse
import statistics
import sys
import tempfile
from pathlib import Path

from import_bench import run, write_links

MARKED = {"plain": lambda text: text, "UTF-16 LE": lambda text: b"\xff\xfe" + text.decode().encode("utf-16-le"),
          "UTF-8 mark": lambda text: b"\xef\xbb\xbf" + text}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(Path(__file__).resolve().parents[1] / "build" / "win32"))
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    exe = Path(args.build) / "bench" / "import_bench.exe"
    if not exe.exists():
        sys.exit(f"{exe} missing: cmake --build {args.build} --target import_bench")
    with tempfile.TemporaryDirectory(prefix="brindor_marks_bench_") as folder:
        print(f"{'links':>9} {'file':>10} {'MB':>6} {'median s':>9} {'held MB':>8}")
        for count in (100_000, 1_000_000):
            source = Path(folder) / "plain.txt"
            write_links(source, count)
            text = source.read_bytes()
            for name, encode in MARKED.items():
                path = Path(folder) / "links.txt"
                path.write_bytes(encode(text))
                runs = [run(exe, "import", path) for _ in range(args.rounds)]
                if any(lines != count for _, lines, _ in runs):
                    sys.exit(f"{name}: read {runs[0][1]} lines of {count}")
                median = statistics.median(seconds for seconds, _, _ in runs)
                held = max(kb for _, _, kb in runs) / 1024
                print(f"{count:>9} {name:>10} {path.stat().st_size / 1e6:>6.1f} {median:>9.3f} {held:>8.1f}")


if __name__ == "__main__":
    main()
