"""End-to-end sessions: Xvfb, one persistent wineserver, the stand-in service, the driver and the program.

A scenario either uses `E2ESession` as a context manager or derives from `E2ETestCase`, which shares one
environment (display, wineserver, stand-in) per test class and gives every test a fresh program.
"""

import atexit
import json
import os
import re
import select
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.request
from collections import namedtuple
from pathlib import Path

REPO = Path(os.environ.get("BRINDOR_ROOT") or Path(__file__).resolve().parents[2])
BUILD = Path(os.environ.get("BRINDOR_BUILD_DIR") or REPO / "build" / "win32")
DRIVER = BUILD / "tests" / "e2e" / "driver" / "brindor_driver.exe"
FIXTURE = BUILD / "tests" / "e2e" / "driver" / "driver_fixture.exe"
PROGRAM = BUILD / "src" / "app" / "brindor.exe"
RUNTIME_PROBE = BUILD / "tests" / "runtime" / "win" / "runtime_probe.exe"
STANDIN = REPO / "tools" / "standin" / "serve.py"
SCREENSHOTS = BUILD / "tests" / "e2e" / "screenshots"

sys.path.insert(0, str(REPO))
from tests.tools.harness import clear_wine_cookies  # noqa: E402

MAIN_CAPTION = "Brindor"
SIGNIN_CAPTION = "迅雷离线登陆"

MessageBox = namedtuple("MessageBox", "handle title text buttons")
ControlInfo = namedtuple("ControlInfo", "cls left top width height enabled visible style exstyle text")
Column = namedtuple("Column", "title width alignment")
Probe = namedtuple("Probe", "count p50 p99 max failures")


class DriverError(Exception):
    """The driver answered "error" (message in args[0])."""


class HarnessError(Exception):
    """Something around the program failed: a server did not start, the driver died or stalled."""


def cache_value(name, build=BUILD):
    """A value of the build tree's CMake cache, or None."""
    try:
        text = (Path(build) / "CMakeCache.txt").read_text(errors="replace")
    except OSError:
        return None
    match = re.search(rf"^{re.escape(name)}:[A-Z]+=(.*)$", text, re.M)
    return match.group(1) if match else None


def service_port(build=BUILD):
    """The stand-in's port: the one the build's interface host names (the three hosts share it)."""
    host = cache_value("BRINDOR_INTERFACE_HOST", build) or "127.0.0.1:18080"
    _, _, port = host.rpartition(":")
    return int(port) if port.isdigit() else 80


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def wine_environment():
    env = dict(os.environ)
    env["WINEPREFIX"] = os.environ.get("BRINDOR_WINEPREFIX") or str(REPO / "build" / "wineprefix")
    env["WINEDEBUG"] = "-all"
    env["WINEDLLOVERRIDES"] = "mscoree="
    env["WINEARCH"] = "win32"
    return env


def _command(*names):
    for name in names:
        for folder in os.environ.get("PATH", "").split(os.pathsep) + ["/usr/lib/wine"]:
            candidate = Path(folder) / name
            if candidate.is_file() and os.access(candidate, os.X_OK):
                return str(candidate)
    return names[-1]


WINE = _command("wine-stable", "wine")
WINESERVER = _command("wineserver-stable", "wineserver")


def _escape(field):
    return str(field).replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def _unescape(field):
    out, i = [], 0
    while i < len(field):
        c = field[i]
        if c == "\\" and i + 1 < len(field):
            i += 1
            out.append({"t": "\t", "r": "\r", "n": "\n"}.get(field[i], field[i]))
        else:
            out.append(c)
        i += 1
    return "".join(out)


def _id(control):
    if control is None or control == "":
        return "."
    return hex(control) if isinstance(control, int) else str(control)


def _ref(ref):
    """(window, control) from a ControlRef-like tuple or a window alone."""
    if isinstance(ref, tuple):
        return ref
    return ref, None


def _read_line(stream, deadline, what):
    """One line from a pipe, or HarnessError at the deadline."""
    buffer = b""
    fd = stream.fileno()
    while not buffer.endswith(b"\n"):
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            raise HarnessError(f"timeout waiting for {what}")
        ready, _, _ = select.select([fd], [], [], remaining)
        if not ready:
            continue
        chunk = os.read(fd, 1)
        if not chunk:
            raise HarnessError(f"{what}: pipe closed")
        buffer += chunk
    return buffer.decode("utf-8", "replace").rstrip("\r\n")


def _die_with_parent():
    """In a child before exec: end when the harness ends, however it ends."""
    try:
        import ctypes
        ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass


_live_environments = []


