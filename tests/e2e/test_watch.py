"""Links that come by themselves: copied by another program, written into a watched folder, and a run
that starts with no click."""

import shutil
import tempfile
import time
from pathlib import Path

from harness import MAIN_CAPTION, E2ETestCase, windows_path
import batch_steps as steps
from test_import import torrent

USER, USER_ID = "watcher", "5150"
SIGNED_OUT_PROMPT = "登录已失效。请重新登陆迅雷离线（或使用Cookie登录），完成后按“重试”继续；按“取消”停止提交。"
CANCEL = 2
ALT, SPACE = 0x12, 0x20
# Our system menu items from the bottom, as UP reaches them from the top.
CLIPBOARD_ITEM, FOLDER_ITEM = 6, 5


def link(i):
    return f"magnet:?xt=urn:btih:{i:040x}"


def hash_of(magnet):
    return magnet.split("btih:")[1][:40]


class WatchTest(E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")
    start_program = False
    desktop = "watch"  # title bars: the system menu

    def setUp(self):
        super().setUp()
        self.folder = Path(tempfile.mkdtemp(prefix="brindor_watch_"))
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.settings = self.environment.settings_file()
        self.addCleanup(self.settings.unlink, missing_ok=True)

    def start(self, keep_record=False, **settings):
        if not keep_record:
            self.environment.clear_record()
        self.settings.parent.mkdir(parents=True, exist_ok=True)
        lines = ["[Brindor]", "version=1"] + [f"{key}={value}" for key, value in settings.items()]
        self.settings.write_text("\ufeff" + "\r\n".join(lines) + "\r\n", encoding="utf-16-le")
        self.session.start_program(keep_record=True)
        self.main = self.session.wait_window(MAIN_CAPTION)
        return self.main

    def label(self):
        return self.session.text(self.main, steps.LINK_COUNT_LABEL)

    def wait_label(self, text, timeout=30):
        self.session.wait_for(lambda: self.label() == text, timeout=timeout, message=text)

    def stays(self, text, seconds=0.8):
        time.sleep(seconds)
        self.assertEqual(self.label(), text)

    def test_clipboard_links_join_but_not_our_own_copies_nor_bare_hashes(self):
        s = self.session
        self.start()
        before = self.label()
        s.set_clipboard(link(1))  # off: nothing
        self.stays(before)
        s.chord(self.main, ALT, SPACE)
        s.menu_keys(*["UP"] * CLIPBOARD_ITEM, "RETURN")
        s.wait_for(lambda: "watch_clipboard=1" in self.settings.read_text("utf-16"), message="remembered")
        s.chord(self.main, ALT, SPACE)
        s.wait_for(s.menu_open, message="the system menu")  # looked at: 监视剪贴板 checked
        s.screenshot("watch_system_menu")
        s.menu_keys("ESCAPE")
        s.set_clipboard(f"see {link(2)}, and\r\n<{link(3)}&dn=x>")
        self.wait_label("共2条链接（新增2条）")
        s.set_clipboard(f"{4:040x}")  # a commit id, no torrent
        self.stays("共2条链接（新增2条）")
        steps.sign_in(s, USER, USER_ID)
        steps.start_batch(s, "0")
        steps.wait_all_done(s)
        s.list_select(MAIN_CAPTION, steps.REPORT_LIST, 0, 1)
        s.type(MAIN_CAPTION, steps.REPORT_LIST, "\u0003")  # 复制链接 (Ctrl+C); taken, it would say 新增0条
        s.wait_for(lambda: s.clipboard() == f"{link(2)}\r\n{link(3)}&dn=x\r\n", message="the copy")
        self.stays("共2条链接（新增2条）")
        s.click(self.main, steps.START_BUTTON)  # a question holds what is copied meanwhile
        question = s.wait_message_box(title=steps.NOTICE_TITLE)
        s.set_clipboard(link(5))
        self.wait_label("共2条链接（待加入1条）")
        steps.answer(s, question, steps.NO)
        self.wait_label("共3条链接（新增1条）")
        s.chord(self.main, ALT, SPACE)
        s.menu_keys(*["UP"] * CLIPBOARD_ITEM, "RETURN")
        s.wait_for(lambda: "watch_clipboard=0" in self.settings.read_text("utf-16"), message="off")
        s.set_clipboard(link(6))
        self.stays("共3条链接（新增1条）")

    def test_a_watched_folder_takes_each_complete_file_once_without_stalling_the_window(self):
        s = self.session
        torrents = [torrent(i) for i in range(20)]
        (self.folder / "t01.torrent").write_bytes(torrents[1][0])  # there before it is watched
        self.start()
        s.chord(self.main, ALT, SPACE)
        s.menu_keys(*["UP"] * FOLDER_ITEM, "RETURN")
        s.open_file(windows_path(self.folder))  # the system's folder picker
        self.wait_label("共1条链接（新增1条）")
        for i, (data, _) in enumerate(torrents[2:], 2):
            (self.folder / f"t{i:02d}.torrent").write_bytes(data)
        (self.folder / "links.txt").write_text(f"{link(1)}\n{link(2)}\n{torrents[3][1]}\n")
        (self.folder / "broken.torrent").write_bytes(torrents[0][0][:-1])
        (self.folder / "notes.doc").write_bytes(b"left alone")
        probe = s.probe(self.main, 50, 4000)
        slow, data = self.folder / "t00.torrent", torrents[0][0]
        for start in range(0, len(data), len(data) // 3 + 1):  # pauses shorter than the settle time
            with slow.open("ab") as file:
                file.write(data[start:start + len(data) // 3 + 1])
            time.sleep(0.8)
        print(f"\nround trips while 20 files are taken: p99 {probe.p99} ms, max {probe.max} ms")
        self.assertLess(probe.max, 100)
        self.wait_label("共22条链接（新增1条）")
        taken, failed = self.folder / "已导入", self.folder / "未能导入"
        self.assertEqual(sorted(p.name for p in taken.iterdir()),
                         ["links.txt"] + [f"t{i:02d}.torrent" for i in range(20)])
        self.assertEqual(sorted(p.name for p in failed.iterdir()), ["broken.torrent", "broken.torrent.原因.txt"])
        self.assertEqual((failed / "broken.torrent.原因.txt").read_bytes().decode("utf-8-sig"), "未能导入：不是有效的种子文件\r\n")
        self.assertEqual(sorted(p.name for p in self.folder.iterdir() if p.is_file()), ["notes.doc"])

        # A restart takes nothing twice; a name taken before gets a number.
        s.kill_program()
        self.start(keep_record=True, watched_folder=windows_path(self.folder))
        (self.folder / "t05.torrent").write_bytes(torrents[5][0])
        self.wait_label("共1条链接（新增1条）")
        self.assertTrue((taken / "t05 (2).torrent").exists())

        # A folder that goes away: one box, and watching is off.
        shutil.rmtree(self.folder)
        box = s.wait_message_box(title=steps.NOTICE_TITLE)
        self.assertEqual(box.text, f"监视的文件夹已不存在，已停止监视：\n{windows_path(self.folder)}")
        steps.answer(s, box, "OK")
        self.assertNotIn(windows_path(self.folder), self.settings.read_text("utf-16"))

    def test_links_dropped_into_the_folder_start_a_run_once_and_a_sign_out_waits(self):
        s = self.session
        self.start(watched_folder=windows_path(self.folder), auto_start=1)
        steps.sign_in(s, USER, USER_ID)
        s.set_text(self.main, steps.INTERVAL_EDIT, "0")
        first = [torrent(i) for i in range(30, 33)]
        for i, (data, _) in enumerate(first):
            (self.folder / f"a{i}.torrent").write_bytes(data)
        s.wait_for(lambda: self.label().endswith("秒后自动开始）"), timeout=15, message="the countdown")
        s.screenshot("watch_countdown_label")
        box = s.wait_message_box(timeout_ms=30000)
        # Nobody may be there to close it: the run is over while its box waits.
        self.assertEqual(s.text(self.main, steps.START_BUTTON), steps.START_CAPTION)
        self.assertEqual(box.text.split("\n")[0], steps.ALL_DONE)
        steps.answer(s, box, "OK")
        self.assertEqual(sorted(c["hash"] for c in self.standin.commits()), sorted(hash_of(m) for _, m in first))

        for i, (data, _) in enumerate(first):  # the same files again
            (self.folder / f"a{i}.torrent").write_bytes(data)
        self.wait_label("共3条链接（新增0条）")
        self.stays("共3条链接（新增0条）", 11)
        self.assertEqual(len(self.standin.commits()), 3)

        second = [torrent(i) for i in range(40, 42)]
        self.standin.set_faults({"signed_out": {"target": "commit", "hashes": [hash_of(m) for _, m in second]}})
        for i, (data, _) in enumerate(second):
            (self.folder / f"b{i}.torrent").write_bytes(data)
        box = s.wait_message_box(timeout_ms=40000, title=steps.NOTICE_TITLE)
        self.assertEqual(box.text, SIGNED_OUT_PROMPT)
        time.sleep(2)  # it waits for the user
        self.assertEqual(len(self.standin.commits()), 4)
        steps.answer(s, box, CANCEL)
        self.assertEqual(steps.wait_all_done(s, 30000).text.split("\n")[0], steps.STOPPED)
        self.assertEqual(len(self.standin.commits()), 4)
