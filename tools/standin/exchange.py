"""One request as the stand-in received it, and the answer it gives."""

import json
import re
from dataclasses import dataclass, field
from urllib.parse import unquote

_CALLBACK_CHARS = re.compile(r"[^A-Za-z0-9_$.]")


@dataclass
class Request:
    method: str
    target: str  # raw request target: path and query as sent
    version: str
    headers: list  # (name, value) in order, duplicates kept
    body: bytes
    client: str
    nodelay: bool

    @property
    def path(self):
        return self.target.partition("?")[0]

    @property
    def query(self):
        return self.target.partition("?")[2]

    def header_values(self, name):
        return [v for n, v in self.headers if n.lower() == name.lower()]

    def origin(self):
        hosts = self.header_values("Host")
        return "http://" + hosts[0].strip() if hosts else None


def query_value(query, key):
    """The first value of a key in a raw query, leniently decoded, or None."""
    for part in query.split("&"):
        name, sep, value = part.partition("=")
        if sep and name == key:
            return unquote(value.replace("+", " "), errors="replace")
    return None


def callback_name(query, default):
    """The JSONP function name the request asks for, kept to characters that cannot break the answer."""
    value = _CALLBACK_CHARS.sub("", query_value(query, "callback") or "")
    return value or default


@dataclass
class Reply:
    status: int = 200
    body: bytes = b""
    content_type: str = "text/html; charset=utf-8"
    headers: list = field(default_factory=list)  # further (name, value) lines
    delay_ms: int = 0
    drop: bool = False  # close the connection without answering
    truncate: bool = False  # announce the whole body, send half, close
    padding_bytes: int = 0  # add header lines until the block is at least this long
    silent_ms: int = 0  # keep the connection open that long without a byte of answer, then close
    trickle_ms: int = 0  # send the answer one byte a second, for at most that long, then close
    reset: bool = False  # send the head and half the body, then reset the connection
    chunk_cut: bool = False  # send the body chunked, close before the chunk that holds its second half

    @classmethod
    def text(cls, text, content_type="text/html; charset=utf-8", status=200):
        return cls(status=status, body=text.encode("utf-8"), content_type=content_type)

    @classmethod
    def json(cls, value, status=200):
        if isinstance(value, list):  # one record a line
            text = "[\n" + ",\n".join(json.dumps(v, ensure_ascii=False) for v in value) + "\n]\n"
        else:
            text = json.dumps(value, ensure_ascii=False, indent=1) + "\n"
        body = text.encode("utf-8")
        return cls(status=status, body=body, content_type="application/json; charset=utf-8")
