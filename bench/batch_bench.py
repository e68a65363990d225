#!/usr/bin/env python3
"""A batch of links at interval 0 against the stand-in, several clients in the same run, each timed
from the stand-in's own log of the resolves and commits it received:

  brindor.exe        the program, driven like a user (sign in, import, start)
  wininet_loop.exe   the program's requests over bare WinInet with the program's flags, headers and
                     one script object per run, nothing else (the platform's floor); and once more
                     as the best loop with those requests: no cache writes, the cookies sent by
                     hand (under Wine the store keeps the HttpOnly session cookie to itself, so
                     that Cookie line lacks it)
  http.client        Python on one kept-alive connection (the network's floor)

For each client: the time per link over the first and the last tenth of the run and their ratio, the
whole run, and its ratio to the bare loop and to the best loop; then the files WinInet's cache holds
after each client (cache and cookie store are emptied before each one so every client starts alike).

--variants adds the bare loop with one ingredient changed at a time (cache flag, script object,
cookie store, handle reuse) to tell which one makes a long run slower.

Needs the win32 build (brindor, brindor_driver, wininet_loop). Each client takes its own time for a
5,000-link run (a few minutes under Wine); --links N for a quicker run. Other work on the machine
shifts the absolute figures: compare ratios within one run.
  python3 bench/batch_bench.py [--links N] [--variants] [--loop OPTIONS]... [--skip-program] [--probe]
(--variants at 5,000 links takes about 20 minutes; with --links 2000 about 8.)
"""

import argparse
import http.client
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import batch_steps as steps  # noqa: E402
from harness import BUILD, WINE, E2EEnvironment, E2ESession, windows_path, wine_environment  # noqa: E402

LOOP = BUILD / "bench" / "wininet_loop.exe"
PROGRAM = BUILD / "src" / "app" / "brindor.exe"
USER, USER_ID = "demo", "100001"
# The stand-in keeps this many records per log; a longer run would lose its beginning.
LOG_LIMIT = 10000


# The fastest loop with the program's requests: the program's flags with cache writes off and the
# cookies sent by hand instead of from WinInet's store.
BEST_LOOP = ["--cache", "no-write", "--cookies", "none"]

# One script object per commit is left out: under Wine such a loop ends after about 1,000 links.
VARIANTS = [
    ("no cache write", ["--cache", "no-write"]),
    ("system clock, no script", ["--script", "clock"]),
    ("no cookie store", ["--cookies", "none"]),
    ("handles kept per run", ["--handles", "per-run"]),
    ("no cache write, no cookie store", ["--cache", "no-write", "--cookies", "none"]),
    ("no cache write, cookies, clock", ["--cache", "no-write", "--cookies", "none", "--script", "clock"]),
]


def links_file(count, salt):
    content = "".join(f"magnet:?xt=urn:btih:{(i * 2654435761 + salt) % (1 << 160):040x}\n" for i in range(count))
    handle, name = tempfile.mkstemp(suffix=".txt")
    with os.fdopen(handle, "w") as out:
        out.write(content)
    return Path(name), content.split()


def cache_folder():
    users = Path(wine_environment()["WINEPREFIX"]) / "drive_c" / "users"
    return [p for p in users.glob("*/AppData/Local/Microsoft/Windows/INetCache")] + \
        [p for p in users.glob("*/Local Settings/Temporary Internet Files")]


def cache_files():
    """(all files, files of the interface's requests) under the prefix's WinInet cache."""
    files = [f for folder in cache_folder() for f in folder.rglob("*") if f.is_file()]
    ours = [f for f in files if f.name.startswith(("url_query", "bt_task_commit"))]
    return len(files), len(ours)


def empty_cache():
    """Only while no program of the prefix has the cache open."""
    for folder in cache_folder():
        for item in folder.iterdir():
            shutil.rmtree(item) if item.is_dir() else item.unlink()


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
    """The highest resident size a Wine program reaches, sampled until stopped."""

    def __init__(self, exe_name):
        super().__init__(daemon=True)
        self.exe_name, self.hwm_kb = exe_name, 0
        self.stopping = threading.Event()

    def run(self):
        while not self.stopping.is_set():
            for pid in wine_pids(self.exe_name):
                memory = memory_kb(pid)
                if memory:
                    self.hwm_kb = max(self.hwm_kb, memory[2])
            self.stopping.wait(1.0)

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *_):
        self.stopping.set()
        self.join()


