"""The two windows as the user meets them: every control, the interval box, the modal sign-in window."""

import shutil
import tempfile
import unittest
from pathlib import Path

from harness import MAIN_CAPTION, PROGRAM, SIGNIN_CAPTION, DriverError, E2ETestCase
from locations import windows_path

SCREEN = (1024, 768)

BROWSER, FILE_DIALOG, LINK_COUNT, IMPORT = 0x16014CC4, 0x160119EE, 0x160119ED, 0x160119EC
SIGNIN_STATE, INTERVAL, INTERVAL_CAPTION, PERCENT = 0x160119E7, 0x160119DC, 0x160119DB, 0x1601001A
PROGRESS, REPORT, START, SIGNIN = 0x16010018, 0x16010017, 0x1601000B, 0x16010007
SIGNIN_BROWSER = 0x16010004

# id, window class, caption (None: not a caption the user reads), tab stop
MAIN_CONTROLS = [
    (BROWSER, None, None, True),
    (LINK_COUNT, "Static", "", False),
    (IMPORT, "Button", "导入磁力链接", True),
    (SIGNIN_STATE, "Static", "", False),
    (INTERVAL, "Edit", "3", True),
    (INTERVAL_CAPTION, "Static", "提交间隔", False),
    (PERCENT, "Static", "", False),
    (PROGRESS, "msctls_progress32", None, False),
    (REPORT, "SysListView32", None, True),
    (START, "Button", "开始提交", True),
    (SIGNIN, "Button", "登陆迅雷离线", True),
]
COLUMNS = [("编号", 50, "left"), ("标题", 200, "left"), ("大小", 70, "left"), ("磁力链接", 200, "left"),
           ("提交状态", 100, "left")]  # 原因 takes the rest
# These follow the window's edges; the others form the top row.
ANCHORED = {BROWSER, PERCENT, PROGRESS, REPORT}

WS_MAXIMIZEBOX, WS_MINIMIZEBOX, WS_THICKFRAME, WS_SYSMENU, WS_CAPTION = 0x10000, 0x20000, 0x40000, 0x80000, 0xC00000
WS_TABSTOP = 0x10000  # the same bit as the maximise box: on a control it means the tab stop
LVS_TYPEMASK, LVS_REPORT, LVS_SINGLESEL, LVS_SORT, LVS_EDITLABELS, LVS_NOCOLUMNHEADER = 3, 1, 4, 0x30, 0x200, 0x4000
LVS_EX_GRIDLINES, LVS_EX_CHECKBOXES, LVS_EX_FULLROWSELECT, LVS_EX_LABELTIP = 1, 4, 0x20, 0x4000


def assert_main_layout(test, s, main, scale=lambda v: v, captions=True):
    """Every control inside the client area and none over another, the top row above the list; the list takes
    the rest; the strip and the bar stay at the bottom."""
    width, height = s.client_rect(main)[2:]
    placed = {}
    for control, _, caption, _ in MAIN_CONTROLS:
        info = s.info(main, control)
        box = (info.left, info.top, info.left + info.width, info.top + info.height)
        test.assertTrue(0 <= box[0] < box[2] <= width and 0 <= box[1] < box[3] <= height, (hex(control), box))
        for other, (left, top, right, bottom) in placed.items():
            test.assertFalse(box[0] < right and left < box[2] and box[1] < bottom and top < box[3], hex(other))
        placed[control] = box
        if captions and caption is not None:
            test.assertEqual(info.text, caption)
    test.assertTrue(all(box[3] <= scale(40) for control, box in placed.items() if control not in ANCHORED))
    listed, strip, bar, percent = (s.info(main, c) for c in (REPORT, BROWSER, PROGRESS, PERCENT))
    test.assertEqual((listed.left, listed.top, strip.left, bar.left), (0, scale(40), 0, 0))
    test.assertEqual((strip.top, bar.top, bar.top + bar.height), (listed.top + listed.height,
                                                                  strip.top + strip.height, height))
    test.assertEqual((strip.height, bar.height, strip.width, bar.width), (scale(96), scale(16), listed.width,
                                                                         listed.width))
    test.assertTrue(0 <= width - listed.width <= scale(4), (width, listed.width))
    test.assertEqual(percent.left + percent.width, listed.width - scale(8))
    return listed


