"""The resolve and commit requests of the Windows build against the stand-in offline service.

Run by CTest in the win32 tree: BRINDOR_PROBE names protocol_probe.exe, BRINDOR_WINE the command
that runs it, BRINDOR_INTERFACE_HOST and BRINDOR_WEB_HOST the build's hosts (one port for both)."""

import json
import os
import subprocess
import sys
import time
import unittest
import urllib.parse
import urllib.request
from pathlib import Path

REPO = Path(__file__).resolve().parents[4]
sys.path.insert(0, str(REPO))
from tests.tools.harness import clear_wine_cookies  # noqa: E402

USER_ID = "100001"


def magnet(byte, extra=""):
    return f"magnet:?xt=urn:btih:{byte * 20}{extra}"


def canonical_btname(title):
    return "".join(chr(b) if chr(b).isascii() and (chr(b).isalnum() or chr(b) in "-.") else f"%{b:02X}"
                   for b in title.encode("utf-8"))


class Standin:
    def __init__(self, host, port):
        self.origin = f"http://{host}:{port}"
        self.proc = subprocess.Popen(
            [sys.executable, str(REPO / "tools" / "standin" / "serve.py"), "--host", host, "--port", str(port),
             "--auto-signin", f"probe:{USER_ID}"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        line = self.proc.stdout.readline().decode()
        if "listening" not in line:
            self.stop()
            raise RuntimeError(f"stand-in did not start on port {port}: {line!r}")

    def stop(self):
        self.proc.terminate()
        self.proc.wait(5)
        self.proc.stdout.close()

    def call(self, path, value=None):
        data = None if value is None else json.dumps(value).encode()
        with urllib.request.urlopen(urllib.request.Request(self.origin + path, data=data), timeout=30) as answer:
            return json.loads(answer.read().decode("utf-8"))


class Probe:
    """One run of protocol_probe.exe: a list of commands in, one dictionary of decoded bytes per command out."""

    @staticmethod
    def run(*commands):
        lines = []
        for command in commands:
            name, *texts = command
            lines.append(" ".join([name, *(text.hex().upper() for text in texts)]))
        wine = os.environ.get("BRINDOR_WINE", "")
        argv = ([wine] if wine else []) + [os.environ["BRINDOR_PROBE"]]
        done = subprocess.run(argv, input="\n".join(lines) + "\n", capture_output=True, text=True, timeout=120)
        answers = []
        for line in done.stdout.splitlines():
            name, *pairs = line.split(" ")
            answer = {"command": name}
            for pair in pairs:
                key, _, value = pair.partition("=")
                answer[key] = value if key == "accepted" else bytes.fromhex(value)
            answers.append(answer)
        if len(answers) != len(commands):
            raise AssertionError(f"probe answered {len(answers)} of {len(commands)} commands: {done.stderr}")
        return answers


class ProtocolServiceTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        host, _, port = os.environ["BRINDOR_INTERFACE_HOST"].rpartition(":")
        if os.environ.get("BRINDOR_WEB_HOST") != os.environ["BRINDOR_INTERFACE_HOST"]:
            raise unittest.SkipTest("the web and interface hosts differ: one stand-in cannot play both")
        clear_wine_cookies(os.environ.get("WINEPREFIX", REPO / "build" / "wineprefix"))
        cls.standin = Standin(host, int(port))
        cls.addClassCleanup(cls.standin.stop)
        cls.addClassCleanup(cls.sign_out)
        cls.catalogue = {entry["hash"][:2]: entry for entry in cls.standin.call("/_standin/catalogue")}

    @classmethod
    def sign_out(cls):
        # Cookies go by host, not port: the login cookies would ride along with every later
        # request of the prefix to this host, whichever server listens there.
        cls.standin.call("/_standin/options", {"auto_signin": None, "auto_signout": True})
        Probe.run(("taskpage",), ("resolve", b"x"))
        headers = cls.standin.call("/_standin/requests")[-1]["headers"]
        if any(name.lower() == "cookie" for name, _ in headers):
            raise AssertionError(f"login cookies left in the store: {headers}")

    def setUp(self):
        self.standin.call("/_standin/reset", {})

    def expect_resolved(self, answer, byte):
        entry = self.catalogue[byte]
        self.assertEqual(answer["cid"].decode(), entry["cid"])
        self.assertEqual(answer["tsize"].decode(), str(entry["tsize"]))
        self.assertEqual(answer["title"].decode("gbk"), entry["client_title"])
        self.assertEqual(answer["findex"].decode(), entry["findex"])
        self.assertEqual(answer["size"].decode(), entry["size"])

    def test_resolve_reads_catalogue_entries_with_and_without_charset(self):
        # Chinese, comma and apostrophes, kana, "utf-8" early in the body, twelve files, an empty title.
        bytes_ = ["01", "0a", "11", "13", "0b", "1e"]
        # A header block too long for the request routine hides the charset from it as well.
        for charset, faults in ((True, {}), (False, {}), (True, {"big_headers": {"bytes": 6000}})):
            with self.subTest(charset=charset, faults=faults):
                self.standin.call("/_standin/options", {"charset": charset})
                self.standin.call("/_standin/faults", faults)
                answers = Probe.run(*[("resolve", magnet(b).encode()) for b in bytes_])
                for byte, answer in zip(bytes_, answers):
                    with self.subTest(entry=byte):
                        self.expect_resolved(answer, byte)

    def test_commit_is_recorded_with_twelve_fields_in_order(self):
        before = time.time() * 1000
        answers = Probe.run(("taskpage",), *[("commit", USER_ID.encode(), magnet(b).encode())
                                           for b in ("01", "0b", "10", "0f")])
        after = time.time() * 1000
        commits = self.standin.call("/_standin/commits")
        self.assertEqual(len(commits), 4)
        for byte, answer, commit in zip(("01", "0b", "10", "0f"), answers[1:], commits):
            with self.subTest(entry=byte):
                entry = self.catalogue[byte]
                self.assertEqual(answer["accepted"], "1")
                self.assertTrue(commit["accepted"], commit["problems"])
                self.assertEqual(commit["fields"], [
                    ["uid", USER_ID], ["btname", canonical_btname(entry["client_title"])], ["cid", entry["cid"]],
                    ["goldbean", "0"], ["silverbean", "0"], ["tsize", str(entry["tsize"])],
                    ["findex", entry["findex"]], ["size", entry["size"]], ["o_taskid", "0"], ["o_page", "task"],
                    ["class_id", "0"], ["interfrom", "task"]])
                self.assertEqual(commit["body"], answer["body"].decode())
                self.assertTrue(commit["btname_canonical"])
                self.assertEqual(commit["title"], entry["client_title"])
                self.assertRegex(commit["timestamp"], r"^\d{13}$")
                self.assertTrue(before - 1000 <= int(commit["timestamp"]) <= after + 1000)
        stamps = [int(commit["timestamp"]) for commit in commits]
        self.assertEqual(stamps, sorted(set(stamps)))  # a fresh one for every commit
        paths = [r["path"] for r in self.standin.call("/_standin/requests") if "bt_task_commit" in r["path"]]
        self.assertEqual(paths, [f"/interface/bt_task_commit?callback=jsonp{c['timestamp']}" for c in commits])

    def test_null_in_the_answer_marks_a_refusal(self):
        self.standin.call("/_standin/faults", {"drop": {"target": "commit"}})
        dropped, = Probe.run(("commit", USER_ID.encode(), magnet("05").encode()))
        self.assertEqual((dropped["commit"], dropped["accepted"]), (b"", "0"))  # a failed exchange confirms nothing
        self.standin.call("/_standin/faults", {})
        answers = Probe.run(("taskpage",),
                            ("commit", USER_ID.encode(), magnet("0e").encode()),  # blocked entry
                            ("commit", b"999", magnet("05").encode()),            # someone else's id
                            ("commit", USER_ID.encode(), magnet("05").encode()))
        self.assertEqual([a["accepted"] for a in answers[1:]], ["0", "0", "1"])
        self.assertIn(b"null", answers[1]["commit"])
        self.assertIn(b"null", answers[2]["commit"])
        self.assertRegex(answers[3]["commit"].decode(), r'^jsonp\d{13}\(\{"id":"\d+","progress":1\}\)$')

    def test_magnet_parameters_reach_the_service_as_query_parameters(self):
        link = magnet("01", "&dn=Shan+Hai%20Jian&tr=udp://tracker.example:80/announce&xl=1610612736")
        answer, = Probe.run(("resolve", link.encode()))
        self.expect_resolved(answer, "01")
        path = self.standin.call("/_standin/requests")[-1]["path"]
        self.assertEqual(path, f"/interface/url_query?callback=queryUrl&u={link}&interfrom=task")
        self.assertEqual([k for k, _ in urllib.parse.parse_qsl(urllib.parse.urlsplit(path).query)],
                         ["callback", "u", "dn", "tr", "xl", "interfrom"])

    def test_unsafe_link_bytes_are_escaped_in_the_request_line(self):
        link = magnet("01", "&dn=\u5c71\u6d77 x\t#1").encode("gbk") + b"\r"
        answer, = Probe.run(("resolve", link))
        self.expect_resolved(answer, "01")
        path = self.standin.call("/_standin/requests")[-1]["path"]
        self.assertEqual(path, "/interface/url_query?callback=queryUrl&u=" + magnet("01")
                         + "&dn=%C9%BD%BA%A3%20x%09%231%0D&interfrom=task")

    def test_answers_with_too_few_pieces(self):
        self.standin.call("/_standin/faults", {"malformed": {"target": "resolve"}})
        answer, = Probe.run(("resolve", magnet("01").encode()))
        self.assertEqual(answer["cid"].decode(), self.catalogue["01"]["cid"])
        self.assertEqual((answer["tsize"], answer["title"], answer["findex"], answer["size"]), (b"", b"", b"", b""))

    def test_failed_resolve_leaves_the_fields_empty(self):
        answers = []
        for fault in ("drop", "status500"):
            self.standin.call("/_standin/faults", {fault: {"target": "resolve"}})
            answers += Probe.run(("resolve", magnet("01").encode()))
        self.standin.call("/_standin/faults", {})
        answers += Probe.run(("resolve", b"not a magnet link"))
        for answer in answers:
            self.assertEqual((answer["cid"], answer["tsize"], answer["title"]), (b"", b"", b""))
        self.assertEqual(answers[2]["findex"], b"_")

if __name__ == "__main__":
    unittest.main()
