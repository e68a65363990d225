"""The driver against its own fixture window: every command reads and works the real controls."""

import os
import unittest

from harness import FIXTURE, DriverError, E2ETestCase, temporary_text_file

CAPTION = "Driver fixture 测试"
SHOW_BOX, OPEN_FILE, CHOSEN_FILE, EDIT = 0x16010001, 0x16010002, 0x16010003, 0x16010004
LIST, PROGRESS, FOCUS_LOG, DISABLED, BUSY, EXIT_SEVEN = (0x16010005, 0x16010006, 0x16010007, 0x16010008,
                                                          0x16010009, 0x1601000A)


class DriverTest(E2ETestCase):
    program = FIXTURE
    use_standin = False

    def setUp(self):
        super().setUp()
        self.s = self.session
        self.window = self.s.wait_window(CAPTION)

    def test_controls_are_found_by_their_full_id_and_read(self):
        cases = [
            (SHOW_BOX, "Button", (8, 8, 90, 28), True, "Show box"),
            (DISABLED, "Button", (200, 8, 90, 28), False, "Disabled"),
            (EDIT, "Edit", (8, 68, 120, 24), True, "3"),
            (LIST, "SysListView32", (8, 100, 400, 120), True, ""),
        ]
        for control, cls, rect, enabled, text in cases:
            with self.subTest(control=hex(control)):
                info = self.s.info(self.window, control)
                self.assertEqual((info.cls, (info.left, info.top, info.width, info.height), info.enabled,
                                  info.visible, info.text), (cls, rect, enabled, True, text))
        self.assertEqual(self.s.rect(self.window)[2:], (440, 300))
        with self.assertRaisesRegex(DriverError, "no control 0x16017777"):
            self.s.info(self.window, 0x16017777)
        with self.assertRaisesRegex(DriverError, "no window"):
            self.s.info("no such caption")
        with self.assertRaisesRegex(DriverError, "control is disabled"):
            self.s.click(self.window, DISABLED)

    def test_list_view_progress_bar_and_typing(self):
        self.assertEqual(self.s.list_rows(self.window, LIST), [["1", "山海之间"], ["2", "tab\there"], ["3", ""]])
        self.assertEqual(self.s.list_rows(self.window, LIST, 1, 1), [["2", "tab\there"]])
        self.assertEqual(self.s.list_rows(self.window, LIST, 2, 5), [["3", ""]])
        self.assertEqual(self.s.list_count(self.window, LIST), 3)
        self.assertEqual([tuple(c) for c in self.s.list_columns(self.window, LIST)],
                         [("编号", 60, "left"), ("标题", 100, "left")])
        style, extended = self.s.list_style(self.window, LIST)
        self.assertEqual((style & 3, extended & 0x21), (1, 0x21))  # report view; grid lines, full row
        self.assertEqual(self.s.progress(self.window, PROGRESS), (0, 50, 20))
        self.s.select(self.window, EDIT, 0, -1)
        self.s.type(self.window, EDIT, "12x\b中")
        self.assertEqual(self.s.text(self.window, EDIT), "12中")
        self.s.focus(self.window, SHOW_BOX)
        self.s.wait_for(lambda: self.s.text(self.window, FOCUS_LOG) == "left 12中", message="focus to leave")

    def test_message_box_is_read_and_answered(self):
        self.s.click(self.window, SHOW_BOX)
        box = self.s.wait_message_box(title="Fixture box")
        self.assertEqual((box.title, box.text, box.buttons), ("Fixture box", "第一行\r\nline two", [(1, "OK")]))
        self.s.click(self.window, OPEN_FILE)  # the box has no owner: the window stays usable
        self.s.cancel_file()
        self.s.press(box.handle, "OK")
        self.s.wait_gone(box.handle)
        self.assertTrue(self.s.enabled(self.window))

    def test_open_file_dialog_is_answered_and_cancelled(self):
        path = temporary_text_file("magnet:?xt=urn:btih:0101\n")
        self.addCleanup(os.unlink, path)
        self.s.click(self.window, OPEN_FILE)
        self.s.cancel_file()
        self.s.wait_for(lambda: self.s.text(self.window, CHOSEN_FILE) == "(cancelled)", message="cancel")
        self.s.click(self.window, OPEN_FILE)
        self.s.open_file(path)
        chosen = self.s.wait_for(lambda: self.s.text(self.window, CHOSEN_FILE).replace("(cancelled)", ""),
                                 message="the chosen file")
        self.assertEqual(chosen.lower(), ("z:" + str(path).replace("/", "\\")).lower())

    def test_probe_sees_a_blocked_gui_thread(self):
        idle = self.s.probe(self.window, 20, 500)
        self.assertGreater(idle.count, 5)
        self.assertLess(idle.max, 500)
        self.s.click(self.window, BUSY)
        busy = self.s.probe(self.window, 20, 2000)
        self.assertGreaterEqual(busy.max, 1000)
        self.assertEqual(busy.failures, 0)

    def test_exit_codes_of_the_started_program(self):
        self.s.click(self.window, EXIT_SEVEN)
        self.assertEqual(self.s.wait_exit(), 7)
        self.s.start_program()
        window = self.s.wait_window(CAPTION)
        with self.assertRaisesRegex(DriverError, "still running"):
            self.s.wait_exit(200)
        self.s.close_window(window)
        self.assertEqual(self.s.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
