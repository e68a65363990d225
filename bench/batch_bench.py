#!/usr/bin/env python3
"""A batch of links at interval 0 against the stand-in, three ways in the same run:

  brindor.exe        the program, driven like a user (sign in, import, start)
  wininet_loop.exe   our bare loop over the platform's HTTP client: the two requests and the
                     script-object timestamp per link, nothing else (the platform's floor)
  http.client        Python on one kept-alive connection (the network's floor)

Prints links per second, time per link and memory; then, unless --quick, the program's memory after
1,000 and after 10,000 links of one long batch. Needs the win32 build (brindor, brindor_driver,
wininet_loop); run it from anywhere: python3 bench/batch_bench.py [--links N] [--quick]
"""

import argparse
import http.client
import os
import re
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path
from types import SimpleNamespace

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import batch_steps as steps  # noqa: E402
from harness import BUILD, WINE, E2EEnvironment, E2ESession, windows_path, wine_environment  # noqa: E402

LOOP = BUILD / "bench" / "wininet_loop.exe"
USER, USER_ID = "demo", "100001"


def links_file(count, salt):
    content = "".join(f"magnet:?xt=urn:btih:{(i * 2654435761 + salt) % (1 << 160):040x}\n" for i in range(count))
    handle, name = tempfile.mkstemp(suffix=".txt")
    with os.fdopen(handle, "w") as out:
        out.write(content)
    return Path(name), content.split()


def wine_pids(exe_name):
    pids = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            cmdline = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace")
        except OSError:
            continue
        if exe_name.lower() in cmdline.lower() and "brindor_driver" not in cmdline:
            pids.append(int(entry.name))
    return pids


def memory_kb(pid):
    """(resident, anonymous resident, peak resident) in KiB, or None when the process is gone."""
    try:
        status = Path(f"/proc/{pid}/status").read_text()
    except OSError:
        return None
    values = dict(re.findall(r"^(VmRSS|RssAnon|VmHWM):\s+(\d+) kB", status, re.M))
    return int(values.get("VmRSS", 0)), int(values.get("RssAnon", 0)), int(values.get("VmHWM", 0))


class MemoryWatch(threading.Thread):
    """Samples a Wine program's memory until stopped; keeps the highest values seen."""

    def __init__(self, exe_name):
        super().__init__(daemon=True)
        self.exe_name, self.peak_rss, self.peak_anon, self.hwm = exe_name, 0, 0, 0
        self.stopping = threading.Event()

    def run(self):
        while not self.stopping.is_set():
            for pid in wine_pids(self.exe_name):
                m = memory_kb(pid)
                if m:
                    self.peak_rss, self.peak_anon = max(self.peak_rss, m[0]), max(self.peak_anon, m[1])
                    self.hwm = max(self.hwm, m[2])
            self.stopping.wait(0.2)

    def stop(self):
        self.stopping.set()
        self.join()


def interface_span(standin, since):
    """Seconds from the first to the last interface request after record `since`."""
    times = [r["time"] for r in standin.requests()[since:] if r["role"] == "interface"]
    return (max(times) - min(times)) if len(times) > 1 else 0.0, len(times)


