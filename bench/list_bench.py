#!/usr/bin/env python3
"""The report list's costs at 1,000, 10,000 and 100,000 rows: our list (the window framework's
ListView, rows from a worker thread as the program adds them) beside a bare list-view control
filled the same way, each in its own process, in the same run.

Per size: insert (one row added with the window shown plus the repaint it causes, mean and p99
of 300 rows; the row's trip alone beside it), full repaint and page-down (p50 and p99 of 40 each),
and the fill rate with the window hidden. Then the report's actions with every row: select all,
the shortcut menu's greying and copying all rows, beside a bare owner-data list-view control
(rows in its program's memory, as ours keeps them; select all is the control's own). The subjects
alternate for --rounds rounds (3); the tables show medians. Ratios are ours / bare. Needs the win32
build's list_bench target.
  python3 bench/list_bench.py [--sizes 1000 10000 100000] [--screenshot]
"""

import argparse
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from harness import BUILD, WINE, E2EEnvironment, wine_environment  # noqa: E402

BENCH = BUILD / "bench" / "list_bench.exe"
FIGURES = [("insert_ms_mean", "insert mean"), ("insert_ms_p99", "insert p99"), ("row_trip_ms_mean", "row trip mean"),
           ("repaint_ms_p50", "repaint p50"), ("repaint_ms_p99", "repaint p99"),
           ("pagedown_ms_p50", "page-down p50"), ("pagedown_ms_p99", "page-down p99"),
           ("fill_ms_per_row", "hidden fill/row")]
ACTIONS = [("select_all_ms", "select all"), ("menu_ms", "menu greying"), ("copy_all_ms", "copy all rows")]


def run_subject(environment, mode, sizes, screenshot):
    """{size: {figure: ms}} from one process."""
    hold = ["--hold"] if screenshot else []
    process = subprocess.Popen([WINE, str(BENCH), mode, *hold, *map(str, sizes)], env=environment.env,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    results = {}
    for line in process.stdout:
        words = line.split()
        if words[:1] == ["holding"]:
            print(f"  screenshot: {environment.screenshot(f'list_bench_{mode}')}", flush=True)
        if len(words) < 2 or words[0] != "size":
            continue
        figures = dict(zip(words[2::2], map(float, words[3::2])))
        results[int(words[1])] = figures
        print(f"  ... {mode} at {words[1]} rows: insert {figures['insert_ms_mean']:.2f} ms, "
              f"repaint {figures['repaint_ms_p50']:.2f} ms, select all {figures['select_all_ms']:.2f} ms",
              flush=True)
    process.wait(timeout=120)
    return results


def median_results(rounds):
    """Per size and figure, the median over the rounds."""
    merged = {}
    for size in rounds[0]:
        merged[size] = {key: sorted(r[size][key] for r in rounds if size in r)[len(rounds) // 2]
                        for key in rounds[0][size]}
    return merged


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--sizes", type=int, nargs="+", default=[1000, 10000, 100000])
    parser.add_argument("--rounds", type=int, default=3, help="alternating runs of each list; medians shown")
    parser.add_argument("--screenshot", action="store_true",
                        help="a screenshot of each list at its last size (tests/e2e's screenshot folder)")
    args = parser.parse_args()
    if not BENCH.exists():
        sys.exit(f"not built: {BENCH}")
    sizes = sorted(args.sizes)
    with E2EEnvironment(standin=False) as environment:
        started = time.monotonic()
        rounds = {"ours": [], "bare": [], "owner": []}
        for round_number in range(args.rounds):
            shot = args.screenshot and round_number == 0
            for mode, results in rounds.items():
                results.append(run_subject(environment, mode, sizes, shot))
        ours, bare, owner = (median_results(rounds[mode]) for mode in ("ours", "bare", "owner"))
    print(f"\nreport list, ms (ours / bare list-view control / ratio), medians of {args.rounds} rounds, "
          f"{time.monotonic() - started:.0f} s in all")
    print_table(sizes, FIGURES, ours, bare)
    print("\nthe report's actions with every row, ms (ours / bare owner-data list-view control / ratio)")
    print_table(sizes, ACTIONS, ours, owner)


def print_table(sizes, figures, ours, bare):
    print(f"  {'rows':>7}  " + "  ".join(f"{label:>24}" for _, label in figures))
    for size in sizes:
        cells = []
        for key, _ in figures:
            a, b = ours.get(size, {}).get(key), bare.get(size, {}).get(key)
            if a is None or b is None:
                cells.append(f"{'missing':>24}")
            else:
                cells.append(f"{a:7.2f} /{b:7.2f} /{a / b if b else float('nan'):6.2f}x")
        print(f"  {size:>7}  " + "  ".join(cells))


if __name__ == "__main__":
    main()