def _close_live_environments():
    for environment in list(_live_environments):
        environment.close()


def _on_terminate(signum, frame):
    # A CTest timeout: tear down what we started, then leave at once.
    _close_live_environments()
    os._exit(128 + signum)


atexit.register(_close_live_environments)


def _stop(proc, timeout=5):
    if proc is None or proc.poll() is not None:
        return
    try:
        os.killpg(proc.pid, signal.SIGTERM)
    except (ProcessLookupError, PermissionError):
        proc.terminate()
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            proc.kill()
        proc.wait(timeout)


class Standin:
    """The stand-in offline service on a fixed port, with its read-back addresses."""

    def __init__(self, port, args=()):
        self.port = port
        self.proc = subprocess.Popen(
            [sys.executable, str(STANDIN), "--host", "127.0.0.1", "--port", str(port), *args],
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True,
            preexec_fn=_die_with_parent)
        try:
            line = _read_line(self.proc.stdout, time.monotonic() + 15, "the stand-in service")
        except HarnessError:
            self.close()
            raise HarnessError(f"stand-in service did not start on port {port} (port taken?)")
        if not line.startswith("standin listening on"):
            self.close()
            raise HarnessError(f"stand-in service: {line!r}")

    def url(self, path):
        return f"http://127.0.0.1:{self.port}{path}"

    def _exchange(self, method, path, value=None, timeout=70):
        data = None if value is None else json.dumps(value).encode("utf-8")
        request = urllib.request.Request(self.url(path), data=data, method=method)
        with urllib.request.urlopen(request, timeout=timeout) as answer:
            body = answer.read().decode("utf-8")
        return body

    def get_json(self, path):
        return json.loads(self._exchange("GET", path))

    def get_records(self, path):
        """A record list: a JSON array, one record a line."""
        return json.loads(self._exchange("GET", path))

    def post_json(self, path, value):
        return json.loads(self._exchange("POST", path, value))

    def _records(self, kind, wait, timeout_ms):
        query = f"?wait={wait}&timeout_ms={timeout_ms}" if wait else ""
        return self.get_json(f"/_standin/{kind}{query}")

    def requests(self, wait=0, timeout_ms=5000):
        return self._records("requests", wait, timeout_ms)

    def resolves(self, wait=0, timeout_ms=5000):
        return self._records("resolves", wait, timeout_ms)

    def commits(self, wait=0, timeout_ms=5000):
        return self._records("commits", wait, timeout_ms)

    def reset(self):
        return self.post_json("/_standin/reset", {})

    def set_faults(self, faults):
        return self.post_json("/_standin/faults", faults)

    def set_options(self, **options):
        return self.post_json("/_standin/options", options)

    def close(self):
        _stop(self.proc)
        if self.proc.stdout:
            self.proc.stdout.close()


class E2EEnvironment:
    """Display, wineserver and stand-in for a run of scenarios.

    Under scripts/test.sh a display and a persistent wineserver already exist: they are used and left
    alone. Otherwise the environment starts its own and stops them again.
    """

    def __init__(self, standin=True, standin_args=()):
        self.want_standin = standin
        self.standin_args = list(standin_args)
        self.env = wine_environment()
        self.xvfb = None
        self.own_wineserver = False
        self.standin = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
        for path, what in ((DRIVER, "driver"),):
            if not path.exists():
                raise HarnessError(f"{what} not built: {path}")
        _live_environments.append(self)
        if threading.current_thread() is threading.main_thread():
            signal.signal(signal.SIGTERM, _on_terminate)
        try:
            running = self._wineserver_running()
            if running and os.environ.get("DISPLAY"):
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
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True, preexec_fn=_die_with_parent)
        os.close(write_end)
        try:
            with os.fdopen(read_end, "rb", buffering=0) as pipe:
                number = _read_line(pipe, time.monotonic() + 15, "Xvfb")
        except HarnessError:
            _stop(self.xvfb)
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
            _stop(self.xvfb)
            self.xvfb = None


