"""The stand-in offline service, started on a fixed port, and its read-back addresses."""

import json
import subprocess
import sys
import time
import urllib.request

from locations import STANDIN
from processes import HarnessError, die_with_parent, read_line, stop_process


class Standin:
    """The stand-in offline service on a fixed port, with its read-back addresses."""

    def __init__(self, port, args=()):
        self.port = port
        self.proc = subprocess.Popen(
            [sys.executable, str(STANDIN), "--host", "127.0.0.1", "--port", str(port), *args],
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True,
            preexec_fn=die_with_parent)
        try:
            line = read_line(self.proc.stdout, time.monotonic() + 15, "the stand-in service")
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
        stop_process(self.proc)
        if self.proc.stdout:
            self.proc.stdout.close()