def centred(rect):
    left, top, width, height = rect
    return abs(left - (SCREEN[0] - width) // 2) <= 1 and abs(top - (SCREEN[1] - height) // 2) <= 1


@unittest.skipUnless(PROGRAM.exists(), "brindor.exe not built")
class WindowsTest(E2ETestCase):
    desktop = "brindor"

    def setUp(self):
        super().setUp()
        self.s = self.session
        self.main = self.s.wait_window(MAIN_CAPTION)

    def assert_frame(self, window, size, minimise_box, sizing=False):
        style = self.s.info(window).style
        self.assertEqual(self.s.rect(window)[2:], size)
        self.assertTrue(centred(self.s.rect(window)), self.s.rect(window))
        self.assertEqual(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU)
        self.assertEqual(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), (WS_THICKFRAME | WS_MAXIMIZEBOX) * sizing)
        self.assertEqual(bool(style & WS_MINIMIZEBOX), minimise_box)

    def test_main_window_and_its_controls_at_start(self):
        s = self.s
        self.assert_frame(self.main, (824, 505), minimise_box=True, sizing=True)
        listed = assert_main_layout(self, s, self.main)
        for control, cls, caption, tab_stop in MAIN_CONTROLS:
            with self.subTest(control=hex(control)):
                info = s.info(self.main, control)
                self.assertTrue(info.enabled and info.visible)
                self.assertEqual(bool(info.style & WS_TABSTOP), tab_stop)
                if cls:
                    self.assertEqual(info.cls, cls)
        # The browser is the system's control, sized to its host.
        embedded = [c for c in s.children(s.control(self.main, BROWSER)) if c[1] == "Shell Embedding"]
        self.assertTrue(embedded)
        self.assertEqual(s.info(s.control(self.main, BROWSER), embedded[0][0])[3:5], (listed.width, 96))
        with self.assertRaisesRegex(DriverError, "no control"):
            s.info(self.main, FILE_DIALOG)  # a dialog, not a window of the main window

        columns = [tuple(c) for c in s.list_columns(self.main, REPORT)]
        self.assertEqual((columns[:-1], columns[-1][0]), (COLUMNS, "原因"))
        self.assertEqual(sum(c[1] for c in columns), listed.width - 4)  # inside the list's sunken edge
        self.assertEqual(s.list_rows(self.main, REPORT), [])
        style, extended = s.list_style(self.main, REPORT)
        self.assertEqual(style & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SORT | LVS_EDITLABELS | LVS_NOCOLUMNHEADER),
                         LVS_REPORT)
        self.assertEqual(extended & (LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP),
                         LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP)

        announcements = [r for r in self.standin.requests(wait=1) if r["path"] == "/softgg.html"]
        self.assertEqual([r["method"] for r in announcements], ["GET"])
        s.screenshot("main_window")

    def test_progress_label_draws_large_navy_text(self):
        self.s.set_text(self.main, PERCENT, "100%")
        navy = self.s.wait_for(lambda: [y for y, row in enumerate(self.s.pixels(self.main, PERCENT))
                                        if (0, 0, 128) in row], message="navy text")
        # A 16-pixel face has digits of about 12 pixels; the default GUI font's are about 8.
        self.assertGreaterEqual(navy[-1] - navy[0] + 1, 11)

    def test_interval_box_accepts_integers_and_normalises_when_left(self):
        cases = [
            # typed, shown while typing, shown after the focus left
            ("a1b2", "12", "12"),
            ("-5", "5", "5"),
            ("0", "0", ""),
            ("000", "000", ""),
            ("99999999999", "99999999999", "2147483647"),
            ("600000", "600000", "600000"),
            ("007", "007", "7"),
            ("5-3", "53", "53"),
            ("12\b", "1", "1"),
            ("x.,", "", ""),
        ]
        s = self.s
        for typed, shown, left in cases:
            with self.subTest(typed=typed):
                s.select(self.main, INTERVAL, 0, -1)
                s.type(self.main, INTERVAL, "\b" + typed)
                self.assertEqual(s.text(self.main, INTERVAL), shown)
                s.focus(self.main, START)
                self.assertEqual(s.text(self.main, INTERVAL), left)

    def test_sign_in_window_is_modal_and_can_be_opened_again(self):
        s = self.s
        for round_ in (1, 2):
            with self.subTest(round=round_):
                s.click(self.main, SIGNIN)
                signin = s.wait_window(SIGNIN_CAPTION)
                self.assert_frame(signin, (851, 536), minimise_box=False)
                browser = s.info(signin, SIGNIN_BROWSER)
                self.assertEqual((browser.left, browser.top, browser.width, browser.height), (0, 0, 848, 512))
                self.assertFalse(s.enabled(self.main))
                self.assertEqual(s.owner(signin), self.main)
                with self.assertRaisesRegex(DriverError, "window is disabled"):
                    s.click(self.main, START, wait=False)
                if round_ == 1:
                    s.screenshot("signin_window")
                    # The modal loop keeps the main window's thread answering.
                    probe = s.probe(self.main, 20, 600)
                    self.assertEqual(probe.failures, 0)
                    self.assertLess(probe.max, 1000)
                s.close_window(signin)
                s.wait_gone(signin)
                s.wait_for(lambda: s.enabled(self.main), message="the main window enabled again")
                self.assertEqual(s.text(self.main, SIGNIN_STATE), "")
        s.close_window(self.main)
        self.assertEqual(s.wait_exit(), 0)
        # Each opening sent its browser to the task page.
        pages = [r["method"] for r in self.standin.requests(wait=3) if r["path"].startswith("/task.html")]
        self.assertEqual(pages, ["GET", "GET"])

    def restart(self, program=None, meanwhile=lambda: None, killed=False):
        if killed:
            self.s.kill_program()
        else:
            self.s.close_window(self.main)
            self.assertEqual(self.s.wait_exit(), 0)
        meanwhile()
        self.s.start_program(program, keep_record=True)
        self.main = self.s.wait_window(MAIN_CAPTION)

    def test_place_interval_and_folder_survive_a_restart_and_a_damaged_file_gives_defaults(self):
        s, settings = self.s, self.environment.settings_file()
        folder = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, folder)
        (folder / "links.txt").write_text("magnet:?xt=urn:btih:" + "ab" * 20 + "\n")
        s.click(self.main, IMPORT)
        s.open_file(folder / "links.txt")
        s.set_text(self.main, INTERVAL, "600000")
        s.place(self.main, 40, 30, 1000, 700)
        self.restart()
        self.assertEqual((s.rect(self.main), s.text(self.main, INTERVAL)), ((40, 30, 1000, 700), "600000"))
        self.assertGreater(assert_main_layout(self, s, self.main, captions=False).height, 328 + 150)
        self.assertIn(f"import_folder={windows_path(folder)}", settings.read_text("utf-16"))
        s.screenshot("main_window_600000")
        s.set_text(self.main, INTERVAL, "45")
        s.place(self.main, 40, 30, 1000, 700, maximised=True)
        self.restart(killed=True)  # each value was written as it changed
        self.assertEqual(s.text(self.main, INTERVAL), "45")
        self.assertEqual(s.rect(self.main)[2:], (SCREEN[0] + 8, SCREEN[1] + 8))  # maximised: the frame lies outside
        s.screenshot("main_window_maximised")

        newer = "\ufeff[Brindor]\r\nversion=2\r\ninterval=9\r\n"
        for damaged in ("\x00\xff garbage=1\n".encode("latin-1"), newer.encode("utf-16-le")):
            with self.subTest(damaged=damaged[:8]):
                self.restart(meanwhile=lambda: settings.write_bytes(damaged))
                self.assertEqual(s.text(self.main, INTERVAL), "3")
                self.assertTrue(centred(s.rect(self.main)) and s.rect(self.main)[2:] == (824, 505))
        self.restart()
        self.assertEqual(settings.read_bytes(), newer.encode("utf-16-le"))  # left for the newer version

    def test_a_portable_copy_writes_nothing_under_the_profile(self):
        folder = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, folder)
        shutil.copy(PROGRAM, folder)
        (folder / "portable").write_text("")
        listing = lambda: {p for kind in ("Local", "Roaming") for p in self.environment.app_data(kind).rglob("*")}
        before = set()
        self.restart(folder / PROGRAM.name, meanwhile=lambda: before.update(listing()))
        self.s.set_text(self.main, INTERVAL, "7")
        self.restart(folder / PROGRAM.name)
        self.assertEqual(self.s.text(self.main, INTERVAL), "7")
        self.assertEqual(listing() - before, set())
        self.assertIn("interval=7", (folder / "settings.ini").read_text("utf-16"))


if __name__ == "__main__":
    unittest.main()
