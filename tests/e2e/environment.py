"""Display, wineserver and stand-in for a run of scenarios."""

import atexit
import contextlib
import os
import signal
import socket
import shutil
import sqlite3
import subprocess
import sys
import threading
import time
from pathlib import Path

from locations import DRIVER, REPO, SCREENSHOTS, WINE, WINESERVER, service_port, wine_environment
from processes import HarnessError, StartedOnEnter, die_with_parent, read_line, stop_process
from standin_client import Standin

sys.path.insert(0, str(REPO))
from tests.tools.harness import clear_wine_cookies  # noqa: E402

_live_environments = []


def _close_live_environments():
    for environment in list(_live_environments):
        environment.close()


def _on_terminate(signum, frame):
    # A CTest timeout: tear down what we started, then leave at once.
    _close_live_environments()
    os._exit(128 + signum)


atexit.register(_close_live_environments)


class E2EEnvironment(StartedOnEnter):
    """Display, wineserver and stand-in for a run of scenarios.

    Under scripts/test.sh a display and a persistent wineserver already exist: they are used and left
    alone. Otherwise the environment starts its own and stops them again.
    """

    def __init__(self, standin=True, standin_args=(), prefix=None, screen="1024x768"):
        self.want_standin = standin
        self.standin_args = list(standin_args)
        self.env = wine_environment()
        if prefix:
            self.env["WINEPREFIX"] = str(prefix)
        self.screen = screen
        self.xvfb = None
        self.own_wineserver = False
        self.standin = None

    def start(self):
        for path, what in ((DRIVER, "driver"),):
            if not path.exists():
                raise HarnessError(f"{what} not built: {path}")
        _live_environments.append(self)
        if threading.current_thread() is threading.main_thread():
            signal.signal(signal.SIGTERM, _on_terminate)
        try:
            running = self._wineserver_running()
            if running and os.environ.get("DISPLAY") and self.screen == "1024x768":
                self.env["DISPLAY"] = os.environ["DISPLAY"]
            else:
                if running:  # a stale server bound to no display of ours
                    self._run([WINESERVER, "-k"], 15)
                self._start_display()
                self._run([WINESERVER, "-p"], 15)
                self.own_wineserver = True
                # Wine's own services now, so that none of them hangs on to a caller's pipes.
                self._run([WINE, "cmd", "/c", "exit"], 120)
            if self.want_standin:
                self.standin = Standin(service_port(), self.standin_args)
        except BaseException:
            self.close()
            raise

    def restart_standin(self, running):
        """The service gone (running False: nothing listens on its port) or back, with an empty record."""
        if self.standin and not running:
            self.standin = self.standin.close()
        elif running and not self.standin:
            self.standin = Standin(service_port(), self.standin_args)

    @property
    def display(self):
        return self.env.get("DISPLAY")

    def _run(self, argv, timeout):
        subprocess.run(argv, env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=timeout, check=False)

    def _wineserver_sockets(self):
        prefix = Path(self.env["WINEPREFIX"])
        info = prefix.stat()
        server = f"server-{info.st_dev:x}-{info.st_ino:x}"
        folders = [Path(f"/tmp/.wine-{os.getuid()}")]
        try:  # some builds keep the server in a folder of their own, named in the prefix
            folders.insert(0, Path("/tmp") / (prefix / "wineserver").read_text().strip())
        except OSError:
            pass
        return [folder / server / "socket" for folder in folders]

    def _wineserver_running(self):
        try:
            sockets = self._wineserver_sockets()
        except OSError:
            raise HarnessError(f"no Wine prefix at {self.env['WINEPREFIX']} (run scripts/setup.sh)")
        for path in sockets:
            if not path.exists():
                continue
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
                try:
                    probe.settimeout(2)
                    probe.connect(str(path))
                    return True
                except OSError:
                    pass
        return False

    def _start_display(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen + "x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True, preexec_fn=die_with_parent)
        os.close(write_end)
        try:
            with os.fdopen(read_end, "rb", buffering=0) as pipe:
                number = read_line(pipe, time.monotonic() + 15, "Xvfb")
        except HarnessError:
            stop_process(self.xvfb)
            self.xvfb = None
            raise
        self.env["DISPLAY"] = ":" + number.strip()

    def screenshot(self, name):
        """The whole screen as SCREENSHOTS/name.png; returns the path."""
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        path = SCREENSHOTS / (name if name.endswith(".png") else name + ".png")
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)], env=self.env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=30, check=True)
        return path

    def pixels(self, rect):
        """The screen's pixels in (left, top, width, height) as rows of (r, g, b)."""
        left, top, width, height = rect
        data = subprocess.run(["import", "-display", self.display, "-window", "root", "-crop",
                               f"{width}x{height}+{left}+{top}", "-depth", "8", "rgb:-"], env=self.env,
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=30, check=True).stdout
        if len(data) != width * height * 3:
            raise HarnessError(f"screen grab gave {len(data)} bytes for {width}x{height}")
        return [[tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
                for y in range(height)]

    def app_data(self, kind="Local"):
        """The user's application data folder in the prefix, "Local" or "Roaming"."""
        users = Path(self.env["WINEPREFIX"]) / "drive_c" / "users"
        homes = [p for p in sorted(users.glob("*")) if p.name != "Public" and (p / "AppData").is_dir()]
        return (homes[0] if homes else users / "user") / "AppData" / kind

    def record_folder(self):
        """Where the program keeps its record, brindor.db, in the prefix (it may not exist yet)."""
        return self.app_data() / "Brindor"

    def settings_file(self):
        return self.app_data("Roaming") / "Brindor" / "settings.ini"

    def journal_folder(self):
        """Where earlier versions kept their runs' journals; the program imports them from there."""
        return self.record_folder() / "runs"

    def record_links(self):
        """Every link of the record as (run id, number, link, state, reason), oldest run first; read
        while no program runs. States: 0 not sent, 1 succeeded, 2 failed, 3 提交中, 4 结果未知."""
        path = self.record_folder() / "brindor.db"
        if not path.exists():
            return []
        with contextlib.closing(sqlite3.connect(path)) as db:
            db.text_factory = lambda raw: raw.decode("utf-8", "replace")
            return db.execute("SELECT run_id, number, link, state, reason FROM links ORDER BY run_id, number").fetchall()

    def clear_record(self):
        """Forget the record, any journals and the settings: an unfinished run would ask its question at
        the next start."""
        folder = self.record_folder()
        if folder.is_file():  # a scenario's stand-in for a folder that cannot be made
            folder.unlink()
        for name in ("brindor.db", "brindor.db-wal", "brindor.db-shm", "runs", "live"):
            path = folder / name
            if path.is_dir():
                shutil.rmtree(path, ignore_errors=True)
            elif path.exists():
                path.unlink()
        self.settings_file().unlink(missing_ok=True)

    def clear_cookies(self):
        """Forget the cookie store of the prefix (sign-in state survives runs otherwise)."""
        clear_wine_cookies(self.env["WINEPREFIX"])

    def close(self):
        if self in _live_environments:
            _live_environments.remove(self)
        if self.standin:
            self.standin.close()
            self.standin = None
        if self.own_wineserver:
            try:
                self._run([WINESERVER, "-k"], 15)
            except subprocess.TimeoutExpired:
                pass
            self.own_wineserver = False
        if self.xvfb:
            stop_process(self.xvfb)
            self.xvfb = None


