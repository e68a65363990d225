"""HttpRequest under Wine against the scriptable test server.

Each case scripts the answers, runs http_request_probe.exe (which calls HttpRequest and prints
what it returned and left in the caller's variables) and compares the requests the server
received, byte for byte, with the request the routine composes. WinInet puts its own Host,
Content-Length and User-Agent lines first, keeps one line per header name (a later line of the
same name takes the earlier one's place) and appends the cookies of its store; `wire` models
exactly that framing and nothing more.
"""

import base64
import os
import subprocess
import sys
import time
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[4]
sys.path.insert(0, str(REPO))
from tests.tools.harness import AGENT, HTTPSCRIPT, ServerProcess, clear_wine_cookies, get_json, post_json  # noqa: E402

PROBE = os.environ.get("BRINDOR_HTTP_PROBE", str(REPO / "build/win32/tests/net/http/win/http_request_probe.exe"))
WINE_RUN = REPO / "scripts" / "wine-run.sh"

DEFAULTS = ["Accept: */*", "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded"]
WINEPREFIX = Path(os.environ.get("WINEPREFIX", REPO / "build" / "wineprefix"))
URL_CACHE = WINEPREFIX / "drive_c/users" / os.environ.get("USER", "root") / "AppData/Local/Microsoft/Windows/INetCache"
# The probe's overall limit per call (the program's is 30 s); a call may take a little longer to be seen ending.
REQUEST_LIMIT_S = int(os.environ.get("BRINDOR_REQUEST_LIMIT_MS", "30000")) / 1000


def answer(body=b"ok", status="HTTP/1.1 200 OK", headers=()):
    body = body if isinstance(body, bytes) else body.encode()
    lines = [*headers, f"Content-Length: {len(body)}", "Connection: close"]
    return {"status_line": status, "headers": "\r\n".join(lines), "body_b64": base64.b64encode(body).decode()}


def wire(request_line, host, block, body=b"", agent=AGENT, stored_cookie=None, content_length=None):
    """The bytes WinInet sends for a composed header block."""
    lines = [f"Host: {host}"]
    if content_length is not None:
        lines.append(f"Content-Length: {content_length}")
    lines.append(f"User-Agent: {agent}")
    for line in block.split("\r\n") if block else []:
        name = line.split(":", 1)[0].strip().lower()
        same = [i for i, old in enumerate(lines) if old.split(":", 1)[0].strip().lower() == name]
        if same:
            lines[same[0]] = line
        else:
            lines.append(line)
    if stored_cookie:
        lines.append(f"Cookie: {stored_cookie}")
    return (request_line + "\r\n" + "".join(line + "\r\n" for line in lines) + "\r\n").encode() + body


