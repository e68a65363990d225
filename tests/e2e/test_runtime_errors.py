"""Fatal runtime errors as the user sees them: the box, its exact text, and the end of the process."""

import os
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import MAIN_CAPTION, PROGRAM, RUNTIME_PROBE, E2ETestCase, windows_path

HEAD = "运行时出错!\r\n\r\n"
SS_TYPEMASK, SS_ICON = 0x1F, 0x3


def coded(code, message):
    return f"{HEAD}错误代码：{code}\r\n\r\n错误信息：{message}\r\n"


def uncoded(message):
    return f"{HEAD}错误信息：{message}\r\n"


@unittest.skipUnless(RUNTIME_PROBE.exists(), "runtime_probe.exe not built")
class RuntimeErrorTest(E2ETestCase):
    program = RUNTIME_PROBE
    start_program = False
    use_standin = False

    def run_probe(self, mode):
        """Start the probe in a mode; its log file (the end routine writes to it)."""
        log = Path(tempfile.mkstemp(suffix=".log")[1])
        self.addCleanup(log.unlink)
        self.session.start_program(args=mode, env={"BRINDOR_PROBE_LOG": windows_path(log)})
        return log

    def test_error_box_then_exit_code_minus_one_without_end_routine(self):
        cases = [
            ("worker-subscript", coded(1, "数组成员引用下标超出定义范围")),
            ("subscript", coded(4, "数组成员引用下标必须大于等于1")),
            ("wrong-arguments", coded(6, "调用DLL命令后发现堆栈错误")),
            ("missing-export", uncoded("无法找到指定DLL库文件“kernel32.dll”中的输出命令“NoSuchExportAnywhere”")),
            ("missing-without-library", uncoded("无法找到指定DLL库文件中的输出命令“NoSuchExportAnywhere”")),
            ("divide", uncoded("不能整除于零")),
            ("start-window", uncoded("载入启动窗口失败")),
            ("unloaded-window", uncoded("未载入欲访问窗口组件所在的窗口")),
        ]
        s = self.session
        for mode, text in cases:
            with self.subTest(mode=mode):
                log = self.run_probe(mode)
                box = s.wait_message_box(title="错误")
                self.assertEqual((box.text, [b[1] for b in box.buttons]), (text, ["OK"]))
                self.assertIsNone(s.owner(box.handle))
                icons = [c for c in s.children(box.handle) if c[1] == "Static" and c[3] & SS_TYPEMASK == SS_ICON]
                self.assertEqual(len(icons), 1)
                # The box comes at the faulty call, after start-up has logged.
                self.assertEqual(log.read_text().splitlines(), ["started"])
                s.press(box.handle, "1")
                self.assertEqual(s.wait_exit(), -1)
                self.assertEqual(log.read_text().splitlines(), ["started"])

    def test_normal_end_runs_the_end_routine_once(self):
        log = self.run_probe("")
        self.assertEqual(self.session.wait_exit(), 0)
        self.assertEqual(log.read_text().splitlines(), ["started", "finished", "end routine"])

    def test_closing_the_empty_start_window_ends_the_program_once(self):
        s = self.session
        log = self.run_probe("empty-window")
        window = s.wait_window("probe")
        self.assertEqual(s.children(window), [])
        s.close_window(window)
        self.assertEqual(s.wait_exit(), 0)
        self.assertEqual(log.read_text().splitlines().count("end routine"), 1)

    def test_controls_of_a_closed_last_window_are_quiet(self):
        log = self.run_probe("after-last-window")
        self.assertEqual(self.session.wait_exit(), 0)
        self.assertEqual(log.read_text().splitlines(), ["started", "finished", "end routine"])


@unittest.skipUnless(PROGRAM.exists(), "brindor.exe not built")
class ProgramEndTest(E2ETestCase):
    use_standin = False

    def test_is_a_32_bit_gui_program(self):
        kind = subprocess.run(["file", "-b", str(PROGRAM)], capture_output=True, text=True, check=True).stdout
        self.assertRegex(kind, r"^PE32 executable \(GUI\) Intel 80386")

    def test_closing_the_main_window_ends_the_program(self):
        s = self.session
        main = s.wait_window(MAIN_CAPTION)
        s.close_window(main)
        self.assertEqual(s.wait_exit(), 0)
        self.assertFalse(s.has_window(MAIN_CAPTION))


if __name__ == "__main__":
    unittest.main()
