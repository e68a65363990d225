"""Signing in inside the sign-in window: the login cookies the service sets reach the label and the worker."""

import unittest

from harness import MAIN_CAPTION, SIGNIN_CAPTION, E2ETestCase, temporary_text_file
import batch_steps as steps


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

        # The service deletes the cookies: the label keeps the last sign-in, the worker refuses.
        self.standin.set_options(auto_signin=None, auto_signout=True)
        self.open_and_close_sign_in()
        self.assertEqual(self.label(), "alice|1234")
        steps.start_batch(s, "0")
        box = steps.wait_all_done(s, timeout_ms=15000)
        self.assertEqual((box.title, box.text), (steps.NOTICE_TITLE, steps.NOTHING_TO_DO))
        self.assertEqual(self.standin.commits(), [])

        self.standin.set_options(auto_signin="bob:77", auto_signout=False)
        self.open_and_close_sign_in()
        self.assertEqual(self.label(), "bob|77")
        steps.start_batch(s, "0")
        self.assertEqual(steps.wait_all_done(s).text, steps.ALL_DONE)
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


if __name__ == "__main__":
    unittest.main()
