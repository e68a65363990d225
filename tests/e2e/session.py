"""The driver and one run of a program, with a method for each driver command."""

import re
import time
from collections import namedtuple
from pathlib import Path

from driver_client import Driver, DriverError
from environment import E2EEnvironment
from locations import PROGRAM, windows_path
from processes import HarnessError, StartedOnEnter

MessageBox = namedtuple("MessageBox", "handle title text buttons")
ControlInfo = namedtuple("ControlInfo", "cls left top width height enabled visible style exstyle text")
Column = namedtuple("Column", "title width alignment")
Probe = namedtuple("Probe", "count p50 p99 max failures")


def _id(control):
    if control is None or control == "":
        return "."
    return hex(control) if isinstance(control, int) else str(control)


class E2ESession(StartedOnEnter):
    """The driver and one run of a program (brindor.exe unless told otherwise).

    With `desktop` set (a name), the program runs in a virtual desktop of its own (1024x768) on the
    display, where windows have title bars for screenshots.
    Windows are named by caption or by handle ("0x..."); controls by (window, control id), where an id of
    None means the window itself. Driver timeouts are in milliseconds, as in the driver's commands.
    """

    def __init__(self, environment=None, program=PROGRAM, args="", start=True, reset_standin=True, desktop=None,
                 desktop_size="", **env_options):
        self.own_environment = environment is None
        self.environment = environment or E2EEnvironment(**env_options)
        self.program = Path(program)
        self.args = args
        self.start_program_now = start
        self.reset_standin = reset_standin
        self.desktop = desktop
        self.desktop_size = desktop_size
        self.driver = None
        self.running = False

    def start(self):
        try:
            if self.own_environment:
                self.environment.start()
            if self.reset_standin and self.standin:
                self.standin.reset()
            self.driver = Driver(self.environment.env)
            if self.desktop:
                self.call("desktop", self.desktop, self.desktop_size)
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
    def start_program(self, program=None, args=None, directory="", env=None, keep_record=False):
        """Start the program (env: further environment variables for it); its process id. The record
        and the settings of earlier programs are removed first unless `keep_record`."""
        path = Path(program) if program else self.program
        if not path.exists():
            raise HarnessError(f"program not built: {path}")
        if not keep_record:
            self.environment.clear_record()
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

    def reachable(self, window, timeout=10.0):
        """Wait until the window is enabled: a box that has just closed gives its window back a moment
        later, on its own thread."""
        self.wait_for(lambda: self.enabled(window), timeout=timeout, message=f"window {window} enabled")

    def click(self, window, control, wait=True):
        """With `wait`, first until the window is enabled (a user waits for it too)."""
        if wait:
            self.reachable(window)
        self.call("click", window, _id(control))

    def focus(self, window, control):
        self.reachable(window)
        self.call("focus", window, _id(control))

    def type(self, window, control, characters):
        """Focus the control and send each character as WM_CHAR ("\\b" is backspace)."""
        self.reachable(window)
        self.call("type", window, _id(control), characters)

    def key(self, window, control, code):
        """Focus the control and post one virtual key down and up (code: e.g. 0x5D for the menu key)."""
        self.reachable(window)
        self.call("key", window, _id(control), code)

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

    def place(self, window, left, top, width, height, maximised=False):
        self.call("place", window, left, top, width, height, *(("max",) if maximised else ()))

    def close_window(self, window):
        self.call("close", window)

    def progress(self, window, control):
        """(minimum, maximum, position)"""
        return tuple(int(v) for v in self.call("progress", window, _id(control)))

    def combo_items(self, window, control):
        """(selected index or -1, [item texts]) of a combo box"""
        f = self.call("combo_items", window, _id(control))
        return int(f[0]), f[1:]

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

    def list_select(self, window, control, *rows):
        """Select exactly these rows (0-based); the first gets the focus."""
        self.call("list_select", window, _id(control), *rows)

    # Shortcut menus, the clipboard, dropped files
    def context_menu(self, window, control, at=None):
        """Ask the control for its shortcut menu, at a screen point or (None) as from the keyboard."""
        self.call("context_menu", window, _id(control), *(at or ()))

    def menu_keys(self, *keys):
        """Press keys (DOWN, UP, RETURN, ESCAPE) in the open shortcut menu."""
        self.call("menu_keys", *keys)

    def menu_open(self):
        return self.call("menu_open")[0] == "1"

    def clipboard(self):
        return self.call("clipboard")[0]

    def set_clipboard(self, text):
        self.call("set_clipboard", text)

    def drop_files(self, window, *paths):
        """Drop files (Linux or Windows paths) on a window, as the shell does."""
        names = [p if re.match(r"^[A-Za-z]:\\", str(p)) else windows_path(p) for p in paths]
        self.call("drop_files", window, *names)

    def copy_data(self, window, tag, size, text="", ended=False, count=1):
        """WM_COPYDATA: `size` bytes of `text` in UTF-16, repeated, the last unit a NUL when `ended`, sent
        `count` times in a row; the sum of the answers, None on timeout."""
        answer = self.call("copy_data", window, tag, size, text, int(ended), count, timeout=20 + count // 10)[0]
        return None if answer == "timeout" else int(answer)

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

    def open_files(self, folder, names, timeout_ms=15000):
        """Answer the open-file dialog with several files of one folder: into the folder, then the names."""
        self.open_file(folder, timeout_ms)
        self._timed("open_file", timeout_ms, timeout_ms, " ".join(f'"{name}"' for name in names))

    def file_dialog_name(self, timeout_ms=15000):
        """The file name the open or save dialog proposes."""
        return self._timed("file_dialog_name", timeout_ms, timeout_ms)[0]

    def cancel_file(self, timeout_ms=15000):
        return self._timed("cancel_file", timeout_ms, timeout_ms)[0]

    def probe(self, window, interval_ms=50, duration_ms=2000, timeout_ms=5000):
        f = self._timed("probe", duration_ms + timeout_ms, window, interval_ms, duration_ms, timeout_ms)
        return Probe(int(f[0]), float(f[1]), float(f[2]), float(f[3]), int(f[4]))

    def handled(self, window):
        """Returns once the window's thread has taken two messages sent to it now: the handler it was in,
        a box's or a click's, has returned, or the box it opened shows (what it posted may still wait)."""
        for _ in range(2):
            trip = self.probe(window, 0, 0)
            if (trip.count, trip.failures) != (1, 0):
                raise HarnessError(f"window {window} did not answer: {trip}")

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

    def focused(self, window):
        """The control id that has the keyboard focus in the window (0 for none)."""
        return int(self.call("focused", window)[0], 16)

    def press_key(self, window, virtual_key, control=None, char=None):
        """A key pressed on the control, or wherever the window's thread has the focus; `char` (a code)
        is the WM_CHAR posted between down and up, as for a key with Ctrl held."""
        self.call("press_key", window, _id(control) if control else "", virtual_key,
                  *(() if char is None else (char,)))

    def chord(self, window, *virtual_keys):
        """The window brought to the front and the keys pressed together through the system's input."""
        self.call("chord", window, *virtual_keys)

    def mouse_click(self, window, control=None, at=None):
        """A left click through the system's input at `at` (x, y) in the client area, or its middle."""
        self.call("mouse_click", window, _id(control) if control else "", *(at or ()))

    def pixels(self, window, control=None):
        """The pixels of a window's or control's client area, as rows of (r, g, b)."""
        return self.environment.pixels(self.client_rect(window, control))
