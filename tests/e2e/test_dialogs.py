"""Message boxes and the open-file dialog as the user meets them, shown by dialog_probe.exe."""

import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import DIALOG_PROBE, E2ETestCase, windows_path

WS_VISIBLE, WS_EX_TOPMOST = 0x10000000, 0x8
MB_SYSTEMMODAL = 0x1000
FILE_TYPES, READ_ONLY = 0x470, 0x410
BYSTANDER = "dialog probe"


@unittest.skipUnless(DIALOG_PROBE.exists(), "dialog_probe.exe not built")
class DialogTestCase(E2ETestCase):
    program = DIALOG_PROBE
    start_program = False
    use_standin = False

    def run_probe(self, *args):
        """Start the probe with these arguments; its log file."""
        if self.session.running:  # a box left open by a failed case would answer for the next one
            self.session.kill_program()
        log = Path(tempfile.mkstemp(suffix=".log")[1])
        self.addCleanup(log.unlink)
        self.session.start_program(args=subprocess.list2cmdline(args),
                                   env={"BRINDOR_PROBE_LOG": windows_path(log)})
        return log

    def outcome(self, log):
        """The probe's lines after it has ended."""
        self.assertEqual(self.session.wait_exit(), 0)
        return log.read_text(encoding="utf-8").splitlines()[1:]


class MessageBoxTest(DialogTestCase):
    def test_each_button_maps_to_its_result(self):
        cases = [  # buttons, button pressed (its system id), result
            (0, 1, 0),
            (1, 2, 1),
            (2, 3, 2),
            (2, 4, 3),
            (2, 5, 4),
            (4, 6, 5),
            (4, 7, 6),
            (3, 2, 1),
            (6, 11, -1),  # "Continue" has no result of its own
        ]
        s = self.session
        for buttons, pressed, result in cases:
            with self.subTest(buttons=buttons, pressed=pressed):
                log = self.run_probe("box", str(buttons), "确定吗？")
                box = s.wait_message_box()
                s.press(box.handle, str(pressed))
                self.assertEqual(self.outcome(log), [f"result {result}", "bystander enabled 1"])

    def test_title_and_chinese_text(self):
        content = "打开文件失败，可能原因是文件不存在\r\n第二行：磁力链接"
        cases = [  # title arguments, title shown
            ((), "信息："),
            (("",), ""),
            (("提示",), "提示"),
        ]
        s = self.session
        for title, shown in cases:
            with self.subTest(title=title):
                log = self.run_probe("box", "0", content, *title)
                box = s.wait_message_box()
                self.assertEqual((box.title, box.text, box.buttons), (shown, content, [(1, "OK")]))
                s.press(box.handle, "1")
                self.assertEqual(self.outcome(log)[0], "result 0")

    def test_task_modal_unless_system_modal(self):
        s = self.session
        for buttons, task_modal in [(0, True), (4, True), (MB_SYSTEMMODAL, False), (MB_SYSTEMMODAL | 4, False)]:
            with self.subTest(buttons=buttons):
                log = self.run_probe("box", str(buttons), "模态")
                box = s.wait_message_box()
                bystander = s.wait_window(BYSTANDER)
                self.assertIsNone(s.owner(box.handle))
                # Task-modal: the thread's other windows wait with the box; system-modal: the box stays on top.
                if task_modal:
                    s.wait_for(lambda: not s.enabled(bystander), timeout=5, message="bystander disabled")
                else:
                    self.assertTrue(s.enabled(bystander))
                self.assertEqual(bool(s.info(box.handle).exstyle & WS_EX_TOPMOST), not task_modal)
                s.press(box.handle, box.buttons[0][0])
                self.assertEqual(self.outcome(log)[1], "bystander enabled 1")


class OpenFileDialogTest(DialogTestCase):
    def test_filter_types_and_cancel(self):
        cases = [  # filter, file types offered
            ("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*", ["文本文件(*.txt)", "所有文件(*.*)"]),
            ("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||", ["文本文件(*.txt)", "所有文件(*.*)"]),
            ("磁力链接(*.txt)|*.txt", ["磁力链接(*.txt)"]),
            ("磁力链接(*.txt)|*.txt|", ["磁力链接(*.txt)"]),
            ("東億|*.txt|txt文件|*.txt", ["東億", "txt文件"]),  # the second byte of 東 in GBK is a bar
        ]
        s = self.session
        for filter_text, types in cases:
            with self.subTest(filter=filter_text):
                log = self.run_probe("open", filter_text, "初始.txt")
                handle = self.wait_file_dialog()
                self.assertEqual(s.combo_items(handle, FILE_TYPES), (0, types))
                read_only = [c for c in s.children(handle) if c[0] == READ_ONLY]
                self.assertFalse(any(c[3] & WS_VISIBLE for c in read_only))
                s.cancel_file()
                self.assertEqual(self.outcome(log), ["result 0", "file 初始.txt"])

    def test_confirmed_file_gives_its_full_path(self):
        folder = Path(tempfile.mkdtemp())
        chosen = folder / "磁力链接淺.txt"  # the second byte of 淺 in GBK is a backslash
        self.addCleanup(lambda: (chosen.unlink(missing_ok=True), folder.rmdir()))
        chosen.write_text("magnet:?xt=urn:btih:0\n")
        log = self.run_probe("open", "文本文件(*.txt)|*.txt")
        self.session.open_file(chosen)
        result, name = self.outcome(log)
        self.assertEqual(result, "result 1")
        self.assertEqual(name.lower(), f"file {windows_path(chosen)}".lower())

    def wait_file_dialog(self):
        s = self.session
        return s.wait_for(lambda: next((w[0] for w in s.windows() if w[1] == "#32770" and w[2] == "选择文件"), None),
                          message="open-file dialog")


if __name__ == "__main__":
    unittest.main()
