import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import STANDIN, Answer, ServerProcess, client_reading, exchange, get_json, post_json, request  # noqa: E402

server = None
LINK = "magnet:?xt=urn:btih:" + "01" * 20 + "&dn=x"
RESOLVE = f"/interface/url_query?callback=queryUrl&u={LINK}&interfrom=task"
BODY = ("uid=100001&btname=%E5%B1%B1%E6%B5%B7%E4%B9%8B%E9%97%B4%204K%20%E7%BA%AA%E5%BD%95%E7%89%87"
        "&cid=" + "01" * 20 + "&goldbean=0&silverbean=0&tsize=1610612736&findex=0_&size=1610612736_"
        "&o_taskid=0&o_page=task&class_id=0&interfrom=task").encode("ascii")


def setUpModule():
    global server
    server = ServerProcess(STANDIN)


def tearDownModule():
    server.stop()


def resolve(port=None, target=RESOLVE):
    return request(port or server.port, "GET", target)


def commit(port=None):
    return request(port or server.port, "POST", "/interface/bt_task_commit?callback=jsonp42",
                   ["Cookie: userid=100001"], BODY)


def raw_resolve(port=None):
    head = f"GET {RESOLVE} HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n".encode("ascii")
    return exchange(port or server.port, head)


def set_faults(value):
    answer = post_json(server.port, "/_standin/faults", value)
    assert answer.status == 200, answer.text()


class ResolveFaultTest(unittest.TestCase):
    def setUp(self):
        post_json(server.port, "/_standin/reset", {})

    def test_answer_faults(self):
        cases = {
            "drop": lambda data: self.assertEqual(data, b""),
            "status500": lambda data: self.assertEqual(Answer(data).status, 500),
            "malformed": lambda data: self.assertEqual(client_reading(Answer(data).text()), {}),
            "truncated": lambda data: self.assertLess(len(Answer(data).body),
                                                      int(Answer(data).header_values("Content-Length")[0])),
            "refuse": lambda data: self.assertTrue(Answer(data).text().startswith("queryUrl(0,")),
            "big_headers": lambda data: self.assertGreater(Answer(data).head_length, 5000),
        }
        for kind, check in cases.items():
            with self.subTest(kind):
                set_faults({kind: {"target": "resolve"}})
                check(raw_resolve())
                set_faults({})
                self.assertEqual(client_reading(resolve().text())["title"], "山海之间 4K 纪录片")

    def test_delay(self):
        set_faults({"delay": {"ms": 300}})
        started = time.monotonic()
        self.assertEqual(resolve().status, 200)
        self.assertGreaterEqual(time.monotonic() - started, 0.3)

    def test_redirect_to_own_address_under_a_prefix_is_served_once(self):
        set_faults({"redirect": {"location": f"http://127.0.0.1:{server.port}/moved", "count": 1}})
        first = resolve()
        self.assertEqual(first.status_line, "HTTP/1.1 301 Moved Permanently")
        self.assertEqual(first.header_values("Location"), [f"http://127.0.0.1:{server.port}/moved"])
        # The client asks the Location followed by the original path and query.
        followed = resolve(target="/moved" + RESOLVE)
        self.assertEqual(client_reading(followed.text())["cid"], "01" * 20)
        self.assertEqual(get_json(server.port, "/_standin/faults"), {})

    def test_redirect_defaults_to_the_host_asked_for(self):
        set_faults({"redirect": True})
        self.assertEqual(resolve().header_values("Location"), [f"http://127.0.0.1:{server.port}"])

    def test_refusal_targets_only_listed_hashes(self):
        set_faults({"refuse": {"hashes": ["AEAQCAIBAEAQCAIBAEAQCAIBAEAQCAIB"], "target": "resolve"}})
        self.assertTrue(resolve().text().startswith("queryUrl(0,"))
        other = resolve(target=RESOLVE.replace("01" * 20, "02" * 20))
        self.assertTrue(other.text().startswith("queryUrl(1,"))

    def test_count_runs_out(self):
        set_faults({"status500": {"count": 2}})
        self.assertEqual([resolve().status for _ in range(3)], [500, 500, 200])


