import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import STANDIN, ServerProcess, client_reading, get_json, post_json, request  # noqa: E402

server = None


def setUpModule():
    global server
    server = ServerProcess(STANDIN)


def tearDownModule():
    server.stop()


def resolve(link, port=None):
    return request(port or server.port, "GET", f"/interface/url_query?callback=queryUrl&u={link}&interfrom=task")


def without_nonce(text):
    return re.sub(r",'[0-9.]+'\)$", "", text)


class ResolveTest(unittest.TestCase):
    def setUp(self):
        post_json(server.port, "/_standin/reset", {})

    def test_catalogue_links_read_the_way_the_client_reads_them(self):
        cases = [
            # hash, cid, tsize, title as the client keeps it, findex, size
            ("01" * 20, "01" * 20, "1610612736", "山海之间 4K 纪录片", "0_", "1610612736_"),
            ("08" * 20, "08" * 20, "2048", "Tiny, Comma Title", "0_", "2048_"),
            ("09" * 20, "09" * 20, "734003200", "Don't Look Back", "0_", "734003200_"),
            ("0a" * 20, "0A" * 20, "2971449753", "城南旧事, 'Old Town' 合集", "0_1_2_",
             "1468006400_1503238553_204800_"),
            ("19" * 20, "19" * 20, None, "C:\\Backup\\2024", None, None),
            ("28" * 20, "28" * 20, None, "Greatest Hits ('Live')", None, None),
            ("2a" * 20, "CIDF1)", "4096", "Closing Parenthesis Id", "0_", "4096_"),
            ("06" * 20, "06" * 20, "1536", "Small Readme Pack", "0_1_", "1024_512_"),
            ("1e" * 20, "1E" * 20, "1234567", "", "0_", "1234567_"),
        ]
        for info_hash, cid, tsize, title, findex, size in cases:
            with self.subTest(info_hash=info_hash):
                answer = resolve(f"magnet:?xt=urn:btih:{info_hash}&dn=name&tr=udp://tracker.invalid:80")
                self.assertEqual(answer.status, 200)
                self.assertEqual(answer.header_values("Content-Type"), ["text/javascript; charset=utf-8"])
                expected = {"cid": cid, "tsize": tsize, "title": title, "findex": findex, "size": size}
                reading = client_reading(answer.text())
                self.assertEqual({k: reading[k] for k in expected if expected[k] is not None},
                                 {k: v for k, v in expected.items() if v is not None})

    def test_answer_shape(self):
        text = resolve("magnet:?xt=urn:btih:" + "05" * 20).text()
        self.assertEqual(without_nonce(text),
                         "queryUrl(1,'" + "05" * 20 + "','100','一百字节的说明','1',new Array('说明.txt'),"
                         "new Array('0.1KB'),new Array('100'),new Array('1'),new Array('text'),new Array('0')")

    def test_hash_spellings_pick_the_same_entry(self):
        hex_form = "0101010101010101010101010101010101010101"
        spellings = [
            f"magnet:?xt=urn:btih:{hex_form}",
            f"magnet:?xt=urn:btih:{hex_form.upper()}&dn=x",
            "magnet:?xt=urn:btih:AEAQCAIBAEAQCAIBAEAQCAIBAEAQCAIB",
            "magnet:?dn=first&XT=URN:BTIH:aeaqcaibaeaqcaibaeaqcaibaeaqcaib",
            f"magnet:?xt=urn:btih:tooshort&xt.2=urn:btih:{hex_form}",
            f"magnet%3A%3Fxt%3Durn%3Abtih%3A{hex_form}%26dn%3Dx",
        ]
        for link in spellings:
            with self.subTest(link=link):
                self.assertEqual(client_reading(resolve(link).text())["title"], "山海之间 4K 纪录片")

    def test_unknown_hash_gives_the_same_generated_entry_every_time(self):
        first = resolve("magnet:?xt=urn:btih:" + "ab" * 20).text()
        again = resolve("magnet:?xt=urn:btih:" + "AB" * 20 + "&dn=other").text()
        other = resolve("magnet:?xt=urn:btih:" + "cd" * 20).text()
        self.assertEqual(without_nonce(first), without_nonce(again))
        self.assertNotEqual(without_nonce(first), without_nonce(other))
        self.assertEqual(client_reading(first)["title"], "未收录资源 ABABABAB")
        self.assertTrue(first.startswith("queryUrl(1,'" + "AB" * 20 + "'"))

    def test_link_without_hash_gets_flag_zero_and_empty_values(self):
        for link in ["", "magnet:?dn=nothing", "magnet:?xt=urn:btih:1234", "magnet:?xt=urn:btih:" + "g" * 40]:
            with self.subTest(link=link):
                text = resolve(link).text()
                self.assertTrue(text.startswith("queryUrl(0,'','','',"), text)
                self.assertEqual(client_reading(text), {"cid": "", "tsize": "", "title": "", "findex": "_",
                                                        "size": "_"})

    def test_charset_can_be_left_out(self):
        post_json(server.port, "/_standin/options", {"charset": False})
        answer = resolve("magnet:?xt=urn:btih:" + "01" * 20)
        self.assertEqual(answer.header_values("Content-Type"), ["text/javascript"])
        self.assertIn("山海之间".encode("utf-8"), answer.body)

    def test_resolves_are_recorded(self):
        resolve("magnet:?xt=urn:btih:" + "02" * 20 + "&dn=a")
        resolve("magnet:?dn=b")
        records = get_json(server.port, "/_standin/resolves")
        self.assertEqual([(r["hash"], r["title"]) for r in records],
                         [("02" * 20, "Exactly One Gibibyte"), (None, None)])
        self.assertEqual(records[0]["query"],
                         "callback=queryUrl&u=magnet:?xt=urn:btih:" + "02" * 20 + "&dn=a&interfrom=task")


class CatalogueTest(unittest.TestCase):
    def test_size_texts_of_threshold_entries(self):
        catalogue = {e["hash"][:2]: e for e in get_json(server.port, "/_standin/catalogue")}
        expected = {"01": "1.5GB", "02": "1024MB", "03": "1024MB", "04": "1GB", "05": "0.1KB", "06": "1.5KB",
                    "07": "1024KB", "0c": "2048GB", "0d": "0KB", "1a": "1024GB", "1b": "0.98KB", "1d": "5.5GB"}
        self.assertEqual({k: catalogue[k]["size_text"] for k in expected}, expected)
        self.assertGreaterEqual(len(catalogue), 30)
        self.assertEqual([e["title"] for e in catalogue.values() if e["refused"]], ["被屏蔽的资源"])


if __name__ == "__main__":
    unittest.main()