class Driver:
    """brindor_driver.exe under Wine: one command line in, one answer line out."""

    def __init__(self, env):
        self.proc = subprocess.Popen([WINE, str(DRIVER)], env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, start_new_session=True, preexec_fn=_die_with_parent)
        self.call("ping", timeout=60)

    def call(self, command, *args, timeout=30):
        """Send one command; the answer's fields, or DriverError for an "error" answer."""
        if self.proc.poll() is not None:
            raise HarnessError(f"driver ended with {self.proc.returncode}")
        line = "\t".join([command, *(_escape(a) for a in args)]) + "\n"
        try:
            self.proc.stdin.write(line.encode("utf-8"))
            self.proc.stdin.flush()
        except BrokenPipeError:
            raise HarnessError("driver is gone")
        answer = _read_line(self.proc.stdout, time.monotonic() + timeout, f"the driver's answer to {command}")
        status, *fields = answer.split("\t")
        fields = [_unescape(f) for f in fields]
        if status == "error":
            raise DriverError(fields[0] if fields else "error")
        if status != "ok":
            raise HarnessError(f"driver said {answer!r}")
        return fields

    def close(self):
        if self.proc.poll() is None:
            try:
                self.proc.stdin.write(b"quit\n")
                self.proc.stdin.flush()
                self.proc.wait(5)
            except (OSError, subprocess.TimeoutExpired):
                pass
        _stop(self.proc)
        for stream in (self.proc.stdin, self.proc.stdout):
            try:
                stream.close()
            except OSError:
                pass