class HttpRequestUnderWine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # Login cookies of other tests on 127.0.0.1 would ride along on every request.
        clear_wine_cookies(os.environ.get("WINEPREFIX", REPO / "build" / "wineprefix"))
        cls.server = ServerProcess(HTTPSCRIPT)
        cls.host = f"127.0.0.1:{cls.server.port}"
        cls.origin = f"http://{cls.host}"
        cls.url = cls.origin + "/p/q?x=1"

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def setUp(self):
        post_json(self.server.port, "/_script/reset", {})

    def queue(self, *answers):
        post_json(self.server.port, "/_script/next", list(answers))

    def call(self, *calls, timeout=120):
        """Runs the probe with one dict of parameters per HttpRequest call; returns its outputs."""
        args = [str(WINE_RUN), PROBE]
        for i, params in enumerate(calls):
            if i:
                args.append("--")
            for name, value in params.items():
                value = value if isinstance(value, bytes) else str(value).encode("latin-1")
                args.append(f"{name}={value.hex()}")
        done = subprocess.run(args, capture_output=True, timeout=timeout)
        self.assertEqual(done.returncode, 0, done.stderr[-2000:])
        results, current = [], {}
        for line in done.stdout.decode("ascii").splitlines():
            if line == "end":
                results.append(current)
                current = {}
            elif "=" in line:
                name, value = line.split("=", 1)
                current[name] = bytes.fromhex(value.strip())
        self.assertEqual(len(results), len(calls))
        return results

    def received(self, count):
        records = get_json(self.server.port, f"/_script/requests?wait={count}")
        self.assertEqual(len(records), count, [r["request_line"] for r in records])
        return [base64.b64decode(r["raw_b64"]) for r in records]

    def block(self, *caller_lines, cookie=None, url=None):
        lines = [*caller_lines, f"Referer: {url or self.url}", *DEFAULTS]
        if cookie:
            lines.append(f"Cookie: {cookie}")
        return "\r\n".join(lines)

    # Composition of the request.

    def test_get_sends_default_lines_and_no_body(self):
        self.queue(answer())
        out, = self.call({"url": self.url, "headers": "", "body": "ignored"})
        block = self.block()
        self.assertEqual(out["headers"], block.encode())
        self.assertEqual(out["result"], b"ok")
        self.assertEqual(self.received(1), [wire("GET /p/q?x=1 HTTP/1.1", self.host, block)])

    def test_method_selects_verb_and_body(self):
        self.queue(answer(), answer(), answer())
        post, get_with_body, from_bytes = self.call(
            {"url": self.url, "method": 1, "body": "a=1&b=2", "bytes": b""},
            {"url": self.url, "method": 2, "body": "k=v", "bytes": b""},
            {"url": self.url, "method": 1, "body": "unused", "bytes": b"x\0y"})
        # An empty byte body is replaced by the text body, and the caller sees the replacement.
        self.assertEqual(post["bytes"], b"a=1&b=2")
        self.assertEqual(get_with_body["bytes"], b"k=v")
        self.assertEqual(from_bytes["bytes"], b"x\0y")
        block = self.block()
        self.assertEqual(self.received(3), [
            wire("POST /p/q?x=1 HTTP/1.1", self.host, block, b"a=1&b=2", content_length=7),
            wire("GET /p/q?x=1 HTTP/1.1", self.host, block, b"k=v", content_length=3),
            wire("POST /p/q?x=1 HTTP/1.1", self.host, block, b"x\0y", content_length=3)])

    def test_caller_lines_and_letter_case(self):
        self.queue(answer(), answer())
        agent, referer = self.call({"url": self.url, "headers": "user-agent: X 1\r\nAccept: text/plain"},
                                   {"url": self.url, "headers": "referer: http://other/"})
        agent_block = "\r\n".join(["user-agent: X 1", "Accept: text/plain", f"Referer: {self.url}",
                                   "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded"])
        self.assertEqual(agent["headers"], agent_block.encode())
        # The search for "Referer:" is case-sensitive, so the default line is added all the same.
        referer_block = self.block("referer: http://other/")
        self.assertEqual(referer["headers"], referer_block.encode())
        self.assertEqual(self.received(2), [
            wire("GET /p/q?x=1 HTTP/1.1", self.host, agent_block, agent="X 1"),
            wire("GET /p/q?x=1 HTTP/1.1", self.host, referer_block)])

    def test_proxy_given(self):
        self.queue(answer())
        out, = self.call({"url": "http://example.invalid/x?y", "proxy": self.host, "headers": ""})
        self.assertEqual(out["result"], b"ok")
        block = self.block(url="http://example.invalid/x?y")
        self.assertEqual(self.received(1), [wire("GET http://example.invalid:80/x?y HTTP/1.1", "example.invalid",
                                                 block)])

    # The answer's header block.

    def test_set_cookie_and_location_lines(self):
        self.queue(answer(headers=["Set-Cookie: a=1; path=/", "Set-Cookie: b=2; expires=X"]),
                   answer(headers=["Set-Cookie: c=3"]),
                   answer(headers=["Content-Location: /other"]))
        two, without_semicolon, content_location = self.call(
            {"url": self.url, "cookies": ""}, {"url": self.url, "cookies": ""}, {"url": self.url})
        self.assertEqual(two["cookies_out"], b"a=1;b=2")
        self.assertEqual(two["cookies"], b"a=1; b=2")
        self.assertEqual(without_semicolon["cookies_out"], b"c=3")
        self.assertEqual(content_location["location"], b"/other")
        self.assertEqual(content_location["cookies_out"], b"")

    def test_header_block_without_location_is_the_location(self):
        self.queue(answer(headers=["X-A: 1"]))
        out, = self.call({"url": self.url})
        raw = b"HTTP/1.1 200 OK\r\nX-A: 1\r\nContent-Length: 2\r\nConnection: close\r\n\r\n"
        self.assertEqual(out["raw"], raw)
        self.assertEqual(out["location"], raw)

    def test_long_header_blocks_are_read_whole(self):
        def sized(total):
            # Many short lines: WinInet cuts a single line near 4 KB.
            lines = ["Set-Cookie: a=1", f"Location: {self.origin}/moved", "Content-Type: text/html; charset=utf-8"]
            lines += ["X-Pad%03d: %s" % (i, "p" * 88) for i in range(total // 100)]
            return answer(b"", "HTTP/1.1 301 Moved", lines)
        for total in (5000, 20000):
            with self.subTest(total):
                post_json(self.server.port, "/_script/reset", {})
                self.queue(sized(total), answer(headers=["X-B: 2"]))
                out, = self.call({"url": self.url, "noredirect": 1, "cookies": ""})
                self.assertEqual((out["result"], out["cookies"], out["status"]), (b"ok", b"a=1", b"200"))
                self.assertEqual(self.received(2)[1].split(b"\r\n")[0], b"GET /moved/p/q?x=1 HTTP/1.1")

    # Redirects.

    def test_only_http11_301_moved_is_followed(self):
        location = [f"Location: {self.origin}/elsewhere"]
        self.queue(answer(b"a", "HTTP/1.0 301 Moved Permanently", location),
                   answer(b"b", "HTTP/1.1 302 Found", location),
                   answer(b"c", "HTTP/1.1 301 Permanent Redirect", location))
        outs = self.call(*[{"url": self.url, "noredirect": 1}] * 3)
        self.assertEqual([o["result"] for o in outs], [b"a", b"b", b"c"])
        self.assertEqual([o["location"] for o in outs], [f"{self.origin}/elsewhere".encode()] * 3)
        self.assertEqual(len(self.received(3)), 3)

    def test_followed_301_keeps_path_lines_and_cookies(self):
        self.queue(answer(b"m", "HTTP/1.1 301 Moved Permanently", [f"Location: {self.origin}", "Set-Cookie: s=2"]),
                   answer(b"n", "HTTP/1.1 301 Moved", [f"Location: {self.origin}/new"]),
                   answer(b"done"))
        out, = self.call({"url": self.url, "noredirect": 1, "cookies": "c=1", "headers": ""})
        self.assertEqual(out["result"], b"done")
        self.assertEqual(out["cookies"], b"s=2; c=1")
        self.assertEqual(out["location"], b"HTTP/1.1 200 OK\r\nContent-Length: 4\r\nConnection: close\r\n\r\n")
        # Each hop appends its own Cookie line to the one block; WinInet sends the last of them.
        first = self.block(cookie="c=1")
        second = first + "\r\nCookie: s=2; c=1"
        third = second + "\r\nCookie: s=2; c=1"
        self.assertEqual(out["headers"], third.encode())
        self.assertEqual(self.received(3), [
            wire("GET /p/q?x=1 HTTP/1.1", self.host, first),
            wire("GET /p/q?x=1 HTTP/1.1", self.host, second),
            wire("GET /new/p/q?x=1 HTTP/1.1", self.host, third)])

    def test_redirects_followed_for_the_client_are_bounded_too(self):
        loop = answer(b"loop", "HTTP/1.1 302 Found", [f"Location: {self.origin}/again"])
        self.queue(*[loop] * 12)
        out, = self.call({"url": self.url})
        requests = self.received(11)
        self.assertEqual(get_json(self.server.port, "/_script/pending"), {"queued": 1})
        self.assertEqual(out["result"], b"loop")
        self.assertEqual([r.split(b"\r\n")[0] for r in requests],
                         [b"GET /p/q?x=1 HTTP/1.1"] + [b"GET /again HTTP/1.1"] * 10)

    def test_redirect_method_and_body_rules(self):
        cases = [("HTTP/1.1 301 Moved Permanently", b"GET", b""), ("HTTP/1.1 302 Found", b"GET", b""),
                 ("HTTP/1.1 303 See Other", b"GET", b""), ("HTTP/1.1 307 Temporary Redirect", b"POST", b"a=1"),
                 ("HTTP/1.1 308 Permanent Redirect", b"POST", b"a=1")]
        for status, verb, body in cases:
            with self.subTest(status):
                post_json(self.server.port, "/_script/reset", {})
                self.queue(answer(b"", status, ["Location: /next"]), answer(b"done"))
                out, = self.call({"url": self.url, "method": 1, "body": "a=1"})
                self.assertEqual(out["result"], b"done")
                followed = self.received(2)[1]
                self.assertTrue(followed.startswith(verb + b" /next HTTP/1.1\r\n"), followed)
                self.assertTrue(followed.endswith(b"\r\n\r\n" + body), followed)

    def test_credentials_stay_on_their_host(self):
        other = ServerProcess(HTTPSCRIPT)
        try:
            post_json(other.port, "/_script/next", [answer(b"there")] * 2)
            away = [f"Location: http://127.0.0.1:{other.port}/x"]
            # A cookie of the store for 127.0.0.1 (the store keeps cookies per host, not per port).
            self.queue(answer(headers=["Set-Cookie: stored=1; path=/"]),
                       answer(b"", "HTTP/1.1 302 Found", away), answer(b"", "HTTP/1.1 302 Found", ["Location: /y"]),
                       answer(), answer(b"", "HTTP/1.1 301 Moved", [f"Location: http://127.0.0.1:{other.port}"]))
            caller_lines = "Authorization: Basic dTpw\r\nCookie: caller=1"
            _, store, same_host, routine = self.call(
                {"url": self.url}, {"url": self.url, "headers": caller_lines},
                {"url": self.url, "headers": caller_lines},
                {"url": self.url, "headers": caller_lines, "cookies": "given=1", "noredirect": 1})
            self.assertEqual([store["result"], same_host["result"], routine["result"]], [b"there", b"ok", b"there"])
            mine = self.received(5)
            # The same origin gets them again (the store's cookie line takes the caller's place, as
            # on the first request); another port none of them.
            self.assertIn(b"Authorization: Basic dTpw", mine[3])
            self.assertIn(b"Cookie: stored=1", mine[3])
            seen = [base64.b64decode(r["raw_b64"]) for r in get_json(other.port, "/_script/requests?wait=2")]
            self.assertEqual(len(seen), 2)
            for request in seen:
                self.assertNotIn(b"Authorization", request)
                self.assertNotIn(b"Cookie", request)
        finally:
            other.stop()

    def test_redirect_chain_is_bounded(self):
        moved = answer(b"again", "HTTP/1.1 301 Moved", [f"Location: {self.origin}"])
        self.queue(*[moved] * 12)
        out, = self.call({"url": self.origin + "/loop", "noredirect": 1})
        # The first request and ten hops; the eleventh answer is returned as it came.
        self.assertEqual(len(self.received(11)), 11)
        self.assertEqual(get_json(self.server.port, "/_script/pending"), {"queued": 1})
        self.assertEqual(out["result"], b"again")
        self.assertEqual(out["location"], self.origin.encode())

    # The body.

    def test_utf8_probe(self):
        chinese = "中".encode("utf-8")

        def body(position, probe):
            return b"x" * (position - 1) + probe + chinese

        self.queue(answer(body(499, b"utf-8")), answer(body(500, b"utf-8")), answer(body(1, b"UTF-8")),
                   answer(chinese, headers=["Content-Type: text/plain; charset=UTF-8"]))
        at499, at500, upper_body, upper_header = self.call(*[{"url": self.url}] * 4)
        self.assertEqual(at499["result"], b"x" * 498 + b"utf-8\xd6\xd0")
        self.assertEqual(at500["result"], body(500, b"utf-8"))
        self.assertEqual(upper_body["result"], body(1, b"UTF-8"))
        self.assertEqual(upper_header["result"], b"\xd6\xd0")

    def test_body_ends_at_zero_byte(self):
        long_tail = b"y" * 3000
        self.queue(answer(b"ab\0cd"), answer(long_tail))
        zero, long_body = self.call({"url": self.url}, {"url": self.url})
        self.assertEqual(zero["result"], b"ab")
        self.assertEqual(long_body["result"], long_tail)

    # Cookies.

    def test_given_cookies_switch_the_cookie_store_off(self):
        self.queue(answer(headers=["Set-Cookie: stored=1; path=/"]), answer(),
                   answer(headers=["Set-Cookie: n=2; path=/"]), answer(headers=["Set-Cookie: n=5; path=/"]),
                   answer())
        _, with_store, given_empty, given, after = self.call(
            {"url": self.url}, {"url": self.url}, {"url": self.url, "cookies": ""},
            {"url": self.url, "cookies": "old=1; n=0"}, {"url": self.url})
        self.assertEqual(given_empty["cookies"], b"n=2")
        self.assertEqual(given["cookies"], b"n=5; old=1")
        self.assertEqual(given["cookies_out"], b"n=5")
        block = self.block()
        # The store neither lends its cookie to the calls with cookies given nor keeps theirs.
        self.assertEqual(self.received(5), [
            wire("GET /p/q?x=1 HTTP/1.1", self.host, block),
            wire("GET /p/q?x=1 HTTP/1.1", self.host, block, stored_cookie="stored=1"),
            wire("GET /p/q?x=1 HTTP/1.1", self.host, block),
            wire("GET /p/q?x=1 HTTP/1.1", self.host, self.block(cookie="old=1; n=0")),
            wire("GET /p/q?x=1 HTTP/1.1", self.host, block, stored_cookie="stored=1")])

    # Failure.

    def test_answers_that_do_not_arrive_whole_are_empty(self):
        head = b"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n"
        raw = lambda data, **more: {"raw_b64": base64.b64encode(data).decode(), **more}  # noqa: E731
        cases = {
            "cut short, then closed": raw(head + b"x" * 50),
            "reset in the middle": raw(head + b"x" * 50, reset=True, hold_ms=100),
            "reset before a byte": raw(b"", reset=True),
            "closed before a byte": {"drop": True},
            "whole": raw(head + b"x" * 100),
        }
        self.queue(*cases.values())
        outs = self.call(*[{"url": self.url}] * len(cases))
        self.assertEqual({name: out["result"] for name, out in zip(cases, outs)},
                         {**{name: b"" for name in cases}, "whole": b"x" * 100})

    def test_every_call_ends_within_its_limit(self):
        self.queue({"body": "late", "headers": "Content-Length: 4", "delay_ms": 120000},
                   {"body": "x" * 200, "headers": "Content-Length: 200", "chunk_size": 1, "chunk_pause_ms": 1000})
        for name in ("silent", "trickle"):
            with self.subTest(name):
                started = time.monotonic()
                out, = self.call({"url": self.url})
                self.assertEqual(out["result"], b"")
                self.assertLess(time.monotonic() - started, REQUEST_LIMIT_S + 5)

    def test_at_most_four_abandoned_requests(self):
        # A header block that takes minutes to arrive, a byte a second.
        trickle = {"body": "x", "headers": ["Content-Length: 1", "X-Pad: " + "p" * 600], "chunk_size": 1,
                   "chunk_pause_ms": 1000}
        self.queue(*[trickle] * 8)
        outs = self.call(*[{"url": self.url}] * 8, timeout=4 * REQUEST_LIMIT_S + 60)
        ms, threads = [int(out["ms"]) for out in outs], [int(out["threads"]) for out in outs]
        self.assertEqual([out["result"] for out in outs], [b""] * 8)
        self.assertTrue(all(m < (REQUEST_LIMIT_S + 1) * 1000 for m in ms[:4]), ms)
        self.assertTrue(all(m < 100 for m in ms[4:]), ms)
        # One thread per abandoned call beside the process's own, and only four calls connected.
        self.assertEqual(threads[4:], [threads[3]] * 4)
        self.assertLessEqual(threads[3] - threads[0], 3)
        self.assertEqual((len(self.received(4)), get_json(self.server.port, "/_script/pending")), (4, {"queued": 4}))

    def test_requests_leave_nothing_in_the_url_cache(self):
        def files():
            return {p for p in URL_CACHE.rglob("*") if p.is_file() and p.name != "index.dat"}
        before = files()
        post_json(self.server.port, "/_script/default", answer(b"jsonp1({})", headers=["Cache-Control: max-age=3600"]))
        self.call({"url": self.origin + "/c?n=", "repeat": 200},
                  {"url": self.origin + "/p?n=", "method": 1, "body": "a=1", "repeat": 200})
        self.assertEqual(len(self.received(400)), 400)
        self.assertEqual(files() - before, set())

    def test_unreachable_server_is_an_empty_answer(self):
        closed = ServerProcess(HTTPSCRIPT)
        closed.stop()
        out, secure = self.call({"url": f"http://127.0.0.1:{closed.port}/x", "headers": ""},
                                {"url": f"https://127.0.0.1:{closed.port}/x"})
        self.assertEqual(secure["result"], b"")
        # Wine answers the header query of a failed request with a bare CR LF rather than failing.
        self.assertEqual(out["result"], b"")
        self.assertIn(out["raw"], (b" " * 5000, b"\r\n"))
        self.assertEqual(out["location"], out["raw"])
        self.assertEqual(out["cookies_out"], b"")
        self.assertEqual(out["headers"], self.block(url=f"http://127.0.0.1:{closed.port}/x").encode())


if __name__ == "__main__":
    unittest.main()
