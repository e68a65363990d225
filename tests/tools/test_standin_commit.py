import base64
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import STANDIN, ServerProcess, client_reading, get_json, post_json, request  # noqa: E402

server = None
USER_ID = "100001"
COOKIE = f"Cookie: usrname=demo; userid={USER_ID}; sessionid=abc"


def setUpModule():
    global server
    server = ServerProcess(STANDIN)


def tearDownModule():
    server.stop()


def client_encode(title):
    keep = set(b"-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")
    return "".join(chr(b) if b in keep else "%%%02X" % b for b in title.encode("utf-8"))


def resolved_fields(info_hash):
    answer = request(server.port, "GET", f"/interface/url_query?callback=queryUrl&u=magnet:?xt=urn:btih:"
                                         f"{info_hash}&dn=x&interfrom=task")
    return client_reading(answer.text())


def commit_body(fields, uid=USER_ID, **changes):
    pairs = {"uid": uid, "btname": client_encode(fields["title"]), "cid": fields["cid"], "goldbean": "0",
             "silverbean": "0", "tsize": fields["tsize"], "findex": fields["findex"], "size": fields["size"],
             "o_taskid": "0", "o_page": "task", "class_id": "0", "interfrom": "task"}
    pairs.update(changes)
    return "&".join(f"{k}={v}" for k, v in pairs.items() if v is not None).encode("utf-8")


def commit(body, cookie=COOKIE, timestamp="1796630000123"):
    headers = [cookie] if cookie else []
    return request(server.port, "POST", f"/interface/bt_task_commit?callback=jsonp{timestamp}", headers, body)


class CommitTest(unittest.TestCase):
    def setUp(self):
        post_json(server.port, "/_standin/reset", {})

    def test_accepted_commit_is_answered_and_recorded(self):
        fields = resolved_fields("0a" * 20)
        body = commit_body(fields)
        answer = commit(body)
        self.assertEqual(answer.text(), 'jsonp1796630000123({"id":"1000000001","progress":1})')
        [record] = get_json(server.port, "/_standin/commits")
        self.assertTrue(record["accepted"])
        self.assertEqual(base64.b64decode(record["body_b64"]), body)
        self.assertEqual([name for name, _ in record["fields"]],
                         ["uid", "btname", "cid", "goldbean", "silverbean", "tsize", "findex", "size",
                          "o_taskid", "o_page", "class_id", "interfrom"])
        self.assertEqual(record["title"], "城南旧事, 'Old Town' 合集")
        self.assertTrue(record["btname_canonical"])
        self.assertEqual((record["timestamp"], record["task_id"], record["hash"]),
                         ("1796630000123", "1000000001", "0a" * 20))
        self.assertEqual(record["cookie"], COOKIE[len("Cookie: "):])

    def test_titles_decode_from_utf8_percent_encoding(self):
        for info_hash, title in [("0f" * 20, "my_holiday video 2024"), ("10" * 20, "50% Off & More + Extras = Fun?"),
                                 ("11" * 20, "東京の夜景 タイムラプス"), ("1e" * 20, "")]:
            with self.subTest(title=title):
                self.assertNotIn("null", commit(commit_body(resolved_fields(info_hash))).text())
                self.assertEqual(get_json(server.port, "/_standin/commits")[-1]["title"], title)

    def test_refusals_hold_null(self):
        fields = resolved_fields("01" * 20)
        stray = dict(fields, cid="ff" * 20)
        cases = [
            ("no login cookie", commit_body(fields), "Cookie: usrname=demo"),
            ("deleted login cookie", commit_body(fields), "Cookie: userid=deleted"),
            ("uid differs from cookie", commit_body(fields, uid="999"), COOKIE),
            ("cid never resolved", commit_body(stray), COOKIE),
            ("bad percent escape", commit_body(fields, btname="%E5%B1%B"), COOKIE),
            ("not UTF-8", commit_body(fields, btname="%D6%D0%CE%C4"), COOKIE),
            ("missing field", commit_body(fields, class_id=None), COOKIE),
            ("wrong tsize", commit_body(fields, tsize="1"), COOKIE),
            ("wrong findex", commit_body(fields, findex="1_"), COOKIE),
            ("wrong fixed value", commit_body(fields, goldbean="5"), COOKIE),
            ("empty body", b"", COOKIE),
            ("fields out of order", commit_body(fields).replace(b"goldbean=0&silverbean=0",
                                                                 b"silverbean=0&goldbean=0"), COOKIE),
        ]
        for name, body, cookie in cases:
            with self.subTest(name):
                text = commit(body, cookie).text()
                self.assertTrue(text.startswith('jsonp1796630000123({"id":null,"progress":-1,"msg":'), text)
                self.assertFalse(get_json(server.port, "/_standin/commits")[-1]["accepted"])
        self.assertIn("not UTF-8", get_json(server.port, "/_standin/commits")[5]["problems"][0])

    def test_blocked_catalogue_entry_is_always_refused(self):
        self.assertIn("null", commit(commit_body(resolved_fields("0e" * 20))).text())

    def test_loose_but_valid_encoding_is_accepted_and_flagged(self):
        commit(commit_body(resolved_fields("0f" * 20), btname="my_holiday+video%202024"))
        record = get_json(server.port, "/_standin/commits")[-1]
        self.assertTrue(record["accepted"])
        self.assertEqual(record["title"], "my_holiday video 2024")
        self.assertFalse(record["btname_canonical"])

    def test_task_ids_count_up_and_show_on_the_task_page(self):
        commit(commit_body(resolved_fields("01" * 20)))
        second = commit(commit_body(resolved_fields("02" * 20)), timestamp="5").text()
        self.assertEqual(second, 'jsonp5({"id":"1000000002","progress":1})')
        page = request(server.port, "GET", "/task.html", [COOKIE]).text()
        self.assertIn("山海之间 4K 纪录片", page)
        self.assertIn("Exactly One Gibibyte", page)


if __name__ == "__main__":
    unittest.main()
