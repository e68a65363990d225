"""Importing a file of magnet links through the real file dialog, and what the list then holds.

What the list holds is read back through a batch: each link becomes one report row that shows it
exactly as held (column 3), numbered in list order.
"""

import hashlib
import random
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path
from urllib.parse import quote

from harness import BUILD, MAIN_CAPTION, WINE, E2ETestCase, windows_path
import batch_steps as steps

USER, USER_ID = "importer", "31337"
HOLD_FILE = BUILD / "tests" / "app" / "win" / "hold_file.exe"
MUST_BE_TXT = "必须导入txt格式"
CANNOT_OPEN = "打开文件失败，可能原因是文件不存在"

A = b"magnet:?xt=urn:btih:" + b"01" * 20
B = b"magnet:?xt=urn:btih:" + b"02" * 20


def bencode(value):
    """Dictionaries keep the order they are given: torrents in the wild have unsorted keys."""
    if isinstance(value, int):
        return b"i%de" % value
    if isinstance(value, bytes):
        return b"%d:%s" % (len(value), value)
    if isinstance(value, list):
        return b"l" + b"".join(map(bencode, value)) + b"e"
    return b"d" + b"".join(bencode(k) + bencode(v) for k, v in value.items()) + b"e"


def value_end(data, at):
    if data[at:at + 1] == b"i":
        return data.index(b"e", at) + 1
    if data[at:at + 1] in (b"l", b"d"):
        at += 1
        while data[at:at + 1] != b"e":
            at = value_end(data, at)
        return at + 1
    colon = data.index(b":", at)
    return colon + 1 + int(data[at:colon])


def info_span(data):
    at = 1
    while True:
        key_end = value_end(data, at)
        end = value_end(data, key_end)
        if data[data.index(b":", at) + 1:key_end] == b"info":
            return data[key_end:end]
        at = end


def torrent(i):
    """A torrent of one of many shapes, and the magnet link it stands for."""
    rng = random.Random(i)
    name = f"种子{i}号 资料&=?"
    info = {b"piece length": 16384, b"pieces": rng.randbytes(20 * (1 + i % 3))}
    if i % 2:
        info[b"files"] = [{b"length": 5 + i, b"path": [b"dir", "文件.mkv".encode()]}]
    else:
        info[b"length"] = 1000 + i
    # UTF-8 only, GBK only (read as GBK), GBK beside name.utf-8 (which wins), ASCII.
    names = [{b"name": name.encode()}, {b"name": name.encode("gbk")},
             {b"name": name.encode("gbk"), b"name.utf-8": name.encode()}, {b"name": b"plain-%d" % i}][i % 4]
    info.update(names)
    info = dict(rng.sample(list(info.items()), len(info)))
    trackers = [b"udp://t%d.example:80/announce" % (i % 5), b"http://t.example/a b?x=%d" % i]
    top = {b"announce": trackers[0]} if i % 3 else {}
    if i % 3 == 1:
        top[b"announce-list"] = [trackers, [trackers[0]]]
    top[b"creation date"] = 1700000000 + i
    top[b"info"] = info
    data = bencode(top)
    dn = names.get(b"name.utf-8") or (name.encode() if i % 4 in (0, 1) else names[b"name"])
    wanted = trackers if i % 3 == 1 else trackers[:1] if i % 3 else []
    link = "magnet:?xt=urn:btih:" + hashlib.sha1(info_span(data)).hexdigest() + "&dn=" + quote(dn, safe="")
    return data, link + "".join("&tr=" + quote(t, safe="") for t in wanted)


def shown(line):
    """A line of the file as the program shows it: its bytes read as GBK."""
    return line.decode("gbk")


