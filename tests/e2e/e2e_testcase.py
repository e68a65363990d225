"""The base class of the scenarios, and a file for the open-file dialog."""

import os
import subprocess
import tempfile
import unittest
from pathlib import Path

from environment import E2EEnvironment
from locations import PROGRAM
from session import E2ESession


class E2ETestCase(unittest.TestCase):
    """One environment per class, a fresh session (driver + program) per test.

    Class attributes: `program` (path), `program_args`, `start_program` (False: the test starts it),
    `use_standin`, `standin_args` (command-line options of the stand-in), `desktop` (a virtual desktop
    name: windows with title bars in screenshots).
    """

    program = PROGRAM
    program_args = ""
    start_program = True
    use_standin = True
    standin_args = ()
    desktop = None
    desktop_size = ""  # "WxH"; empty: the screen's size
    prefix = None  # a Wine prefix of the class's own
    screen = "1024x768"  # of the display the class starts when it starts one

    @classmethod
    def setUpClass(cls):
        cls.environment = E2EEnvironment(standin=cls.use_standin, standin_args=cls.standin_args, prefix=cls.prefix,
                                         screen=cls.screen)
        cls.environment.start()
        cls.addClassCleanup(cls.environment.close)
        # Sign-in state left by an earlier class or run must not leak into this one.
        cls.environment.clear_cookies()
        cls.addClassCleanup(cls.environment.clear_cookies)

    def setUp(self):
        self.session = E2ESession(self.environment, program=self.program, args=self.program_args,
                                  start=self.start_program, desktop=self.desktop, desktop_size=self.desktop_size)
        self.session.start()
        self.addCleanup(self.session.close)
        if os.environ.get("BRINDOR_E2E_SCREENSHOTS"):
            self.addCleanup(self._last_screenshot)

    def _last_screenshot(self):
        try:
            self.environment.screenshot(self.id().replace("/", "_"))
        except (subprocess.SubprocessError, OSError):
            pass

    @property
    def standin(self):
        return self.environment.standin


def temporary_text_file(content, suffix=".txt", encoding="utf-8"):
    """A file for the open-file dialog; the caller removes it."""
    handle, name = tempfile.mkstemp(suffix=suffix)
    with os.fdopen(handle, "wb") as out:
        out.write(content if isinstance(content, bytes) else content.encode(encoding))
    return Path(name)
