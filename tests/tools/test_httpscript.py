import base64
import json
import os
import socket
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import HTTPSCRIPT, ServerProcess, exchange  # noqa: E402

server = None


def setUpModule():
    global server
    server = ServerProcess(HTTPSCRIPT)


def tearDownModule():
    server.stop()


def control(method, path, value=None):
    body = b"" if value is None else json.dumps(value).encode("utf-8")
    head = f"{method} /_script/{path} HTTP/1.1\r\nHost: x\r\nContent-Length: {len(body)}\r\n\r\n"
    data = exchange(server.port, head.encode("ascii") + body)
    status = int(data.split(b" ", 2)[1])
    return status, json.loads(data.partition(b"\r\n\r\n")[2])


def script(*answers):
    assert control("POST", "next", list(answers))[0] == 200


def records():
    return control("GET", "requests")[1]


def get(path="/x"):
    return exchange(server.port, f"GET {path} HTTP/1.1\r\nHost: x\r\n\r\n".encode("ascii"))


class ScriptedAnswerTest(unittest.TestCase):
    def setUp(self):
        control("POST", "reset")

    def test_answers_are_the_exact_bytes(self):
        cases = [
            ({"status_line": "HTTP/1.1 301 Moved", "headers": "Location: http://127.0.0.1:1\r\nContent-Length: 0\r\n"},
             b"HTTP/1.1 301 Moved\r\nLocation: http://127.0.0.1:1\r\nContent-Length: 0\r\n\r\n"),
            ({"headers": ["A: 1", "a: 2"], "body": "中"},
             b"HTTP/1.1 200 OK\r\nA: 1\r\na: 2\r\n\r\n\xe4\xb8\xad"),
            ({"status_line": "HTTP/1.0 404 Gone\r\n", "headers": "X: y", "body_b64": "AAH/"},
             b"HTTP/1.0 404 Gone\r\nX: y\r\n\r\n\x00\x01\xff"),
            ({"raw_b64": base64.b64encode(b"HTTP/1.1 200 OK\nbare: lf\n\nno framing").decode()},
             b"HTTP/1.1 200 OK\nbare: lf\n\nno framing"),
            ({"status_line": "HTTP/1.1 204 No Content"}, b"HTTP/1.1 204 No Content\r\n\r\n"),
        ]
        for answer, expected in cases:
            with self.subTest(answer=answer):
                script(answer)
                self.assertEqual(get(), expected)

    def test_queue_is_served_in_order_then_the_default(self):
        script({"body": "1"}, {"body": "2"})
        script({"body": "3"})
        self.assertEqual(control("GET", "pending")[1], {"queued": 3})
        bodies = [get().partition(b"\r\n\r\n")[2] for _ in range(4)]
        self.assertEqual(bodies, [b"1", b"2", b"3", b"no scripted answer"])
        self.assertEqual([r["scripted"] for r in records()], [True, True, True, False])
        control("POST", "default", {"body": "fallback"})
        self.assertTrue(get().endswith(b"\r\n\r\nfallback"))

    def test_connection_closes_after_one_answer_without_reset(self):
        script({"headers": "Content-Length: 2\r\nConnection: keep-alive\r\n", "body": "ok"})
        with socket.create_connection(("127.0.0.1", server.port), timeout=5) as sock:
            # A second, pipelined request is left unread and unanswered.
            sock.sendall(b"GET /a HTTP/1.1\r\nHost: x\r\n\r\nGET /b HTTP/1.1\r\nHost: x\r\n\r\n")
            received = b""
            while chunk := sock.recv(4096):
                received += chunk
        self.assertEqual(received, b"HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: keep-alive\r\n\r\nok")
        [record] = records()
        self.assertEqual(base64.b64decode(record["trailing_b64"]), b"GET /b HTTP/1.1\r\nHost: x\r\n\r\n")

    def test_answer_timing_options(self):
        script({"body": "late", "delay_ms": 200}, {"drop": True},
               {"body": "x" * 3000, "chunk_size": 1000, "chunk_pause_ms": 50}, {"body": "held", "hold_ms": 300})
        started = time.monotonic()
        self.assertTrue(get().endswith(b"late"))
        self.assertGreaterEqual(time.monotonic() - started, 0.2)
        self.assertEqual(get(), b"")
        self.assertTrue(get().endswith(b"x" * 3000))
        started = time.monotonic()
        self.assertTrue(get().endswith(b"held"))
        self.assertGreaterEqual(time.monotonic() - started, 0.3)

    def test_bad_scripts_are_refused(self):
        for value in [{"body_b64": "not base64!"}, {"colour": 1}, {"delay_ms": -5}, [1], "text"]:
            with self.subTest(value=value):
                self.assertEqual(control("POST", "next", value)[0], 400)
        self.assertEqual(control("GET", "pending")[1], {"queued": 0})
        self.assertEqual(control("GET", "nothing")[0], 404)


class RecordedRequestTest(unittest.TestCase):
    def setUp(self):
        control("POST", "reset")

    def test_request_is_recorded_byte_for_byte_even_when_sent_in_pieces(self):
        raw = (b"POST /interface/bt_task_commit?callback=jsonp1 HTTP/1.1\r\nhost: x\r\nUser-Agent:  spaced \r\n"
               b"Cookie: a=1\r\nCookie: b=2\r\ncontent-length: 11\r\n\r\nuid=1&x=%E4")
        with socket.create_connection(("127.0.0.1", server.port), timeout=5) as sock:
            for start in range(0, len(raw), 40):
                sock.sendall(raw[start:start + 40])
                time.sleep(0.02)
            while sock.recv(4096):
                pass
        [record] = records()
        self.assertEqual(base64.b64decode(record["raw_b64"]), raw)
        self.assertEqual(record["request_line"], "POST /interface/bt_task_commit?callback=jsonp1 HTTP/1.1")
        self.assertEqual((record["method"], record["target"], record["version"]),
                         ("POST", "/interface/bt_task_commit?callback=jsonp1", "HTTP/1.1"))
        self.assertEqual(record["header_lines"], ["host: x", "User-Agent:  spaced ", "Cookie: a=1", "Cookie: b=2",
                                                  "content-length: 11"])
        self.assertEqual(record["headers"][1], ["User-Agent", "spaced"])
        self.assertEqual(base64.b64decode(record["body_b64"]), b"uid=1&x=%E4")
        self.assertTrue(record["complete"])
        self.assertTrue(record["nodelay"])

    def test_chunked_body_is_kept_with_its_framing(self):
        raw = b"POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n"
        exchange(server.port, raw)
        [record] = records()
        self.assertEqual(base64.b64decode(record["raw_b64"]), raw)
        self.assertTrue(record["complete"])

    def test_unfinished_request_is_recorded_and_uses_no_answer(self):
        script({"body": "kept"})
        with socket.create_connection(("127.0.0.1", server.port), timeout=5) as sock:
            sock.sendall(b"POST / HTTP/1.1\r\nContent-Length: 50\r\n\r\nshort")
        self.assertFalse(control("GET", "requests?wait=1&timeout_ms=3000")[1][0]["complete"])
        self.assertTrue(get().endswith(b"kept"))


if __name__ == "__main__":
    unittest.main()
