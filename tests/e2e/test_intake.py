"""Links from a start's command line and from second starts join the one copy's list; nothing starts by
itself, a run makes them wait, and what other programs send changes nothing."""

import os
import re
import signal
import subprocess
import time
from pathlib import Path

from harness import MAIN_CAPTION, PROGRAM, WINE, DriverError, E2ETestCase, temporary_text_file, windows_path
import batch_steps as steps

USER, USER_ID = "intake", "4242"
FORWARD_TAG = 0x42524E31
GONE = "Unable to find the specified registry key"


def link(i):
    return f"magnet:?xt=urn:btih:{i:040x}"


def program_pid():
    """The Linux process id of this tree's one running brindor.exe."""
    (pid,) = subprocess.check_output(["pgrep", "-f", re.escape(windows_path(PROGRAM))]).split()
    return int(pid)


class IntakeTest(E2ETestCase):
    standin_args = ("--auto-signin", f"{USER}:{USER_ID}")
    start_program = False

    def setUp(self):
        super().setUp()
        self.file = temporary_text_file(f"{link(1)}\n{link(2)}\n{link(1)}\n")
        self.addCleanup(self.file.unlink)
        self.session.start_program(args=f'--unknown {3:040x} "{windows_path(self.file)}" nothing.txt')
        self.main = self.session.wait_window(MAIN_CAPTION)
        self.wait_label("共3条链接（新增3条）")

    def wait_label(self, text):
        self.session.wait_for(lambda: self.session.text(self.main, steps.LINK_COUNT_LABEL) == text, message=text)

    def second_start(self, *items, cwd=None):
        return subprocess.Popen([WINE, str(PROGRAM), *items], env=self.environment.env, cwd=cwd,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def test_second_starts_forward_to_the_one_copy_and_nothing_is_submitted(self):
        s = self.session
        began = time.monotonic()
        # A relative file name is resolved by the start that was given it.
        second = self.second_start("--", f"{4:040X}", self.file.name, cwd=self.file.parent)
        self.assertEqual(second.wait(timeout=30), 0)
        print(f"\nsecond start to its exit: {time.monotonic() - began:.2f} s")
        self.wait_label("共4条链接（新增1条）")
        both = [self.second_start(link(5)), self.second_start("-x", link(6))]
        self.assertEqual([p.wait(timeout=30) for p in both], [0, 0])
        s.wait_for(lambda: s.text(self.main, steps.LINK_COUNT_LABEL).startswith("共6条链接"), message="both")
        # As the shell runs a handler's command: a quote in a web page's link ends it early.
        evil, long = f"{link(7)}&dn=a\" --evil", f"{link(8)}&dn=" + "x" * 9_950
        for item in (evil, long):
            s.start_program(args=f'-- "{item}"', keep_record=True)
            self.assertEqual(s.wait_exit(10000), 0)
        s.running = True  # the first copy, which the driver ends with the test
        self.wait_label("共8条链接（新增1条）")
        self.assertEqual(len([w for w in s.windows() if w[2] == MAIN_CAPTION]), 1)
        self.assertEqual(self.standin.commits(), [])
        steps.sign_in(s, USER, USER_ID)
        steps.start_batch(s, "0")
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        links = [row[3] for row in steps.report_rows(s)]  # the list, as a run submits it
        self.assertEqual(links[:4], [link(3), link(1), link(2), f"magnet:?xt=urn:btih:{4:040X}"])
        self.assertEqual(sorted(links[4:6]), [link(5), link(6)])
        self.assertEqual(links[6], f"{link(7)}&dn=a")
        # The driver reads 4,095 characters of a cell; the resolve request carries the whole link.
        self.assertEqual(links[7:], [long[:4095]])
        self.assertTrue(any(long in r["path"] for r in self.standin.requests()))

    def test_links_forwarded_during_a_run_join_when_it_ends(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        steps.start_batch(s, "1500")
        steps.wait_rows(s, 1)
        self.assertEqual(self.second_start(link(2), link(9)).wait(timeout=30), 0)
        self.wait_label("共3条链接（待加入2条）")
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.wait_label("共4条链接（新增1条）")
        self.assertEqual(len(self.standin.commits()), 3)
        # The record took the joined link in: only it is left to submit.
        steps.start_batch(s, "0")
        question = s.wait_message_box()
        self.assertEqual(question.text, "列表中有3条链接以前已提交成功。是否只提交其余的1条？")
        steps.answer(s, question, steps.YES)
        steps.wait_all_done(s)
        self.assertEqual([row[3] for row in steps.report_rows(s)[3:]], [link(9)])

    def test_messages_not_from_a_second_start_change_nothing(self):
        s = self.session
        valid = link(10)
        # Empty, too long, cut short (no NUL at its end), half a unit, another program's tag.
        cases = [(FORWARD_TAG, 0, False), (FORWARD_TAG, 2_000_000, True), (FORWARD_TAG, 1024 * 1024 + 2, True),
                 (FORWARD_TAG, 2 * len(valid), False), (FORWARD_TAG, 2 * len(valid) + 1, True),
                 (0x1234, 2 * len(valid) + 2, True)]
        for count, (tag, size, ended) in enumerate(cases, 4):
            s.copy_data(self.main, tag, size, valid, ended)
            # Forwards are taken in order: once a good one has joined, the one before it was handled.
            good = link(10 + count)
            self.assertEqual(s.copy_data(self.main, FORWARD_TAG, 2 * len(good) + 2, good, True), 1)
            self.wait_label(f"共{count}条链接（新增1条）")

    def test_a_forward_during_the_start_question_joins_after_the_choice(self):
        s = self.session
        steps.sign_in(s, USER, USER_ID)
        steps.start_batch(s, "1500")
        steps.wait_rows(s, 1)
        s.kill_program()
        s.start_program(keep_record=True)
        question = s.wait_message_box()
        rest = int(re.search(r"是否载入尚未成功的(\d+)条链接", question.text).group(1))
        self.assertEqual(self.second_start(link(20)).wait(timeout=30), 0)
        self.main = s.wait_window(MAIN_CAPTION)
        self.wait_label("共0条链接（待加入1条）")
        s.screenshot("intake_waits_for_the_start_question")
        steps.answer(s, question, steps.YES)
        self.wait_label(f"共{rest + 1}条链接（新增1条）")
        # The loaded links with the joined one resume the run: the next start asks nothing.
        steps.sign_in(s, USER, USER_ID)
        steps.start_batch(s, "0")
        self.assertEqual(steps.wait_all_done(s).text.split("\n")[0], steps.ALL_DONE)
        self.assertIn(link(20), [row[3] for row in steps.report_rows(s)])
        s.kill_program()
        s.start_program(keep_record=True)
        s.wait_window(MAIN_CAPTION)
        with self.assertRaises(DriverError):
            s.wait_message_box(timeout_ms=1500)

    def test_a_first_copy_that_does_not_answer_is_named_by_the_second_start(self):
        s = self.session
        first = program_pid()
        os.kill(first, signal.SIGSTOP)
        self.addCleanup(os.kill, first, signal.SIGCONT)
        began = time.monotonic()
        second = self.second_start(link(30))
        box = s.wait_message_box(timeout_ms=15000, title=steps.NOTICE_TITLE)
        self.assertLess(time.monotonic() - began, 6)
        self.assertEqual(box.text, "Brindor已在运行，但没有响应。请关闭它后再试。")
        s.screenshot("intake_first_copy_does_not_answer")
        steps.answer(s, box, "OK")
        self.assertEqual(second.wait(timeout=10), 1)
        os.kill(first, signal.SIGCONT)  # the abandoned forward may still arrive: with the link or without
        s.probe(self.main, 50, 500, timeout_ms=10000)
        self.assertIn(s.text(self.main, steps.LINK_COUNT_LABEL), ("共3条链接（新增3条）", "共4条链接（新增1条）"))

    def test_a_flood_of_whole_forwards_leaves_the_program_small_and_answering(self):
        s = self.session
        status = Path(f"/proc/{program_pid()}/status")
        # One item of half a million characters each: no link, or the same torrent's link again.
        padded = f"{link(41)}&dn=" + "x" * 100
        for text in ("x", padded) * 3:  # 500 in a row: faster than the window reads them
            s.copy_data(self.main, FORWARD_TAG, 1024 * 1024, text, True, count=500)
            self.assertLess(int(re.search(r"VmRSS:\s+(\d+) kB", status.read_text()).group(1)), 100 * 1024)
        s.wait_for(lambda: s.copy_data(self.main, FORWARD_TAG, 2 * len(link(42)) + 2, link(42), True) == 1)
        self.wait_label("共5条链接（新增1条）")


class MagnetHandlerTest(E2ETestCase):
    desktop = "magnet"  # title bars: the system menu
    OURS = [r"HKCU\Software\Classes\Brindor.Magnet", r"HKCU\Software\Brindor"]
    MAGNET = r"HKCU\Software\Classes\magnet"
    REGISTERED = r"HKCU\Software\RegisteredApplications"
    CHOICE = r"HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\magnet\UserChoice"

    def reg(self, *args):
        return subprocess.run([WINE, "reg", *args], env=self.environment.env, capture_output=True, timeout=60,
                              check=args[0] not in ("delete", "query")).stdout.decode("utf-8", "replace")

    def toggle(self, expect_notice):
        """Ticked, the item turns off quietly; not ticked, it registers and says so."""
        s = self.session
        s.chord(MAIN_CAPTION, 0x12, 0x20)  # Alt+Space
        s.menu_keys("UP", "UP", "RETURN")  # the item above 使用Cookie登录
        if expect_notice:  # no Default-apps page before Windows 10
            steps.answer(s, s.wait_message_box(title=steps.NOTICE_TITLE), "OK")
        # Only turning it on gives notice: the handler's key comes or goes with the command.
        s.wait_for(lambda: (GONE in self.reg("query", self.OURS[0])) != expect_notice, message="the handler's key")

    def test_on_writes_ours_and_off_removes_only_ours(self):
        s = self.session
        main = s.wait_window(MAIN_CAPTION)
        for key in self.OURS + [self.MAGNET, self.REGISTERED, self.CHOICE]:
            self.reg("delete", key, "/f")
        self.reg("add", self.MAGNET, "/ve", "/d", "URL:Other", "/f")
        self.reg("add", self.MAGNET + r"\shell\open\command", "/ve", "/d", '"C:\\other.exe" "%1"', "/f")
        foreign = self.reg("query", self.MAGNET, "/s")

        self.toggle(expect_notice=True)
        command = f'"{windows_path(PROGRAM)}" --url "%1"'
        handler = self.reg("query", r"HKCU\Software\Classes\Brindor.Magnet", "/s")
        for value in ("URL:Magnet link", "URL Protocol", command, windows_path(PROGRAM)):
            self.assertIn(value, handler)
        self.assertIn("Brindor.Magnet", self.reg("query", r"HKCU\Software\Brindor\Capabilities\URLAssociations"))
        self.assertIn(r"Software\Brindor\Capabilities", self.reg("query", self.REGISTERED))
        self.assertEqual(self.reg("query", self.MAGNET, "/s"), foreign)
        s.chord(main, 0x12, 0x20)
        s.wait_for(s.menu_open, message="the system menu")  # looked at: not checked, the other program opens
        s.screenshot("magnet_handler_unchecked")
        s.menu_keys("ESCAPE")
        self.toggle(expect_notice=True)  # so a click registers again

        # The registered command as the shell runs it, %1 a web page's link that holds quotes.
        private = temporary_text_file(f"{link(12)}\n{link(13)}\n")
        self.addCleanup(private.unlink)
        web = f'{link(11)}&dn=a" "{windows_path(private)}'
        s.start_program(args=command.split(" ", 1)[1].replace("%1", web), keep_record=True)
        self.assertEqual(s.wait_exit(10000), 0)
        s.running = True
        s.wait_for(lambda: s.text(main, steps.LINK_COUNT_LABEL) == "共1条链接（新增1条）", message="the link")

        # Ticked once the user's choice names ours; off removes only what it made.
        self.reg("add", self.CHOICE, "/v", "ProgId", "/d", "Brindor.Magnet", "/f")
        self.toggle(expect_notice=False)
        self.assertEqual([GONE in self.reg("query", key) for key in self.OURS + [self.REGISTERED]], [True] * 3)
        self.assertEqual(self.reg("query", self.MAGNET, "/s"), foreign)
        self.reg("delete", self.CHOICE, "/f")

        # With no other program's key, the magnet key is written too, and goes again.
        self.reg("delete", self.MAGNET, "/f")
        self.toggle(expect_notice=True)
        self.assertIn(command, self.reg("query", self.MAGNET + r"\shell\open\command"))
        self.toggle(expect_notice=False)
        self.assertIn(GONE, self.reg("query", self.MAGNET))

        # A registration of the older command is brought up to date by the next start.
        commands = [key + r"\shell\open\command" for key in (self.OURS[0], self.MAGNET)]
        for key in commands:
            self.reg("add", key, "/ve", "/d", command.replace("--url", "--"), "/f")
        s.kill_program()
        s.start_program(keep_record=True)
        s.wait_window(MAIN_CAPTION)
        self.assertEqual([command in self.reg("query", key) for key in commands], [True, True])
        self.toggle(expect_notice=False)  # ticked, being ours
