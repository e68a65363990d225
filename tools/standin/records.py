"""What the stand-in saw, kept for tests to read back."""

import threading
import time


class RecordLog:
    def __init__(self, limit=10000):
        self._items = []
        self._next_seq = 1
        self._limit = limit
        self._changed = threading.Condition()

    def append(self, record):
        with self._changed:
            record = {"seq": self._next_seq, "time": time.time(), **record}
            self._next_seq += 1
            self._items.append(record)
            del self._items[:-self._limit]
            self._changed.notify_all()
            return record

    def snapshot(self, wait_for=0, timeout=0.0):
        """The records so far; first waits up to timeout seconds for at least wait_for of them."""
        deadline = time.monotonic() + max(0.0, timeout)
        with self._changed:
            while len(self._items) < wait_for:
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    break
                self._changed.wait(remaining)
            return list(self._items)

    def clear(self):
        with self._changed:
            self._items.clear()
            self._next_seq = 1
            self._changed.notify_all()
