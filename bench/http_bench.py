#!/usr/bin/env python3
"""1,000 sequential GETs to a loopback test server three ways in one run: HttpRequest under Wine,
a bare WinInet loop under Wine (the platform's floor) and Python's http.client (the network's
floor). Prints the three rates and the two ratios.

    bench/http_bench.sh [--count 1000] [--body-bytes 200] [--rounds 4]
"""

import argparse
import http.client
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO))
from tests.tools.harness import HTTPSCRIPT, ServerProcess, post_json  # noqa: E402

WINE_RUN = REPO / "scripts" / "wine-run.sh"


def run_wine(exe, *args):
    """Seconds the program reports for its loop, and the bytes of its last answer."""
    out = subprocess.run([str(WINE_RUN), str(exe), *map(str, args)], check=True, capture_output=True,
                         timeout=600).stdout.decode().split()
    return float(out[1]), int(out[2])


def run_http_client(port, path, count):
    start = time.perf_counter()
    last = 0
    for _ in range(count):
        conn = http.client.HTTPConnection("127.0.0.1", port)
        conn.request("GET", path)
        last = len(conn.getresponse().read())
        conn.close()
    return time.perf_counter() - start, last


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(REPO / "build" / "win32"))
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--body-bytes", type=int, default=200)
    parser.add_argument("--rounds", type=int, default=4, help="interleaved rounds the count is spread over")
    args = parser.parse_args()
    build = Path(args.build)
    routine = build / "bench" / "http_request_bench.exe"
    bare = build / "bench" / "wininet_loop_bench.exe"

    server = ServerProcess(HTTPSCRIPT)
    try:
        body = "x" * args.body_bytes
        post_json(server.port, "/_script/default", {
            "headers": f"Content-Type: text/plain\r\nContent-Length: {len(body)}\r\nConnection: close",
            "body": body})
        path = "/bench?a=1"
        url = f"http://127.0.0.1:{server.port}{path}"
        # One warm-up round each, so that no start-up cost lands in the figures.
        run_wine(routine, url, 5)
        run_wine(bare, "127.0.0.1", server.port, path, 5)
        # Interleaved rounds, so that a change in the machine's load falls on all three alike.
        seconds = {"routine": 0.0, "bare": 0.0, "client": 0.0}
        per_round = args.count // args.rounds
        for _ in range(args.rounds):
            took, routine_last = run_wine(routine, url, per_round)
            seconds["routine"] += took
            took, bare_last = run_wine(bare, "127.0.0.1", server.port, path, per_round)
            seconds["bare"] += took
            took, client_last = run_http_client(server.port, path, per_round)
            seconds["client"] += took
    finally:
        server.stop()
    total = per_round * args.rounds
    routine_rate, bare_rate, client_rate = (total / seconds[k] for k in ("routine", "bare", "client"))

    for name, last in (("HttpRequest", routine_last), ("bare WinInet", bare_last), ("http.client", client_last)):
        if last != args.body_bytes:
            print(f"warning: {name} read {last} bytes, expected {args.body_bytes}", file=sys.stderr)
    print(f"{total} sequential GETs, {args.body_bytes}-byte answers, loopback")
    print(f"HttpRequest (Wine):   {routine_rate:8.1f} requests/s")
    print(f"bare WinInet (Wine):  {bare_rate:8.1f} requests/s")
    print(f"http.client (native): {client_rate:8.1f} requests/s")
    print(f"bare WinInet / HttpRequest: {bare_rate / routine_rate:.3f}x (target <= 1.2x)")
    print(f"http.client / HttpRequest:  {client_rate / routine_rate:.3f}x")


if __name__ == "__main__":
    main()
