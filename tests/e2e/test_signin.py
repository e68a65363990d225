"""Signing in inside the sign-in window: the login cookies the service sets reach the label and the worker."""

import http.client
import shutil
import subprocess
import unittest

from harness import BUILD, MAIN_CAPTION, PROGRAM, SIGNIN_CAPTION, WINE, E2ETestCase, temporary_text_file
import batch_steps as steps

COOKIE_CAPTION = "使用Cookie登录"
COOKIE_EDIT, COOKIE_OK = 0x16010022, 0x16010023
EMULATION_KEY = r"HKCU\Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION"


class SignInTest(E2ETestCase):
    standin_args = ("--auto-signin", "alice:1234")
    start_program = False

    def setUp(self):
        super().setUp()
        self.environment.clear_cookies()
        self.session.start_program()
        self.main = self.session.wait_window(MAIN_CAPTION)

    def open_and_close_sign_in(self):
        """Press the sign-in button, wait for the task page request, close the window."""
        s = self.session
        seen = len(self.standin.requests())
        s.click(self.main, steps.SIGNIN_BUTTON)
        window = s.wait_window(SIGNIN_CAPTION)
        self.assertFalse(s.enabled(self.main))
        page = s.wait_for(lambda: [r for r in self.standin.requests()[seen:] if r["path"] == "/task.html"],
                          timeout=30, message="the task page request")
        self.assertEqual(page[0]["method"], "GET")
        s.close_window(window)
        s.wait_gone(window)
        s.wait_for(lambda: s.enabled(self.main), message="the main window enabled again")
        return page[0]

    def label(self):
        return self.session.text(self.main, steps.SIGNIN_STATE_LABEL)

    def test_sign_in_then_sign_out_inside_the_browser(self):
        s = self.session
        links = temporary_text_file("magnet:?xt=urn:btih:" + "01" * 20 + "\n")
        self.addCleanup(links.unlink)
        steps.import_links(s, links, 1)
        self.assertEqual(self.label(), "")

        self.open_and_close_sign_in()
        self.assertEqual(self.label(), "alice|1234")

        # The service deletes the cookies: the label no longer shows an account, the worker refuses.
        self.standin.set_options(auto_signin=None, auto_signout=True)
        self.open_and_close_sign_in()
        self.assertEqual(self.label(), "")
        steps.start_batch(s, "0")
        box = steps.wait_all_done(s, timeout_ms=15000)
        self.assertEqual((box.title, box.text), (steps.NOTICE_TITLE, steps.NOTHING_TO_DO))
        self.assertEqual(self.standin.commits(), [])

        self.standin.set_options(auto_signin="bob:77", auto_signout=False)
        self.open_and_close_sign_in()
        self.assertEqual(self.label(), "bob|77")
        steps.start_batch(s, "0")
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.assertEqual([c["uid"] for c in self.standin.commits()], ["77"])

    def test_login_cookies_of_an_earlier_run_are_found(self):
        s = self.session
        self.open_and_close_sign_in()
        self.assertEqual(self.label(), "alice|1234")
        s.close_window(self.main)
        self.assertEqual(s.wait_exit(), 0)

        self.standin.set_options(auto_signin=None)
        s.start_program()
        self.main = s.wait_window(MAIN_CAPTION)
        self.assertEqual(self.label(), "")
        page = self.open_and_close_sign_in()
        cookies = "; ".join(value for name, value in page["headers"] if name.lower() == "cookie")
        self.assertIn("userid=1234", cookies)
        self.assertEqual(self.label(), "alice|1234")