class E2ESession:
    """The driver and one run of a program (brindor.exe unless told otherwise).

    With `desktop` set (a name), the program runs in a virtual desktop of its own (1024x768) on the
    display, where windows have title bars for screenshots.
    Windows are named by caption or by handle ("0x..."); controls by (window, control id), where an id of
    None means the window itself. Driver timeouts are in milliseconds, as in the driver's commands.
    """

    def __init__(self, environment=None, program=PROGRAM, args="", start=True, reset_standin=True, desktop=None,
                 **env_options):
        self.own_environment = environment is None
        self.environment = environment or E2EEnvironment(**env_options)
        self.program = Path(program)
        self.args = args
        self.start_program_now = start
        self.reset_standin = reset_standin
        self.desktop = desktop
        self.driver = None
        self.running = False

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
        try:
            if self.own_environment:
                self.environment.start()
            if self.reset_standin and self.standin:
                self.standin.reset()
            self.driver = Driver(self.environment.env)
            if self.desktop:
                self.call("desktop", self.desktop)
            if self.start_program_now:
                self.start_program()
        except BaseException:
            self.close()
            raise

    @property
    def standin(self):
        return self.environment.standin

    def close(self):
        if self.driver:
            if self.running:
                try:
                    self.driver.call("kill", timeout=15)
                except (DriverError, HarnessError):
                    pass
            self.driver.close()
            self.driver = None
        if self.own_environment:
            self.environment.close()

    def call(self, command, *args, timeout=30):
        return self.driver.call(command, *args, timeout=timeout)

    def _timed(self, command, timeout_ms, *args):
        return self.call(command, *args, timeout=timeout_ms / 1000 + 30)

    # The program under test
    def start_program(self, program=None, args=None, directory="", env=None):
        """Start the program (env: further environment variables for it); its process id."""
        path = Path(program) if program else self.program
        if not path.exists():
            raise HarnessError(f"program not built: {path}")
        settings = [f"{name}={value}" for name, value in (env or {}).items()]
        pid = int(self.call("start", windows_path(path), self.args if args is None else args,
                            windows_path(directory) if directory else "", *settings)[0])
        self.running = True
        return pid

    def wait_exit(self, timeout_ms=15000):
        """The exit code as a signed 32-bit number."""
        code = int(self._timed("wait_exit", timeout_ms, timeout_ms)[0])
        self.running = False
        return code

    def kill_program(self):
        self.call("kill")
        self.running = False

    # Windows and controls
    def windows(self):
        fields = self.call("windows")
        return [(fields[i], fields[i + 1], fields[i + 2], int(fields[i + 3])) for i in range(0, len(fields), 4)]

    def wait_window(self, caption, timeout_ms=30000, cls=""):
        return self._timed("wait_window", timeout_ms, caption, timeout_ms, cls)[0]

    def wait_gone(self, window, timeout_ms=10000):
        self._timed("wait_gone", timeout_ms, window, timeout_ms)

    def has_window(self, caption):
        try:
            self.call("wait_window", caption, 0)
            return True
        except DriverError:
            return False

    def control(self, window, control):
        return self.call("control", window, _id(control))[0]

    def children(self, window):
        fields = self.call("children", window)
        return [(int(fields[i], 16), fields[i + 1], fields[i + 2], int(fields[i + 3], 16))
                for i in range(0, len(fields), 4)]

    def owner(self, window):
        """The owner window's handle, or None."""
        handle = int(self.call("owner", window)[0], 16)
        return None if handle == 0 else f"0x{handle:08X}"

    def info(self, window, control=None):
        f = self.call("info", window, _id(control))
        return ControlInfo(f[0], int(f[1]), int(f[2]), int(f[3]), int(f[4]), f[5] == "1", f[6] == "1",
                           int(f[7], 16), int(f[8], 16), f[9])

    def text(self, window, control=None):
        return self.call("text", window, _id(control))[0]

    def set_text(self, window, control, text):
        self.call("set_text", window, _id(control), text)

    def click(self, window, control):
        self.call("click", window, _id(control))

    def focus(self, window, control):
        self.call("focus", window, _id(control))

    def type(self, window, control, characters):
        """Focus the control and send each character as WM_CHAR ("\\b" is backspace)."""
        self.call("type", window, _id(control), characters)

    def select(self, window, control, start=0, end=-1):
        self.call("select", window, _id(control), start, end)

    def enabled(self, window, control=None):
        return self.call("enabled", window, _id(control))[0] == "1"

    def visible(self, window, control=None):
        return self.call("visible", window, _id(control))[0] == "1"

    def rect(self, window, control=None):
        """Outer rectangle on the screen: (left, top, width, height)."""
        return tuple(int(v) for v in self.call("rect", window, _id(control)))

    def client_rect(self, window, control=None):
        """Client area on the screen: (left, top, width, height)."""
        return tuple(int(v) for v in self.call("client_rect", window, _id(control)))

    def close_window(self, window):
        self.call("close", window)

    def progress(self, window, control):
        """(minimum, maximum, position)"""
        return tuple(int(v) for v in self.call("progress", window, _id(control)))

    def list_rows(self, window, control, first=0, count=None):
        """Rows from `first` (0-based; all from there when count is None), each a list of cell texts."""
        fields = self.call("list_rows", window, _id(control), first, "" if count is None else count, timeout=120)
        rows, columns, cells = int(fields[0]), int(fields[1]), fields[2:]
        return [cells[r * columns:(r + 1) * columns] for r in range(rows)]

    def list_count(self, window, control):
        return int(self.call("list_count", window, _id(control))[0])

    def list_columns(self, window, control):
        f = self.call("list_columns", window, _id(control))
        return [Column(f[i], int(f[i + 1]), f[i + 2]) for i in range(0, len(f), 3)]

    def list_style(self, window, control):
        """(window style, extended list-view style)"""
        return tuple(int(v, 16) for v in self.call("list_style", window, _id(control)))

    # Dialogs
    def wait_message_box(self, timeout_ms=30000, title=""):
        f = self._timed("wait_message_box", timeout_ms, timeout_ms, title)
        buttons = [(int(f[i]), f[i + 1]) for i in range(3, len(f), 2)]
        return MessageBox(f[0], f[1], f[2], buttons)

    def press(self, window, button="1"):
        """A dialog button by id (1 is OK) or caption."""
        self.call("press", window, str(button))

    def open_file(self, path, timeout_ms=15000):
        """Answer the open-file dialog with a file (a Linux path or a Windows one)."""
        name = path if re.match(r"^[A-Za-z]:\\", str(path)) else windows_path(path)
        return self._timed("open_file", timeout_ms, timeout_ms, name)[0]

    def cancel_file(self, timeout_ms=15000):
        return self._timed("cancel_file", timeout_ms, timeout_ms)[0]

    def probe(self, window, interval_ms=50, duration_ms=2000, timeout_ms=5000):
        f = self._timed("probe", duration_ms + timeout_ms, window, interval_ms, duration_ms, timeout_ms)
        return Probe(int(f[0]), float(f[1]), float(f[2]), float(f[3]), int(f[4]))

    def wait_for(self, predicate, timeout=10.0, interval=0.05, message="condition"):
        """Poll a Python predicate until it is true; its last value, or AssertionError."""
        deadline = time.monotonic() + timeout
        while True:
            value = predicate()
            if value:
                return value
            if time.monotonic() >= deadline:
                raise AssertionError(f"timeout waiting for {message}")
            time.sleep(interval)

    def screenshot(self, name):
        return self.environment.screenshot(name)

    def pixels(self, window, control=None):
        """The pixels of a window's or control's client area, as rows of (r, g, b)."""
        return self.environment.pixels(self.client_rect(window, control))


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

    @classmethod
    def setUpClass(cls):
        cls.environment = E2EEnvironment(standin=cls.use_standin, standin_args=cls.standin_args)
        cls.environment.start()
        cls.addClassCleanup(cls.environment.close)
        # Sign-in state left by an earlier class or run must not leak into this one.
        cls.environment.clear_cookies()
        cls.addClassCleanup(cls.environment.clear_cookies)

    def setUp(self):
        self.session = E2ESession(self.environment, program=self.program, args=self.program_args,
                                  start=self.start_program, desktop=self.desktop)
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
