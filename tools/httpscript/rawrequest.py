"""Reading one HTTP request off a socket without changing a byte of it."""

from dataclasses import dataclass, field

MAX_HEAD = 1024 * 1024
MAX_BODY = 16 * 1024 * 1024


@dataclass
class RawRequest:
    head: bytes = b""  # request line and header lines up to and including the blank line
    body: bytes = b""  # as it arrived; for a chunked body the chunk framing too
    trailing: bytes = b""  # bytes read past the end of the request
    complete: bool = False

    @property
    def raw(self):
        return self.head + self.body

    def lines(self):
        if not self.head:
            return []
        lines = [line.rstrip("\r") for line in self.head.decode("latin-1").split("\n")]
        ended = self.head.endswith(b"\n\n") or self.head.endswith(b"\n\r\n")
        return lines[:-2] if ended else lines

    @property
    def request_line(self):
        lines = self.lines()
        return lines[0] if lines else ""

    @property
    def header_lines(self):
        return self.lines()[1:]

    def headers(self):
        out = []
        for line in self.header_lines:
            name, _, value = line.partition(":")
            out.append([name, value.strip()])
        return out

    def header(self, name):
        for key, value in self.headers():
            if key.strip().lower() == name:
                return value
        return None


class _Reader:
    def __init__(self, sock):
        self.sock = sock
        self.buffer = b""

    def fill(self):
        chunk = self.sock.recv(65536)
        self.buffer += chunk
        return bool(chunk)

    def take(self, count):
        data, self.buffer = self.buffer[:count], self.buffer[count:]
        return data


def _head_end(buffer):
    ends = [i + len(mark) for mark in (b"\r\n\r\n", b"\n\n") if (i := buffer.find(mark)) >= 0]
    return min(ends) if ends else -1


def _read_exact(reader, count):
    while len(reader.buffer) < count:
        if not reader.fill():
            return reader.take(len(reader.buffer)), False
    return reader.take(count), True


def _read_line(reader):
    while b"\n" not in reader.buffer:
        if len(reader.buffer) > MAX_HEAD or not reader.fill():
            return reader.take(len(reader.buffer)), False
    return reader.take(reader.buffer.index(b"\n") + 1), True


def _read_chunked(reader):
    body = b""
    while True:
        line, ok = _read_line(reader)
        body += line
        if not ok:
            return body, False
        try:
            size = int(line.split(b";")[0].strip(), 16)
        except ValueError:
            return body, False
        if size == 0:
            break
        data, ok = _read_exact(reader, size + 2)
        body += data
        if not ok or len(body) > MAX_BODY:
            return body, False
    while True:  # trailer lines up to the empty one
        line, ok = _read_line(reader)
        body += line
        if not ok or line.strip() == b"":
            return body, ok


def read_request(sock):
    """One request; complete is False when the peer stopped early or sent nonsense framing."""
    reader = _Reader(sock)
    request = RawRequest()
    while (end := _head_end(reader.buffer)) < 0:
        if len(reader.buffer) > MAX_HEAD or not reader.fill():
            request.head = reader.take(len(reader.buffer))
            return request
    request.head = reader.take(end)
    if (request.header("transfer-encoding") or "").lower() == "chunked":
        request.body, request.complete = _read_chunked(reader)
    else:
        length = (request.header("content-length") or "0").strip() or "0"
        if not length.isdigit() or int(length) > MAX_BODY:
            return request
        request.body, request.complete = _read_exact(reader, int(length))
    request.trailing = reader.buffer
    return request
