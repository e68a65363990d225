#!/usr/bin/env python3
"""Reads 1,000 .torrent files of about 200 KiB each under Wine as the import takes them (decoded, the
info hashed, made links) and, beside it, only their bytes, in interleaved rounds; prints the medians.

    python3 bench/torrent_bench.py [--build build/win32] [--rounds 3]
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
COUNT, SIZE = 1000, 200 * 1024


def bencode(value):
    if isinstance(value, int):
        return b"i%de" % value
    if isinstance(value, bytes):
        return b"%d:%s" % (len(value), value)
    if isinstance(value, list):
        return b"l" + b"".join(map(bencode, value)) + b"e"
    return b"d" + b"".join(bencode(k) + bencode(v) for k, v in sorted(value.items())) + b"e"


def write_torrents(folder):
    rng = random.Random(COUNT)
    for i in range(COUNT):
        files = [{b"length": rng.randrange(1 << 30), b"path": [b"season", b"episode %04d.mkv" % n]}
                 for n in range(40)]
        info = {b"name": "合集 %04d".encode() % i, b"piece length": 1 << 22, b"files": files, b"pieces": b""}
        info[b"pieces"] = rng.randbytes((SIZE - len(bencode(info)) - 300) // 20 * 20)
        top = {b"announce": b"udp://tracker.example:80/announce",
               b"announce-list": [[b"udp://t%d.example:6969/announce" % n] for n in range(8)], b"info": info}
        (folder / f"{i:04d}.torrent").write_bytes(bencode(top))


def run(exe, way, folder):
    windows = "Z:" + str(folder).replace("/", "\\")
    out = subprocess.run([str(WINE_RUN), str(exe), way, windows], check=True, capture_output=True,
                         timeout=600).stdout.decode().split()
    return float(out[0]), int(out[1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(REPO / "build" / "win32"))
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    exe = Path(args.build) / "bench" / "torrent_bench.exe"
    if not exe.exists():
        sys.exit(f"{exe} missing: cmake --build {args.build} --target torrent_bench")

    with tempfile.TemporaryDirectory(prefix="brindor_torrent_bench_") as name:
        folder = Path(name)
        write_torrents(folder)
        total_mb = sum(p.stat().st_size for p in folder.iterdir()) / 1e6
        results = {"torrents": [], "bytes": []}
        for _ in range(args.rounds):
            for way in results:
                seconds, files = run(exe, way, folder)
                if files != COUNT:
                    sys.exit(f"{way} took {files} files of {COUNT}")
                results[way].append(seconds)
        print(f"{COUNT} files, {total_mb:.1f} MB")
        for way, runs in results.items():
            print(f"{way:>9}: median {statistics.median(runs):.3f} s  ({', '.join(f'{s:.3f}' for s in runs)})")


if __name__ == "__main__":
    main()