def gaps(standin, since):
    """Median milliseconds from a resolve's arrival to its commit's, and from a commit to the next resolve."""
    records = [r for r in standin.requests()[since:] if r["role"] == "interface"]
    to_commit, to_next = [], []
    for a, b in zip(records, records[1:]):
        kind = "commit" if "bt_task_commit" in a["path"] else "resolve"
        (to_commit if kind == "resolve" else to_next).append(1000 * (b["time"] - a["time"]))

    def median(values):
        return sorted(values)[len(values) // 2] if values else float("nan")

    return median(to_commit), median(to_next)


def python_client(port, links):
    connection = http.client.HTTPConnection("127.0.0.1", port)
    start = time.perf_counter()
    for link in links:
        connection.request("GET", f"/interface/url_query?callback=queryUrl&u={link}&interfrom=task")
        answer = connection.getresponse().read().decode("utf-8", "replace")
        values = re.findall(r"'([^']*)'", answer)
        cid, tsize = (values + ["", ""])[:2]
        body = (f"uid={USER_ID}&btname=x&cid={cid}&goldbean=0&silverbean=0&tsize={tsize}&findex=0_&size=0_"
                f"&o_taskid=0&o_page=task&class_id=0&interfrom=task")
        connection.request("POST", f"/interface/bt_task_commit?callback=jsonp{int(time.time() * 1000)}", body,
                           {"Content-Type": "application/x-www-form-urlencoded", "Cookie": f"userid={USER_ID}"})
        connection.getresponse().read()
    connection.close()
    return time.perf_counter() - start


def bare_loop(port, path):
    watch = MemoryWatch(LOOP.name)
    watch.start()
    out = subprocess.run([WINE, str(LOOP), "127.0.0.1", str(port), windows_path(path), USER_ID],
                         env=wine_environment(), capture_output=True, text=True, timeout=3600).stdout
    watch.stop()
    fields = dict(zip(out.split()[0::2], out.split()[1::2]))
    return fields, watch


def program_batch(environment, path, count, milestones=(), probe=True):
    """Runs one batch in a fresh program: its duration, request count and gaps, memory and GUI probes."""
    with E2ESession(environment) as session:
        steps.sign_in(session, USER, USER_ID)
        steps.import_links(session, path, count)
        watch = MemoryWatch("brindor.exe")
        watch.start()
        pid = max(wine_pids("brindor.exe"))
        since = len(session.standin.requests())
        main = steps.start_batch(session, "0")
        at_milestone, probes, pending = {}, [], list(milestones)
        while not session.has_window(steps.DEFAULT_TITLE):
            if probe:
                probes.append(session.probe(main, interval_ms=20, duration_ms=2000))
            else:
                time.sleep(1)
            done = session.progress(main, steps.PROGRESS_BAR)[2]
            while pending and done >= pending[0]:
                at_milestone[pending.pop(0)] = (done, memory_kb(pid))
        seconds, requests = interface_span(session.standin, since)
        median_gaps = gaps(session.standin, since)
        for mark in pending:
            at_milestone[mark] = (count, memory_kb(pid))
        watch.stop()
        steps.wait_all_done(session, timeout_ms=5000)
        return SimpleNamespace(seconds=seconds, requests=requests, gaps=median_gaps, watch=watch,
                               memory=at_milestone, probes=probes)


def report_probes(probes):
    if probes:
        p99 = sorted(p.p99 for p in probes)[-1]
        print(f"  GUI round trips during the batch: {sum(p.count for p in probes)}, worst p99 of 2 s windows "
              f"{p99:.1f} ms, max {max(p.max for p in probes):.1f} ms, failures {sum(p.failures for p in probes)}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--links", type=int, default=1000)
    parser.add_argument("--long", type=int, default=10000, help="links of the memory run")
    parser.add_argument("--quick", action="store_true", help="skip the long memory run")
    parser.add_argument("--probe", action="store_true",
                        help="also measure GUI round trips during the timed batch (slows it down)")
    args = parser.parse_args()
    for needed in (LOOP, BUILD / "src" / "app" / "brindor.exe"):
        if not needed.exists():
            sys.exit(f"not built: {needed}")

    with E2EEnvironment(standin_args=("--auto-signin", f"{USER}:{USER_ID}")) as environment:
        environment.clear_cookies()
        try:
            run(environment, args)
        finally:
            environment.clear_cookies()


def run(environment, args):
    port = environment.standin.port
    path, links = links_file(args.links, 1)
    try:
        print(f"{args.links} links at interval 0, stand-in on 127.0.0.1:{port}")
        seconds = python_client(port, links)
        environment.standin.reset()
        loop, loop_watch = bare_loop(port, path)
        loop_gaps = gaps(environment.standin, 0)
        environment.standin.reset()
        program = program_batch(environment, path, args.links, probe=args.probe)
    finally:
        path.unlink()

    def line(name, total_s, peak):
        per = 1000 * total_s / args.links
        print(f"  {name:<18} {args.links / total_s:8.1f} links/s {per:8.2f} ms/link   peak {peak}")

    loop_s = float(loop.get("ms", "nan")) / 1000
    program_s, watch = program.seconds, program.watch
    line("brindor.exe", program_s,
         f"RSS {watch.hwm / 1024:.1f} MiB (anonymous {watch.peak_anon / 1024:.1f} MiB)")
    line("wininet_loop.exe", loop_s,
         f"RSS {loop_watch.hwm / 1024:.1f} MiB (anonymous {loop_watch.peak_anon / 1024:.1f} MiB)")
    line("python http.client", seconds, "-")
    print(f"  brindor / bare loop: {program_s / loop_s:.2f}x   interface requests seen: {program.requests}")
    print(f"  bare loop per link: resolve {loop.get('resolve_ms')} ms, timestamp {loop.get('timestamp_ms')} ms, "
          f"commit {loop.get('commit_ms')} ms")
    print("  median ms from a resolve request to its commit request, and from the commit to the next resolve:")
    print(f"    brindor.exe {program.gaps[0]:.2f} + {program.gaps[1]:.2f}, "
          f"bare loop {loop_gaps[0]:.2f} + {loop_gaps[1]:.2f}")
    report_probes(program.probes)

    if not args.quick:
        environment.standin.reset()
        path, _ = links_file(args.long, 7)
        try:
            marks = sorted({1000, args.long})
            long_run = program_batch(environment, path, args.long, marks)
        finally:
            path.unlink()
        for mark in marks:
            done, m = long_run.memory[mark]
            if m:
                print(f"  brindor.exe after {done} links: RSS {m[0] / 1024:.1f} MiB, "
                      f"anonymous {m[1] / 1024:.1f} MiB")
        report_probes(long_run.probes)


if __name__ == "__main__":
    main()
