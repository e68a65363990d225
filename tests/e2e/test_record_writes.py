"""The record is written before every commit: while it cannot be, the run pauses and nothing goes out."""

import contextlib
import re
import shutil
import sqlite3
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import BUILD, MAIN_CAPTION, WINE, E2ETestCase, windows_path
import batch_steps as steps
from test_report import GOOD, USER, USER_ID, LinkFiles, generated_links

UNRECORDED = "无法写入提交记录（磁盘已满或文件被占用）。按“重试”继续；按“取消”停止提交。"
HOLD_FILE = BUILD / "tests" / "app" / "win" / "hold_file.exe"


def unreadable(cause):
    return (re.escape(f"无法读取提交记录（{cause}）：\n") + r"[A-Z]:\\.*\\Brindor\\brindor\.db\n" +
            re.escape("没有提交任何链接。按“重试”再次读取；按“取消”不提交。"))


class RecordWritesTest(LinkFiles, E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

    def paused_for_the_record(self):
        box = self.session.wait_message_box(timeout_ms=60000)
        self.assertEqual((box.title, box.text, box.buttons), (steps.NOTICE_TITLE, UNRECORDED, [(4, "重试"), (2, "取消")]))
        return box

    def made(self, links):
        steps.sign_in(self.session, USER, USER_ID)
        steps.import_links(self.session, self.link_file(links), len(links))
        steps.start_batch(self.session, "0")
        self.assertEqual(steps.wait_all_done(self.session).text, f"{steps.ALL_DONE}\n成功{len(links)}条，失败0条。")

    def start_refused(self, cause):
        steps.start_batch(self.session, "0")
        box = self.session.wait_message_box(timeout_ms=60000)
        self.assertRegex(box.text, unreadable(cause))
        self.assertEqual((box.title, box.buttons), (steps.NOTICE_TITLE, [(4, "重试"), (2, "取消")]))
        return box

    def test_nothing_goes_out_while_the_record_cannot_be_opened(self):
        s = self.session
        database = self.environment.record_folder() / "brindor.db"
        database.mkdir(parents=True)  # a folder where the file would be
        self.addCleanup(self.environment.clear_record)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file([GOOD]), 1)
        box = self.start_refused("无法打开文件，可能被其他程序占用")
        self.assertEqual(self.standin.commits(), [])
        database.rmdir()
        steps.answer(s, box, 4)  # 重试
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.assertEqual(len(self.standin.commits()), 1)

    def refused_then_read_again(self, cause, hold, release):
        """Two links made; the record then kept from the program by `hold` until `release`: 开始提交 sends
        nothing, and 重试 asks the start question before any commit."""
        s = self.session
        links = generated_links(3)
        self.made(links[:2])
        s.kill_program()
        database = self.environment.record_folder() / "brindor.db"
        hold(database)
        try:
            s.start_program(keep_record=True)
            steps.sign_in(s, USER, USER_ID)
            steps.import_links(s, self.link_file(links), 3)
            box = self.start_refused(cause)
            s.screenshot("record_refused")
        finally:
            release(database)
        steps.answer(s, box, 4)  # 重试
        question = s.wait_message_box()
        self.assertEqual(question.text, "列表中有2条链接以前已提交成功。是否只提交其余的1条？")
        steps.answer(s, question, 6)  # 是
        self.assertEqual(steps.wait_all_done(s).text, f"{steps.ALL_DONE}\n成功1条，失败0条。")
        self.assertEqual(len(self.standin.commits()), 3)

    def test_a_record_held_by_another_program_is_read_again_before_any_commit(self):
        holder = []
        def hold(database):
            holder.append(subprocess.Popen([WINE, str(HOLD_FILE), windows_path(database)], env=self.environment.env,
                                           stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL))
            self.assertEqual(holder[0].stdout.readline().strip(), b"held")
        def release(database):
            holder[0].stdin.close()
            holder[0].wait(timeout=30)
            holder[0].stdout.close()
        self.refused_then_read_again("无法打开文件，可能被其他程序占用", hold, release)

    def test_a_read_only_record_is_opened_anew_once_writable(self):
        # Not its mode bits: the tests run as root, whom they do not stop.
        def hold(database):
            if subprocess.run(["chattr", "+i", str(database)], capture_output=True).returncode:
                self.skipTest("no file here can be made immutable")
        self.refused_then_read_again("文件只读", hold,
                                     lambda database: subprocess.run(["chattr", "-i", str(database)]))

    def test_a_damaged_page_of_the_successes_sends_nothing(self):
        s = self.session
        self.made([GOOD])
        s.close_window(MAIN_CAPTION)
        s.wait_exit(10000)  # the log is in the file now
        database = self.environment.record_folder() / "brindor.db"
        with contextlib.closing(sqlite3.connect(database)) as db:
            page = db.execute("SELECT rootpage FROM sqlite_master WHERE name = 'succeeded'").fetchone()[0]
        with open(database, "r+b") as file:
            file.seek((page - 1) * 4096)
            file.write(b"\x55" * 4096)
        s.start_program(keep_record=True)
        steps.answer(s, s.wait_message_box(timeout_ms=30000), 7)  # 否: the damaged file stays
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file([GOOD]), 1)
        steps.answer(s, self.start_refused("文件已损坏"), 2)  # 取消
        self.assertEqual(len(self.standin.commits()), 1)

    def test_a_file_that_is_no_database_is_named_and_set_aside_for_a_new_record(self):
        s = self.session
        s.kill_program()
        folder = self.environment.record_folder()
        self.environment.clear_record()
        folder.mkdir(parents=True, exist_ok=True)
        for earlier in folder.glob("brindor.db.damaged-*"):
            earlier.unlink()
        (folder / "brindor.db").write_bytes(bytes(range(256)) * 64)
        s.start_program(keep_record=True)
        box = s.wait_message_box(timeout_ms=30000)
        self.assertRegex(box.text, r"^提交记录文件已损坏，无法读取：\n.*brindor\.db\n是否将它改名为"
                                   r"brindor\.db\.damaged-\d{8}-\d{6}保留，并新建提交记录？")
        s.screenshot("record_damaged")
        steps.answer(s, box, 6)  # 是
        self.made([GOOD])
        self.assertEqual(len(list(folder.glob("brindor.db.damaged-*"))), 1)
        self.assertEqual(len(self.environment.record_links()), 1)
        # The record reads as text in any tool, the stand-in's Chinese title included.
        title = steps.report_rows(s)[0][1]
        if shutil.which("sqlite3"):
            shell = subprocess.run(["sqlite3", str(folder / "brindor.db"), "SELECT title FROM links"],
                                   capture_output=True, check=True)
            self.assertEqual(shell.stdout.decode("utf-8").strip(), title)
        # Closed, the file alone holds the record: a copy of it without its log forgets nothing.
        s.close_window(MAIN_CAPTION)
        s.wait_exit(10000)
        copy = Path(tempfile.mkdtemp()) / "copy.db"
        self.addCleanup(shutil.rmtree, copy.parent)
        shutil.copy(folder / "brindor.db", copy)
        with contextlib.closing(sqlite3.connect(copy)) as db:
            self.assertEqual(db.execute("SELECT count(*), max(title) FROM links JOIN succeeded USING (hash)").fetchone(),
                             (1, title))

    def test_a_full_disk_pauses_the_run_before_the_first_unrecorded_commit(self):
        s = self.session
        folder = self.environment.record_folder()
        self.environment.clear_record()
        folder.mkdir(parents=True, exist_ok=True)
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=2m", "tmpfs", str(folder)], capture_output=True)
        if mounted.returncode:
            self.skipTest(f"a small file system cannot be mounted here: {mounted.stderr.decode().strip()}")
        self.addCleanup(subprocess.run, ["umount", "-l", str(folder)])
        links = generated_links(40)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file(links), len(links))
        steps.start_batch(s, "200")
        steps.wait_rows(s, 5)
        filler = folder / "filler"
        subprocess.run(["dd", "if=/dev/zero", f"of={filler}", "bs=4k"], capture_output=True)
        box = self.paused_for_the_record()
        s.screenshot("record_full_disk")
        # Every commit that reached the service was marked first.
        sent = {c["hash"] for c in self.standin.commits()}
        marked = {row[2][len("magnet:?xt=urn:btih:"):] for row in self.environment.record_links() if row[3]}
        self.assertLess(len(sent), len(links))
        self.assertLessEqual(sent, marked)
        filler.unlink()
        steps.answer(s, box, 4)  # 重试
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.assertEqual(sorted(c["hash"] for c in self.standin.commits()),
                         sorted(link[len("magnet:?xt=urn:btih:"):] for link in links))


if __name__ == "__main__":
    unittest.main()
