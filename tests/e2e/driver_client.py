"""The client of brindor_driver.exe: one command line in, one answer line out."""

import subprocess
import time

from locations import DRIVER, WINE
from processes import HarnessError, die_with_parent, read_line, stop_process


class DriverError(Exception):
    """The driver answered "error" (message in args[0])."""


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


class Driver:
    """brindor_driver.exe under Wine: one command line in, one answer line out."""

    def __init__(self, env):
        self.proc = subprocess.Popen([WINE, str(DRIVER)], env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, start_new_session=True, preexec_fn=die_with_parent)
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
        answer = read_line(self.proc.stdout, time.monotonic() + timeout, f"the driver's answer to {command}")
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
        stop_process(self.proc)
        for stream in (self.proc.stdin, self.proc.stdout):
            try:
                stream.close()
            except OSError:
                pass
