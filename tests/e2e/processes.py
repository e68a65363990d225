"""Child processes of the harness: reading their pipes with a deadline, and stopping them."""

import os
import select
import signal
import subprocess
import time


class HarnessError(Exception):
    """Something around the program failed: a server did not start, the driver died or stalled."""


class StartedOnEnter:
    """As a context manager: start() on entry, close() on exit."""

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.close()


def read_line(stream, deadline, what):
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


def die_with_parent():
    """In a child before exec: end when the harness ends, however it ends."""
    try:
        import ctypes
        ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass


def stop_process(proc, timeout=5):
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
