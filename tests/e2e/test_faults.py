"""One batch against a service that misbehaves in every way at once: every link gets a row, no row
claims a task the service did not create, and no link holds the worker past the request limit."""

import os
import statistics
import sys
import time
import unittest

from harness import REPO, MAIN_CAPTION, E2ETestCase, temporary_text_file
import batch_steps as steps

sys.path.insert(0, str(REPO))
from tools.standin.catalogue import Catalogue  # noqa: E402

USER, USER_ID = "demo", "100001"
# The program's overall limit per request, and what a link may take beyond it (two requests, the
# rows and the wait that follow).
REQUEST_LIMIT_S = 30
SLACK_S = 5


def link(byte):
    return f"magnet:?xt=urn:btih:{byte * 20}&dn=x"


# What each link's answers do: (fault kind, settings, target). Links left out are answered well.
FAULTS = {
    "02": ("drop", {}, "commit"),
    "03": ("reset", {}, "commit"),
    "04": ("error_status", {"status": 500}, "commit"),
    "05": ("error_status", {"status": 500, "body": False}, "commit"),
    "06": ("error_status", {"status": 502}, "commit"),
    "07": ("error_status", {"status": 502, "body": False}, "commit"),
    "08": ("error_status", {"status": 503}, "commit"),
    "09": ("error_status", {"status": 503, "body": False}, "commit"),
    "0a": ("truncated", {}, "commit"),
    "0b": ("html_page", {}, "commit"),
    "0c": ("bad_jsonp", {}, "commit"),
    "0d": ("huge", {}, "commit"),
    "0f": ("long_header", {}, "commit"),
    "10": ("silent", {}, "commit"),
    "11": ("trickle", {}, "commit"),
    "12": ("redirect", {"location": "loop", "status": 302}, "commit"),
    "13": ("redirect", {"location": "elsewhere", "status": 302}, "commit"),
    "14": ("drop", {}, "resolve"),
    "15": ("silent", {}, "resolve"),
    "16": ("html_page", {}, "resolve"),
}


def fault_settings():
    faults = {}
    for byte, (kind, settings, target) in FAULTS.items():
        faults.setdefault(kind, []).append({**settings, "target": target, "hashes": [byte * 20]})
    return faults


class FaultyServiceTest(E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

    def test_one_batch_mixing_good_links_and_every_fault(self):
        s = self.session
        catalogue = Catalogue.load()
        bytes_ = [f"{n:02x}" for n in range(1, 0x22)]
        links = [link(b) for b in bytes_]
        path = temporary_text_file("".join(f"{one}\n" for one in links))
        self.addCleanup(os.unlink, path)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, path, len(links))
        self.standin.set_faults(fault_settings())

        steps.start_batch(s, "0")
        box = steps.wait_all_done(s, timeout_ms=len(links) * (REQUEST_LIMIT_S + SLACK_S) * 1000)
        ended = time.time()
        s.screenshot("faults_batch")

        rows = steps.report_rows(s)
        made_rows = sum(row[4] == steps.SUBMITTED for row in rows)
        self.assertEqual((box.title, box.text), (steps.DEFAULT_TITLE,
                         f"{steps.ALL_DONE}\n成功{made_rows}条，失败{len(rows) - made_rows}条。"))
        self.assertEqual([row[0] for row in rows], [str(i) for i in range(1, len(links) + 1)])
        self.assertEqual([row[3] for row in rows], links)
        commits = self.standin.commits()
        made = {c["cid"] for c in commits if c["accepted"]}
        cids = [catalogue.lookup(b * 20).cid for b in bytes_]
        false_successes = [row[0] for row, cid in zip(rows, cids) if row[4] == steps.SUBMITTED and cid not in made]
        self.assertEqual(false_successes, [])
        # A fault that leaves no task is a failure; a well-answered link other than the blocked one a success.
        for byte, row, cid in zip(bytes_, rows, cids):
            if cid not in made:
                self.assertEqual(row[4], steps.FAILED, byte)
            elif byte not in FAULTS:
                self.assertEqual(row[4], steps.SUBMITTED, byte)
        self.assertEqual(rows[bytes_.index("0e")][4], steps.FAILED)

        # The redirect to another port carried neither the login cookies nor any Authorization line.
        elsewhere = self.standin.get_json("/_standin/elsewhere")
        self.assertEqual(len(elsewhere), 1)
        names = [name.lower() for name, _ in elsewhere[0]["headers"]]
        self.assertNotIn("cookie", names)
        self.assertNotIn("authorization", names)
        self.assertEqual(elsewhere[0]["method"], "GET")

        # How long each link held the worker: from its resolve request to the next link's.
        starts = {}
        for request in self.standin.requests():
            for byte in bytes_:
                if request["role"] == "interface" and byte * 20 in request["path"] and byte not in starts:
                    starts[byte] = request["time"]
        self.assertEqual(len(starts), len(bytes_))
        times = [starts[b] for b in bytes_] + [ended]
        held = {b: times[i + 1] - times[i] for i, b in enumerate(bytes_)}
        longest = max(held, key=held.get)
        print(f"\nlinks {len(links)}: held the worker max {held[longest]:.1f} s (link {longest}, "
              f"{FAULTS.get(longest, ('good',))[0]}), median {statistics.median(held.values()):.2f} s; "
              f"rows submitted {sum(r[4] == steps.SUBMITTED for r in rows)}, tasks made {len(made)}",
              file=sys.stderr)
        for byte in sorted(held, key=held.get, reverse=True)[:6]:
            print(f"  {byte} {FAULTS.get(byte, ('good',))[0]}: {held[byte]:.1f} s", file=sys.stderr)
        self.assertLess(held[longest], REQUEST_LIMIT_S + SLACK_S)


if __name__ == "__main__":
    unittest.main()
