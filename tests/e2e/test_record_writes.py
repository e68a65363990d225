"""The record is written before every commit: while it cannot be, the run pauses and nothing goes out."""

import subprocess
import unittest

from harness import E2ETestCase
import batch_steps as steps
from test_report import GOOD, USER, USER_ID, LinkFiles, generated_links

UNRECORDED = "无法写入提交记录（磁盘已满或文件被占用）。按“重试”继续；按“取消”停止提交。"


class RecordWritesTest(LinkFiles, E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

    def paused_for_the_record(self):
        box = self.session.wait_message_box(timeout_ms=60000)
        self.assertEqual((box.title, box.text, box.buttons), (steps.NOTICE_TITLE, UNRECORDED, [(4, "重试"), (2, "取消")]))
        return box

    def test_no_commit_goes_out_while_the_record_cannot_be_written(self):
        s = self.session
        database = self.environment.record_folder() / "brindor.db"
        database.mkdir(parents=True)  # a folder where the file would be
        self.addCleanup(self.environment.clear_record)
        steps.sign_in(s, USER, USER_ID)
        steps.import_links(s, self.link_file([GOOD]), 1)
        steps.start_batch(s, "0")
        box = self.paused_for_the_record()
        self.assertEqual(self.standin.commits(), [])
        database.rmdir()
        steps.answer(s, box, 4)  # 重试
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.assertEqual(len(self.standin.commits()), 1)

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