class CookieSignInTest(E2ETestCase):
    """A stand-in that must be signed into, and the cookies of a browser signed in there pasted."""

    standin_args = ("--require-signin",)
    start_program = False
    desktop = "cookies"  # title bars, for the system menu and the screenshot

    def setUp(self):
        super().setUp()
        self.environment.clear_cookies()
        self.session.start_program()
        self.main = self.session.wait_window(MAIN_CAPTION)
        # The browser that is signed in: the stand-in's own form.
        connection = http.client.HTTPConnection("127.0.0.1", self.standin.port, timeout=10)
        connection.request("GET", "/login?account=demo&password=demo")
        cookies = connection.getresponse().headers.get_all("Set-Cookie")
        self.session_cookie = next(c.split(";")[0] for c in cookies if c.startswith("sessionid="))

    def run_links(self, count):
        s = self.session
        links = temporary_text_file("".join(f"magnet:?xt=urn:btih:{i:040x}\n" for i in range(1, count + 1)))
        self.addCleanup(links.unlink)
        steps.import_links(s, links, count)
        steps.start_batch(s, "0")
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.assertEqual([c["accepted"] for c in self.standin.commits()], [True] * count)
        cookies = ["; ".join(v for n, v in r["headers"] if n.lower() == "cookie")
                   for r in self.standin.requests() if r["role"] == "interface"]
        self.assertEqual(len(cookies), 2 * count)
        self.assertTrue(all(self.session_cookie in c for c in cookies), cookies)

    def test_header_from_the_main_windows_system_menu(self):
        s = self.session
        s.chord(self.main, 0x12, 0x20)  # Alt+Space
        s.menu_keys("UP", "RETURN")  # the last item of the system menu
        dialog = s.wait_window(COOKIE_CAPTION)
        self.assertFalse(s.enabled(self.main))

        s.set_text(dialog, COOKIE_EDIT, f"usrname=demo; {self.session_cookie}")
        s.click(dialog, COOKIE_OK)
        box = steps.wait_all_done(s)  # the notice, answered
        self.assertEqual((box.title, "没有 userid，" in box.text), (steps.NOTICE_TITLE, True), box.text)
        self.assertEqual(s.text(self.main, steps.SIGNIN_STATE_LABEL), "")

        s.set_text(dialog, COOKIE_EDIT, f"cookie: usrname=demo; userid=100001; {self.session_cookie}")
        s.click(dialog, COOKIE_OK)
        s.wait_gone(dialog)
        self.assertEqual(s.text(self.main, steps.SIGNIN_STATE_LABEL), "demo|100001")
        self.run_links(3)

    def test_cookies_txt_with_ctrl_k_in_the_sign_in_window(self):
        s = self.session
        s.click(self.main, steps.SIGNIN_BUTTON)
        window = s.wait_window(SIGNIN_CAPTION)
        s.chord(window, 0x11, 0x4B)  # Ctrl+K
        dialog = s.wait_window(COOKIE_CAPTION)
        name, value = self.session_cookie.split("=")
        s.set_text(dialog, COOKIE_EDIT, "# Netscape HTTP Cookie File\r\n"
                   "127.0.0.1\tFALSE\t/\tFALSE\t2000000000\tusrname\tdemo\r\n"
                   "127.0.0.1\tFALSE\t/\tFALSE\t2000000000\tuserid\t100001\r\n"
                   f"#HttpOnly_127.0.0.1\tFALSE\t/\tFALSE\t0\t{name}\t{value}\r\n")
        s.screenshot("cookie_dialog_over_sign_in")
        s.click(dialog, COOKIE_OK)
        s.wait_gone(window)  # the dialog first, then the sign-in window
        self.assertEqual(s.text(self.main, steps.SIGNIN_STATE_LABEL), "demo|100001")
        self.run_links(1)

    def test_browser_mode_for_the_programs_own_name_created_when_missing(self):
        s, copy = self.session, BUILD / "tests" / "e2e" / "renamed" / "other.exe"
        copy.parent.mkdir(exist_ok=True)
        shutil.copy(PROGRAM, copy)
        s.close_window(self.main)
        s.wait_exit(10000)
        self.reg("delete", EMULATION_KEY, "/f")
        self.reg("add", EMULATION_KEY, "/v", "someone.exe", "/t", "REG_DWORD", "/d", "7000", "/f")
        for program in (PROGRAM, copy):
            s.start_program(str(program))
            s.close_window(s.wait_window(MAIN_CAPTION))
            s.wait_exit(10000)
        values = self.reg("query", EMULATION_KEY).lower()
        for name, value in [("brindor.exe", "0x2af9"), ("other.exe", "0x2af9"), ("someone.exe", "0x1b58")]:
            self.assertRegex(values, rf"{name.replace('.', '[.]')}\s+reg_dword\s+{value}")

    def reg(self, *args):
        return subprocess.run([WINE, "reg", *args], env=self.environment.env, capture_output=True, timeout=60,
                              check=args[0] != "delete").stdout.decode("utf-8", "replace")


if __name__ == "__main__":
    unittest.main()
