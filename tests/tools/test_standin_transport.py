import http.client
import os
import socket
import sys
import threading
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import STANDIN, Answer, ServerProcess, exchange, get_json, post_json, request  # noqa: E402

server = None


def setUpModule():
    global server
    server = ServerProcess(STANDIN)


def tearDownModule():
    server.stop()


class BadInputTest(unittest.TestCase):
    def setUp(self):
        post_json(server.port, "/_standin/reset", {})

    def assert_still_serving(self):
        self.assertEqual(request(server.port, "GET", "/softgg.html").status, 200)

    def test_bad_requests_get_an_answer_and_the_server_survives(self):
        commit = "POST /interface/bt_task_commit?callback=jsonp1 HTTP/1.1\r\nHost: x\r\n"
        cases = [
            ("garbage", b"\x00\x01\xff garbage\r\n\r\n", 400),
            ("bad escapes in the link", b"GET /interface/url_query?u=%zz%E5%&interfrom=task HTTP/1.1\r\n"
                                        b"Connection: close\r\n\r\n", 200),
            ("non-numeric length", (commit + "Content-Length: abc\r\n\r\n").encode(), 400),
            ("length beyond the limit", (commit + "Content-Length: 10000000000\r\n\r\n").encode(), 413),
            ("chunked body", (commit + "Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n").encode(), 411),
            ("no length", (commit + "Connection: close\r\n\r\nuid=1").encode(), 200),
            ("megabyte of junk", (commit + "Connection: close\r\nContent-Length: 1000000\r\n\r\n").encode()
             + (b"%%" + bytes(range(256)) * 3907)[:1000000], 200),
            ("unknown path", b"GET /nothing/here HTTP/1.1\r\nConnection: close\r\n\r\n", 404),
        ]
        for name, data, status in cases:
            with self.subTest(name):
                self.assertEqual(Answer(exchange(server.port, data)).status, status)
                self.assert_still_serving()
        refused = [c["answer"] for c in get_json(server.port, "/_standin/commits")]
        self.assertEqual(len(refused), 2)
        self.assertTrue(all('"id":null' in text for text in refused))

    def test_client_vanishing_mid_body(self):
        with socket.create_connection(("127.0.0.1", server.port)) as sock:
            sock.sendall(b"POST /interface/bt_task_commit HTTP/1.1\r\nContent-Length: 100\r\n\r\nuid=1")
        self.assert_still_serving()

    def test_unescaped_spaces_in_the_target_are_kept(self):
        target = "/interface/url_query?callback=queryUrl&u=magnet:?xt=urn:btih:" + "01" * 20 + "&dn=My Film&interfrom=task"
        answer = Answer(exchange(server.port, f"GET {target} HTTP/1.1\r\nConnection: close\r\n\r\n".encode()))
        self.assertTrue(answer.text().startswith("queryUrl(1,"))
        self.assertEqual(get_json(server.port, "/_standin/requests")[-1]["path"], target)


class RecordTest(unittest.TestCase):
    def setUp(self):
        post_json(server.port, "/_standin/reset", {})

    def test_requests_are_recorded_as_sent_and_control_requests_are_not(self):
        request(server.port, "GET", "/task.html", ["Cookie: a=1", "X-Extra: yes"])
        request(server.port, "POST", "/interface/bt_task_commit?callback=jsonp7", body=b"uid=1")
        records = get_json(server.port, "/_standin/requests")
        self.assertEqual([(r["method"], r["path"], r["role"]) for r in records],
                         [("GET", "/task.html", "web"), ("POST", "/interface/bt_task_commit?callback=jsonp7", "interface")])
        names = [name for name, _ in records[0]["headers"]]
        self.assertEqual(names, ["Host", "User-Agent", "Referer", "Accept", "Accept-Language", "Content-Type",
                                 "Cookie", "X-Extra", "Connection"])
        self.assertEqual(records[1]["body_b64"], "dWlkPTE=")
        post_json(server.port, "/_standin/reset", {})
        self.assertEqual(get_json(server.port, "/_standin/requests"), [])

    def test_read_back_can_wait_for_records(self):
        later = threading.Timer(0.2, lambda: request(server.port, "GET", "/softgg.html"))
        later.start()
        records = get_json(server.port, "/_standin/requests?wait=1&timeout_ms=5000")
        later.join()
        self.assertEqual(len(records), 1)


class NagleTest(unittest.TestCase):
    def test_answers_leave_without_waiting_for_acknowledgement(self):
        post_json(server.port, "/_standin/reset", {})
        connection = http.client.HTTPConnection("127.0.0.1", server.port, timeout=5)
        started = time.monotonic()
        for _ in range(30):  # with Nagle on, each answer's body would wait ~40 ms for a delayed ACK
            connection.request("GET", "/interface/url_query?callback=queryUrl&u=magnet:?xt=urn:btih:" + "01" * 20)
            connection.getresponse().read()
        elapsed = time.monotonic() - started
        connection.close()
        self.assertLess(elapsed, 0.6)
        self.assertTrue(all(r["nodelay"] for r in get_json(server.port, "/_standin/requests")))


if __name__ == "__main__":
    unittest.main()
