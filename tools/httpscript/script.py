"""Scripted answers, and the log of requests as they arrived."""

import base64
import binascii
import threading
import time
from dataclasses import dataclass

BUILT_IN_DEFAULT = {
    "status_line": "HTTP/1.1 503 Service Unavailable",
    "headers": "Content-Type: text/plain\r\nContent-Length: 18\r\nConnection: close\r\n",
    "body": "no scripted answer",
}
_KEYS = {"status_line", "headers", "body", "body_b64", "raw_b64", "delay_ms", "drop", "chunk_size",
         "chunk_pause_ms", "hold_ms", "reset"}


@dataclass
class Answer:
    data: bytes
    delay_ms: int = 0  # before the first byte
    drop: bool = False  # close without answering
    chunk_size: int = 0  # write in pieces of this many bytes; 0: all at once
    chunk_pause_ms: int = 0
    hold_ms: int = 0  # keep the connection open this long after the last byte
    reset: bool = False  # end with a connection reset instead of an orderly close


def _decode_b64(text, key):
    try:
        return base64.b64decode(str(text), validate=True)
    except (binascii.Error, ValueError):
        raise ValueError(f"{key} is not base64")


def _whole_number(item, key):
    value = item.get(key, 0)
    if isinstance(value, bool) or not isinstance(value, int) or not 0 <= value <= 600000:
        raise ValueError(f"{key} must be a whole number from 0 to 600000")
    return value


def _compose(item):
    """status line CR LF, header block (CR LF added when its last line lacks one), CR LF, body."""
    if "raw_b64" in item:
        return _decode_b64(item["raw_b64"], "raw_b64")
    status_line = str(item.get("status_line", "HTTP/1.1 200 OK")).rstrip("\r\n")
    headers = item.get("headers", "")
    if isinstance(headers, list):
        headers = "".join(f"{line}\r\n" for line in headers)
    headers = str(headers)
    if headers and not headers.endswith("\n"):
        headers += "\r\n"
    if "body_b64" in item:
        body = _decode_b64(item["body_b64"], "body_b64")
    else:
        body = str(item.get("body", "")).encode("utf-8")
    return (status_line + "\r\n" + headers + "\r\n").encode("utf-8") + body


def answer_from_json(item):
    if not isinstance(item, dict):
        raise ValueError("an answer is a JSON object")
    unknown = set(item) - _KEYS
    if unknown:
        raise ValueError("unknown answer keys: " + ", ".join(sorted(unknown)))
    return Answer(
        data=_compose(item),
        delay_ms=_whole_number(item, "delay_ms"),
        drop=bool(item.get("drop", False)),
        chunk_size=_whole_number(item, "chunk_size"),
        chunk_pause_ms=_whole_number(item, "chunk_pause_ms"),
        hold_ms=_whole_number(item, "hold_ms"),
        reset=bool(item.get("reset", False)),
    )


def answers_from_json(obj):
    """One answer, a list of answers, or {"answers": [...]}."""
    if isinstance(obj, dict) and "answers" in obj and set(obj) == {"answers"}:
        obj = obj["answers"]
    items = obj if isinstance(obj, list) else [obj]
    return [answer_from_json(item) for item in items]


class Script:
    """The queue of answers and the log of requests; shared by all connection threads."""

    def __init__(self):
        self._lock = threading.Condition()
        self._queue = []
        self._default = answer_from_json(BUILT_IN_DEFAULT)
        self._records = []

    def queue(self, answers):
        with self._lock:
            self._queue += answers
            return len(self._queue)

    def set_default(self, item):
        answer = answer_from_json(item if item is not None else BUILT_IN_DEFAULT)
        with self._lock:
            self._default = answer

    def pending(self):
        with self._lock:
            return len(self._queue)

    def next_answer(self):
        """The next scripted answer, or the default one; the second value says which."""
        with self._lock:
            if self._queue:
                return self._queue.pop(0), True
            return self._default, False

    def record(self, record):
        with self._lock:
            record = {"seq": len(self._records) + 1, "time": time.time(), **record}
            self._records.append(record)
            self._lock.notify_all()

    def records(self, wait_for=0, timeout=0.0):
        deadline = time.monotonic() + timeout
        with self._lock:
            while len(self._records) < wait_for and (left := deadline - time.monotonic()) > 0:
                self._lock.wait(left)
            return list(self._records)

    def reset(self):
        with self._lock:
            self._queue.clear()
            self._records.clear()
            self._default = answer_from_json(BUILT_IN_DEFAULT)