class Timing:
    """One client's run as the stand-in saw it."""

    def __init__(self, name, standin, links):
        resolves = [r["time"] for r in standin.resolves()]
        commits = [r["time"] for r in standin.commits()]
        self.name, self.links = name, links
        self.requests = len(resolves) + len(commits)
        self.complete = len(resolves) == links and len(commits) == links
        self.accepted = sum(1 for r in standin.commits() if r.get("accepted"))
        self.seconds = (max(commits + resolves) - min(resolves)) if resolves else float("nan")
        tenth = max(1, links // 10)
        # A tenth is the `tenth` intervals from one link's resolve to the next one's.
        if len(resolves) > tenth:
            self.first_ms = 1000 * (resolves[tenth] - resolves[0]) / tenth
            self.last_ms = 1000 * (resolves[-1] - resolves[-1 - tenth]) / tenth
        else:
            self.first_ms = self.last_ms = float("nan")
        # Where the time goes: a resolve's arrival to its commit's, and the commit to the next resolve.
        pairs = list(zip(resolves, commits))
        self.first_gaps = self._gaps(pairs[:tenth + 1])
        self.last_gaps = self._gaps(pairs[-tenth - 1:])
        self.cache = None
        self.peak_rss_mb = None

    @staticmethod
    def _gaps(pairs):
        if len(pairs) < 2:
            return float("nan"), float("nan")
        to_commit = [c - r for r, c in pairs[:-1]]
        to_next = [pairs[i + 1][0] - pairs[i][1] for i in range(len(pairs) - 1)]
        return 1000 * sum(to_commit) / len(to_commit), 1000 * sum(to_next) / len(to_next)

    @property
    def per_link_ms(self):
        return 1000 * self.seconds / self.links


def python_client(port, links):
    connection = http.client.HTTPConnection("127.0.0.1", port)
    cookie = f"usrname={USER}; userid={USER_ID}"
    for link in links:
        connection.request("GET", f"/interface/url_query?callback=queryUrl&u={link}&interfrom=task")
        answer = connection.getresponse().read().decode("utf-8", "replace")
        values = re.findall(r"'([^']*)'", answer)
        cid, tsize = (values + ["", ""])[:2]
        body = (f"uid={USER_ID}&btname=x&cid={cid}&goldbean=0&silverbean=0&tsize={tsize}&findex=0_&size=0_"
                f"&o_taskid=0&o_page=task&class_id=0&interfrom=task")
        connection.request("POST", f"/interface/bt_task_commit?callback=jsonp{int(time.time() * 1000)}", body,
                           {"Content-Type": "application/x-www-form-urlencoded", "Cookie": cookie})
        connection.getresponse().read()
    connection.close()


def bare_loop(port, path, options=()):
    """The loop's own printout as a dict; its peak resident size in MiB."""
    with MemoryWatch(LOOP.name) as watch:
        out = subprocess.run([WINE, str(LOOP), windows_path(path), USER_ID,
                              f"http://127.0.0.1:{port}/interface/", f"http://127.0.0.1:{port}/task.html",
                              *options], env=wine_environment(), capture_output=True, text=True, timeout=3600)
    words = out.stdout.split()
    return dict(zip(words[0::2], words[1::2])), watch.hwm_kb / 1024


def program_batch(environment, path, count, probe, env=None):
    """One batch in a fresh program, from the click on start to the end-of-run box."""
    with E2ESession(environment, start=False) as session:
        session.start_program(env=env)
        steps.sign_in(session, USER, USER_ID)
        steps.import_links(session, path, count)
        environment.standin.reset()
        with MemoryWatch(PROGRAM.name) as watch:
            main = steps.start_batch(session, "0")
            probes = []
            while not session.has_window(steps.DEFAULT_TITLE):
                if probe:
                    probes.append(session.probe(main, interval_ms=20, duration_ms=2000))
                else:
                    time.sleep(2)
        steps.wait_all_done(session, timeout_ms=5000)
        return watch.hwm_kb / 1024, probes


def print_table(timings, baseline, best):
    print(f"  {'client':<42} {'first 10%':>10} {'last 10%':>10} {'last/first':>10} {'whole run':>10} "
          f"{'ms/link':>8} {'/ bare loop':>11} {'/ best loop':>11}  cache files (ours)")
    for t in timings:
        cache = f"{t.cache[0]} ({t.cache[1]})" if t.cache else "-"
        note = "" if t.complete else f"  INCOMPLETE: {t.requests} requests"
        print(f"  {t.name:<42} {t.first_ms:8.2f}ms {t.last_ms:8.2f}ms {t.last_ms / t.first_ms:10.2f} "
              f"{t.seconds:9.1f}s {t.per_link_ms:8.2f} {t.seconds / baseline.seconds:10.2f}x "
              f"{t.seconds / best.seconds:10.2f}x  {cache}{note}")


def print_details(timings, loops):
    print("  mean ms from a resolve's arrival to its commit's + from the commit to the next resolve, "
          "first tenth -> last tenth:")
    for t in timings:
        print(f"    {t.name:<42} {t.first_gaps[0]:6.2f} + {t.first_gaps[1]:6.2f}  ->  "
              f"{t.last_gaps[0]:6.2f} + {t.last_gaps[1]:6.2f}   accepted commits {t.accepted}/{t.links}"
              + (f"   peak RSS {t.peak_rss_mb:.1f} MiB" if t.peak_rss_mb else ""))
    print("  bare loops' own clock, ms per link: resolve + timestamp + commit, first tenth -> last tenth:")
    for name, fields in loops:
        print(f"    {name:<42} {fields.get('first_tenth_resolve_ms')} + {fields.get('first_tenth_timestamp_ms')} + "
              f"{fields.get('first_tenth_commit_ms')}  ->  {fields.get('last_tenth_resolve_ms')} + "
              f"{fields.get('last_tenth_timestamp_ms')} + {fields.get('last_tenth_commit_ms')}")


def run(environment, args):
    port = environment.standin.port
    path, links = links_file(args.links, 1)
    timings, loops = [], []

    def wininet_client(name, options=()):
        empty_cache()
        environment.clear_cookies()  # the loop signs in afresh; no cookie of an earlier client stays
        environment.standin.reset()
        fields, peak = bare_loop(port, path, options)
        t = Timing(name, environment.standin, args.links)
        t.cache, t.peak_rss_mb = cache_files(), peak
        loops.append((name, fields))
        timings.append(t)
        print(f"  ... {name}: {t.seconds:.1f} s", flush=True)
        return t

    try:
        print(f"{args.links} links at interval 0, stand-in on 127.0.0.1:{port}", flush=True)
        baseline = wininet_client("bare loop (program's way)")
        best = wininet_client("best bare loop", BEST_LOOP)
        if not args.skip_program:
            empty_cache()
            environment.clear_cookies()
            rss, probes = program_batch(environment, path, args.links, args.probe)
            t = Timing("brindor.exe", environment.standin, args.links)
            t.cache, t.peak_rss_mb = cache_files(), rss
            timings.insert(0, t)
            print(f"  ... brindor.exe: {t.seconds:.1f} s", flush=True)
            if probes:
                print(f"  GUI round trips during the batch: {sum(p.count for p in probes)}, worst p99 of 2 s "
                      f"windows {max(p.p99 for p in probes):.1f} ms, max {max(p.max for p in probes):.1f} ms")
        environment.standin.reset()
        python_client(port, links)
        timings.append(Timing("python http.client", environment.standin, args.links))
        for name, options in VARIANTS if args.variants else ():
            wininet_client(f"bare loop, {name}", options)
        for options in args.loop:
            wininet_client(f"bare loop {options}", options.split())
    finally:
        path.unlink()
    print()
    print_table(timings, baseline, best)
    print_details(timings, loops)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--links", type=int, default=5000)
    parser.add_argument("--variants", action="store_true", help="also the bare loop's variants")
    parser.add_argument("--loop", action="append", default=[], metavar="OPTIONS",
                        help='a further bare loop with these options, e.g. "--cache no-write --extra-cookies 50"')
    parser.add_argument("--skip-program", action="store_true", help="leave brindor.exe out")
    parser.add_argument("--probe", action="store_true",
                        help="also measure GUI round trips during the program's batch (slows it down)")
    args = parser.parse_args()
    if not 10 <= args.links <= LOG_LIMIT:
        sys.exit(f"--links must be between 10 and {LOG_LIMIT} (the stand-in keeps {LOG_LIMIT} records a log)")
    for needed in (LOOP, PROGRAM):
        if not needed.exists():
            sys.exit(f"not built: {needed}")
    with E2EEnvironment(standin_args=("--auto-signin", f"{USER}:{USER_ID}")) as environment:
        environment.clear_cookies()
        try:
            run(environment, args)
        finally:
            environment.clear_cookies()
            empty_cache()


if __name__ == "__main__":
    main()