class ImportTest(E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="brindor_import_"))
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.main = self.session.wait_window(MAIN_CAPTION)

    def file(self, name, content):
        path = self.folder / name
        path.write_bytes(content)
        return path

    def label(self):
        return self.session.text(self.main, steps.LINK_COUNT_LABEL)

    def import_expecting_box(self, path):
        s = self.session
        s.click(self.main, steps.IMPORT_BUTTON)
        s.open_file(path)
        box = s.wait_message_box()
        s.press(box.handle, "OK")
        s.wait_gone(box.handle)
        return box.title, box.text

    def links_held(self):
        """The list as a batch submits it: the link column of the rows it appends."""
        s = self.session
        before = len(steps.report_rows(s))
        box = steps.run_whole_list(s)  # the same links again and again: the start asks
        if box.text == steps.NOTHING_TO_DO:
            return []
        self.assertEqual(box.text.split("\n")[0], steps.ALL_DONE)
        rows = steps.report_rows(s)[before:]
        self.assertEqual([row[0] for row in rows], [str(i) for i in range(1, len(rows) + 1)])
        return [row[3] for row in rows]

    def test_each_import_replaces_the_list_with_the_non_empty_lines(self):
        steps.sign_in(self.session, USER, USER_ID)
        cases = [
            ("blank line skipped", "links.txt", A + b"\n\n" + B + b"\n", [A, B]),
            ("CR LF like LF", "crlf.txt", A + b"\r\n\r\n" + B + b"\r\n", [A, B]),
            ("lone CR stays in its line", "cr.txt", A + b"\rX\n" + B, [A + b"\rX", B]),
            ("line of spaces skipped", "spaces.txt", A + b"\n   \n", [A]),
            ("spaces and tabs around a link dropped", "padded.txt", b" \t" + A + b"  \r\n", [A]),
            ("UTF-8 byte order mark dropped", "bom.txt", b"\xef\xbb\xbf" + A + b"\n" + B, [A, B]),
            ("duplicates stay", "twice.txt", A + b"\n" + A + b"\n", [A, A]),
            ("upper-case name", "LINKS.TXT", B + b"\n", [B]),
            ("name with more after .txt", "links.txt.bak", A + b"\n", [A]),
            ("empty file", "empty.txt", b"", []),
            ("bare hash", "hash.txt", b"01" * 20 + b"\r\n", [A]),
        ]
        for label, name, content, links in cases:
            with self.subTest(label):
                steps.import_links(self.session, self.file(name, content), len(links))
                self.assertEqual(self.links_held(), [shown(link) for link in links])

    def test_files_with_a_byte_order_mark_send_what_the_plain_file_sends(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        text = "\r\n".join(line.decode("ascii") for line in (A, B)) + "\r\n  magnet:?xt=urn:btih:" + "03" * 20 + "&dn=磁力  \r\n"
        files = [
            ("plain GBK", text.encode("gbk")),
            ("UTF-16 LE", b"\xff\xfe" + text.encode("utf-16-le")),
            ("UTF-16 BE", b"\xfe\xff" + text.encode("utf-16-be")),
            ("UTF-8 with mark", b"\xef\xbb\xbf" + text.encode("utf-8")),
        ]
        sent = {}
        for label, content in files:
            with self.subTest(label):
                self.standin.reset()
                steps.import_links(s, self.file("three.txt", content), 3)
                self.links_held()
                resolves = [r for r in self.standin.requests() if "/interface/url_query" in r["path"]]
                self.assertEqual(len(resolves), 3)
                sent[label] = [(r["method"], r["path"], r["headers"], r["body_b64"]) for r in resolves]
        for label in sent:
            self.assertEqual(sent[label], sent["plain GBK"], label)

    def test_torrents_chosen_together_are_submitted_by_their_info_hash(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        links = {}
        for i in range(200):
            data, links[f"t{i:03d}.torrent"] = torrent(i)
            self.file(f"t{i:03d}.torrent", data)
        self.file("cut.torrent", torrent(0)[0][:-1])
        self.file("big.torrent", b"d" * (16 * 1024 * 1024 + 1))
        self.file("v2.torrent", b"d4:infod12:meta versioni2e4:name1:x9:file treedeee")
        s.click(self.main, steps.IMPORT_BUTTON)
        s.open_files(self.folder, [*links, "cut.torrent", "big.torrent", "v2.torrent"])
        box = s.wait_message_box()
        self.assertEqual((box.title, box.text), (steps.NOTICE_TITLE, "以下文件未能导入：\ncut.torrent：不是有效的种子文件"
                                                 "\nbig.torrent：文件太大\nv2.torrent：仅支持v1种子"))
        steps.answer(s, box, "OK")
        self.assertEqual(self.label(), "共200条链接。")
        self.assertEqual(self.links_held(), list(links.values()))
        self.assertEqual([r["hash"] for r in self.standin.resolves()], [link[20:60] for link in links.values()])
        # A drop adds: a folder of new torrents, and one the list holds already.
        more = self.folder / "more"
        more.mkdir()
        dropped = [torrent(i) for i in range(200, 203)]
        for i, (data, _) in enumerate(dropped):
            (more / f"t{i}.torrent").write_bytes(data)
        s.drop_files(self.main, more, self.folder / "t000.torrent")
        s.wait_for(lambda: self.label() == "共203条链接（新增3条）", message="the dropped folder")
        self.assertEqual(self.links_held()[200:], [link for _, link in dropped])

    def test_refused_cancelled_and_unreadable_files_keep_the_list(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.file("first.txt", A + b"\n" + B + b"\n"), 2)
        kept = [shown(A), shown(B)]

        with self.subTest("name without .txt"):
            s.set_text(self.main, steps.LINK_COUNT_LABEL, "untouched")
            box = self.import_expecting_box(self.file("links.csv", A + b"\n"))
            self.assertEqual(box, (steps.NOTICE_TITLE, MUST_BE_TXT))
            self.assertEqual(self.label(), "untouched")

        with self.subTest("cancelled dialog"):
            s.click(self.main, steps.IMPORT_BUTTON)
            s.wait_gone(s.cancel_file())
            self.assertEqual(steps.idle(s), (steps.START_CAPTION, False))
            self.assertEqual(self.label(), "untouched")

        with self.subTest("file held open by another program"):
            held = self.file("held.txt", A + b"\n")
            holder = subprocess.Popen([WINE, str(HOLD_FILE), windows_path(held)], env=self.environment.env,
                                      stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      stderr=subprocess.DEVNULL)
            try:
                self.assertEqual(holder.stdout.readline().strip(), b"held")
                box = self.import_expecting_box(held)
            finally:
                holder.stdin.close()
                holder.wait(timeout=30)
                holder.stdout.close()
            self.assertEqual(box, (steps.NOTICE_TITLE, CANNOT_OPEN))
            self.assertEqual(self.label(), "共2条链接。")

        self.assertEqual(self.links_held(), kept)


if __name__ == "__main__":
    unittest.main()
