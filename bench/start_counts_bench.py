#!/usr/bin/env python3
"""The start question's counts for a long list, driven like a user: import N links (one of them
twice, so that a question comes), press 开始提交 and time the click to the question box while the
window is probed (WM_NULL round trips every 20 ms); then 取消. The counts run beside the window.

Needs the win32 build (brindor, brindor_driver).
  python3 bench/start_counts_bench.py [--links 1000000]
"""

import argparse
import os
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from harness import E2EEnvironment, E2ESession  # noqa: E402
import batch_steps as steps  # noqa: E402

USER, USER_ID = "bench", "4242"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--links", type=int, default=1_000_000)
    args = parser.parse_args()
    handle, path = tempfile.mkstemp(suffix=".txt")
    with os.fdopen(handle, "w") as out:
        for i in range(args.links - 1):
            out.write("magnet:?xt=urn:btih:%040x\n" % (i * 2654435761 % (1 << 160)))
        out.write("magnet:?xt=urn:btih:%040x\n" % 0)  # a repeat of the first
    try:
        with E2EEnvironment(standin_args=("--auto-signin", f"{USER}:{USER_ID}")) as environment:
            with E2ESession(environment, start=False) as session:
                environment.clear_record()
                session.start_program()
                steps.sign_in(session, USER, USER_ID)
                main = session.wait_window(steps.MAIN_CAPTION)
                started = time.monotonic()
                steps.import_links(session, path, args.links)
                print(f"import {args.links} links s {time.monotonic() - started:.1f}")
                started = time.monotonic()
                steps.start_batch(session, "0")
                probe = session.probe(main, interval_ms=20, duration_ms=500)
                box = session.wait_message_box(timeout_ms=60000)
                print(f"question after s {time.monotonic() - started:.2f}: {box.text}")
                print(f"window during the counts: {probe.count} probes, p50 {probe.p50} ms, "
                      f"p99 {probe.p99} ms, max {probe.max} ms, failures {probe.failures}")
                steps.answer(session, box, 2)
    finally:
        os.unlink(path)


if __name__ == "__main__":
    main()
