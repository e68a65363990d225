#!/usr/bin/env python3
"""Where the batch's memory per link goes: each source alone, in a fresh process under Wine.

  report rows   a report list like the main window's, one row of the batch's shape per link
  WinInet       the bare resolve and commit requests per link and one timestamp from a single
                script object (the platform's own cost)
  worker        the worker's sequence through our request and protocol code, with no rows

For each, the memory after 1,000 links and after N (default 10,000), and the growth per link between
the two: committed private memory as the program sees it, and the anonymous resident memory of
Wine's host process. Needs the win32 build's memory_per_link and brindor_driver targets:
python3 bench/memory_bench.py [--links N]

Measured on this machine kind, 1,000 to 10,000 links: a report row about 1.2 KB, the WinInet pair
about 0.54 KB, the worker the same as the bare pair (our code adds nothing per link).
"""

import argparse
import re
import subprocess
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from batch_bench import memory_kb, wine_pids  # noqa: E402
from harness import BUILD, WINE, E2EEnvironment, wine_environment  # noqa: E402

PROGRAM = BUILD / "bench" / "memory_per_link.exe"


def measure(args):
    """{links: (private KiB, anonymous resident KiB)} at each mark the program reports."""
    proc = subprocess.Popen([WINE, str(PROGRAM), *args], env=wine_environment(), stdin=subprocess.PIPE,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    marks = {}
    for line in proc.stdout:
        found = re.match(r"mark (\d+) private_kb (\d+)", line)
        if not found:
            continue
        pids = wine_pids(PROGRAM.name)
        sample = memory_kb(max(pids)) if pids else None
        marks[int(found[1])] = (int(found[2]), sample[1] if sample else -1)
        proc.stdin.write("\n")
        proc.stdin.flush()
    proc.wait()
    return marks


def report(name, marks, links):
    if 1000 not in marks or links not in marks:
        print(f"  {name:<12} incomplete: {marks}")
        return
    (p1, a1), (pn, an) = marks[1000], marks[links]
    span = links - 1000
    print(f"  {name:<12} private {p1 / 1024:6.1f} -> {pn / 1024:6.1f} MiB ({1024 * (pn - p1) / span:5.0f} B/link)   "
          f"anonymous {a1 / 1024:6.1f} -> {an / 1024:6.1f} MiB ({1024 * (an - a1) / span:5.0f} B/link)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--links", type=int, default=10000)
    args = parser.parse_args()
    if args.links <= 1000:
        sys.exit("--links must be above 1000")
    if not PROGRAM.exists():
        sys.exit(f"not built: {PROGRAM}")
    count = str(args.links)
    with E2EEnvironment() as environment:
        port = str(environment.standin.port)
        print(f"memory from 1,000 to {args.links} links, stand-in on 127.0.0.1:{port}")
        report("report rows", measure(["rows", count]), args.links)
        report("WinInet", measure(["wininet", "127.0.0.1", port, count]), args.links)
        report("worker", measure(["batch", count]), args.links)


if __name__ == "__main__":
    main()