class CommitFaultTest(unittest.TestCase):
    def setUp(self):
        post_json(server.port, "/_standin/reset", {})
        resolve()

    def test_commit_faults_and_whether_a_task_is_made(self):
        def error_page(status, body):
            return lambda a: self.assertEqual((a.status, bool(a.body)), (status, body))

        cases = [
            ("refuse", {}, lambda a: self.assertIn('"id":null', a.text()), False),
            ("status500", {}, lambda a: self.assertEqual(a.status, 500), False),
            ("error_status", {"status": 502}, error_page(502, True), False),
            ("error_status", {"status": 503, "body": False}, error_page(503, False), False),
            ("html_page", {}, lambda a: self.assertTrue(a.text().startswith("<html>")), False),
            ("bad_jsonp", {}, lambda a: self.assertTrue(a.text().startswith("{")), True),
            ("answer_form", {"form": "try_catch"}, lambda a: self.assertTrue(a.text().startswith("try{jsonp42(")),
             True),
            ("answer_form", {"form": "alert_back"}, lambda a: self.assertIn("history.back()", a.text()), False),
            ("answer_form", {"form": "no_space"}, lambda a: self.assertIn('-1,"msg":"空间不足"', a.text()), False),
            ("answer_form", {"form": "null_beside_id"}, lambda a: self.assertIn('"msg":null', a.text()), True),
            ("malformed", {}, lambda a: self.assertNotIn("null", a.text()), True),
            ("truncated", {}, lambda a: self.assertEqual(a.text(), 'jsonp42({"id":"10000'), True),
            ("huge", {"bytes": 3000000}, lambda a: self.assertEqual((len(a.body), a.text()[-3:]), (3000000, '"})')),
             True),
            ("reset", {}, lambda a: self.assertLess(len(a.body), int(a.header_values("Content-Length")[0])), False),
            ("trickle", {"ms": 2500}, lambda a: self.assertEqual(a.data, b"HTT"), False),
            ("silent", {"ms": 300}, lambda a: self.assertEqual(a.data, b""), False),
            ("long_header", {"bytes": 100000}, lambda a: self.assertEqual(len(a.header_values("X-Long")[0]), 100000),
             True),
            ("error_status", {"status": 429, "retry_after": "2"},
             lambda a: self.assertEqual((a.status, a.header_values("Retry-After")), (429, ["2"])), False),
            ("too_fast", {}, lambda a: self.assertIn('"msg":"操作过于频繁', a.text()), False),
            ("signed_out", {}, lambda a: self.assertIn('"msg":"未登录"', a.text()), False),
            ("close_after_post", {}, lambda a: self.assertEqual(a.data, b""), True),
            ("late", {"ms": 300}, lambda a: self.assertIn('"id":"1', a.text()), True),
        ]
        for kind, settings, check, task_made in cases:
            with self.subTest(kind, **settings):
                set_faults({kind: {"target": "commit", **settings}})
                self.assertEqual(client_reading(resolve().text())["tsize"], "1610612736")
                check(commit())
                self.assertEqual(get_json(server.port, "/_standin/commits")[-1]["accepted"], task_made)

    def test_faults_aim_at_links_and_come_in_lists(self):
        other = "02" * 20
        set_faults({"error_status": [{"status": 502, "hashes": [other]}, {"status": 503, "hashes": ["01" * 20], "target": "commit"}],
                    "drop": {"hashes": [other]}})
        self.assertEqual(commit().status, 503)
        self.assertEqual(resolve().status, 200)
        self.assertEqual(resolve(target=RESOLVE.replace("01" * 20, other)).data, b"")

    def test_redirects_elsewhere_and_in_a_loop(self):
        set_faults({"redirect": [{"location": "elsewhere", "status": 302, "hashes": ["01" * 20]}]})
        location = commit().header_values("Location")[0]
        port = int(location.split(":")[2].split("/")[0])
        self.assertNotEqual(port, server.port)
        page = request(port, "POST", location.split(str(port), 1)[1], ["Cookie: userid=100001"], BODY)
        self.assertEqual(page.text(), "<html><body>elsewhere</body></html>")
        [seen] = get_json(server.port, "/_standin/elsewhere")
        self.assertIn(["Cookie", "userid=100001"], seen["headers"])
        set_faults({"redirect": {"location": "loop", "status": 302}})
        loop = commit().header_values("Location")[0]
        self.assertTrue(loop.endswith("/redirect-loop"))
        self.assertEqual(request(server.port, "GET", "/redirect-loop").header_values("Location"), [loop])

    def test_dropped_commit_is_recorded_without_task(self):
        set_faults({"drop": {"target": "commit"}})
        head = (f"POST /interface/bt_task_commit?callback=jsonp1 HTTP/1.1\r\nHost: x\r\nCookie: userid=100001\r\n"
                f"Content-Length: {len(BODY)}\r\n\r\n").encode("ascii")
        self.assertEqual(exchange(server.port, head + BODY), b"")
        [record] = get_json(server.port, "/_standin/commits")
        self.assertEqual((record["fault"], record["accepted"]), ("drop", False))

    def test_resolve_faults_leave_commits_alone(self):
        set_faults({"status500": {"target": "resolve"}, "refuse": {"target": "resolve"}})
        self.assertEqual(commit().text(), 'jsonp42({"id":"1000000001","progress":1})')


class FaultControlTest(unittest.TestCase):
    def test_bad_fault_settings_are_refused(self):
        for value in [{"flood": {}}, {"drop": {"target": "web"}}, {"refuse": {"hashes": ["xyz"]}},
                      {"delay": {"ms": -1}}, {"drop": {"colour": 1}}, ["drop"]]:
            with self.subTest(value=value):
                self.assertEqual(post_json(server.port, "/_standin/faults", value).status, 400)

    def test_command_line_faults_come_back_after_reset(self):
        own = ServerProcess(STANDIN, "--fault", "delay:5@resolve", "--fault", "refuse:" + "0e" * 20 + "@commit")
        try:
            expected = {"delay": {"target": "resolve", "count": None, "ms": 5},
                        "refuse": {"target": "commit", "count": None, "hashes": ["0e" * 20]}}
            self.assertEqual(get_json(own.port, "/_standin/faults"), expected)
            post_json(own.port, "/_standin/faults", {})
            post_json(own.port, "/_standin/reset", {})
            self.assertEqual(get_json(own.port, "/_standin/faults"), expected)
        finally:
            own.stop()


class HelpTest(unittest.TestCase):
    def test_help_names_every_fault_kind(self):
        from tools.standin.faults import KINDS
        shown = "".join(subprocess.run([sys.executable, str(STANDIN), "--help"], capture_output=True, text=True).stdout.split())
        self.assertEqual([k for k in KINDS if k.replace("_", "-") not in shown], [])


if __name__ == "__main__":
    unittest.main()
