"""The program as a Windows user expects it: its resources, the keyboard, and a display at 150 %."""

import re
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import (MAIN_CAPTION, PROGRAM, REPO, SIGNIN_CAPTION, WINE, WINESERVER, E2ETestCase, cache_value,
                     wine_environment)
import batch_steps as steps
from test_windows import COLUMNS, PERCENT, SIGNIN_BROWSER, assert_main_layout

VK_ESCAPE = 0x1B
USER, USER_ID = "keys", "4242"
DPI = 144
NAVY = (0, 0, 128)


def utf16(text):
    return text.encode("utf-16-le")


@unittest.skipUnless(PROGRAM.exists(), "brindor.exe not built")
class ResourcesTest(unittest.TestCase):
    def test_program_carries_manifest_icon_group_and_version(self):
        dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", str(PROGRAM)], capture_output=True, text=True,
                              check=True).stdout
        types = {int(t, 16) for t in re.findall(r"^[0-9a-f]{3}   Entry: ID: 0x([0-9a-f]+)", dump, re.M)}
        RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
        self.assertLessEqual({RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST}, types)
        image = PROGRAM.read_bytes()
        version = cache_value("CMAKE_PROJECT_VERSION")
        for name, value in (("ProductName", "Brindor"), ("ProductVersion", version), ("FileVersion", version)):
            with self.subTest(name):
                self.assertIn(utf16(name) + b"\0\0" + utf16(value) + b"\0\0", image.replace(b"\0\0\0\0", b"\0\0"))
        for needle in (b"Microsoft.Windows.Common-Controls", b"PerMonitorV2", b"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"):
            self.assertIn(needle, image)


@unittest.skipUnless(PROGRAM.exists(), "brindor.exe not built")
class KeyboardTest(E2ETestCase):
    desktop = "brindor"
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")

    def setUp(self):
        super().setUp()
        self.main = self.session.wait_window(MAIN_CAPTION)

    def focus_comes_to(self, control):
        self.session.wait_for(lambda: self.session.focused(self.main) == control, timeout=10,
                              message=f"the focus on {control:#x}")

    def answer_box(self, text):
        box = self.session.wait_message_box()
        self.assertEqual(box.text, text)
        self.session.press(box.handle, "OK")
        self.session.wait_gone(box.handle)

    def test_focus_starts_on_sign_in_and_comes_back_after_each_message_box(self):
        s = self.session
        self.focus_comes_to(steps.SIGNIN_BUTTON)
        folder = Path(tempfile.mkdtemp(prefix="brindor_keys_"))
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        (folder / "links.csv").write_bytes(b"magnet:?xt=urn:btih:" + b"0" * 40 + b"\n")
        # A box of the window's own thread, then one of the batch worker.
        with self.subTest("refused file name"):
            s.focus(self.main, steps.IMPORT_BUTTON)
            s.click(self.main, steps.IMPORT_BUTTON)
            s.open_file(folder / "links.csv")
            self.answer_box("必须导入txt格式")
            self.focus_comes_to(steps.IMPORT_BUTTON)
        with self.subTest("nothing to submit"):
            # The start button has the focus and is disabled while the run goes.
            s.focus(self.main, steps.START_BUTTON)
            s.click(self.main, steps.START_BUTTON)
            self.answer_box(steps.NOTHING_TO_DO)
            self.focus_comes_to(steps.START_BUTTON)

    def test_escape_closes_the_sign_in_window_like_its_close_box(self):
        s = self.session
        s.press_key(self.main, VK_ESCAPE)
        s.click(self.main, steps.SIGNIN_BUTTON)
        signin = s.wait_window(SIGNIN_CAPTION)
        s.wait_for(lambda: any(r["path"].startswith("/task.html") for r in self.standin.requests()),
                   message="the sign-in page request")
        s.press_key(signin, VK_ESCAPE)
        s.wait_gone(signin)
        s.wait_for(lambda: s.enabled(self.main), message="the main window enabled again")
        # Closing read the cookies, as the close box does; Esc on the main window closed nothing.
        s.wait_for(lambda: s.text(self.main, steps.SIGNIN_STATE_LABEL) == f"{USER}|{USER_ID}",
                   message="the sign-in label")
        self.assertTrue(s.has_window(MAIN_CAPTION))


def prefix_at_dpi(dpi):
    """A copy of the project's Wine prefix whose displays have `dpi` (made once, kept in build/)."""
    source = Path(wine_environment()["WINEPREFIX"])
    target = REPO / "build" / f"wineprefix-{dpi}dpi"
    marker = target / ".brindor-dpi"
    if marker.exists():
        return target
    shutil.rmtree(target, ignore_errors=True)
    shutil.copytree(source, target, symlinks=True, ignore=shutil.ignore_patterns("*.lock"))
    reg = target / "dpi.reg"
    reg.write_text("REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"
                   f'"LogPixels"=dword:{dpi:08x}\n\n'
                   "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\n"
                   f'"LogPixels"=dword:{dpi:08x}\n')
    env = wine_environment()
    env["WINEPREFIX"] = str(target)
    subprocess.run([WINE, "regedit", str(reg)], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120, check=True)
    subprocess.run([WINESERVER, "-w"], env=env, timeout=120, check=False)
    marker.write_text(str(dpi))
    return target


def scale(value):
    """As the program scales: to the nearest pixel, halves away from zero (95 px becomes 143)."""
    return (value * DPI + 48) // 96


def scaled(values):
    return tuple(scale(v) for v in values)


@unittest.skipUnless(PROGRAM.exists(), "brindor.exe not built")
class HighDpiTest(E2ETestCase):
    """At 144 DPI every control sits at 1.5 times its place and size at 96 DPI (test_windows has those)."""

    desktop = "brindor-dpi"
    desktop_size = "1600x1000"
    screen = "1600x1000"

    @classmethod
    def setUpClass(cls):
        cls.prefix = prefix_at_dpi(DPI)
        super().setUpClass()

    def test_both_windows_scale_every_control_column_and_font(self):
        s = self.session
        main = s.wait_window(MAIN_CAPTION)
        assert_main_layout(self, s, main, scale)
        self.assertEqual([tuple(c) for c in s.list_columns(main, steps.REPORT_LIST)][:-1],
                         [(title, scale(width), align) for title, width, align in COLUMNS])
        s.set_text(main, PERCENT, "100%")
        navy = s.wait_for(lambda: [y for y, row in enumerate(s.pixels(main, PERCENT)) if NAVY in row],
                          message="navy text")
        self.assertGreaterEqual(navy[-1] - navy[0] + 1, 16)  # 11 or more at 96 DPI
        s.screenshot("main_window_144dpi")

        s.click(main, steps.SIGNIN_BUTTON)
        signin = s.wait_window(SIGNIN_CAPTION)
        browser = s.info(signin, SIGNIN_BROWSER)
        self.assertEqual((browser.left, browser.top, browser.width, browser.height), scaled((0, 0, 848, 512)))
        s.screenshot("signin_window_144dpi")
        s.close_window(signin)
        s.wait_gone(signin)


if __name__ == "__main__":
    unittest.main()
