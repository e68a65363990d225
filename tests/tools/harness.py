"""Starting the tool servers on free ports and talking to them over real sockets."""

import ast
import json
import re
import socket
import subprocess
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
STANDIN = REPO / "tools" / "standin" / "serve.py"
HTTPSCRIPT = REPO / "tools" / "httpscript" / "server.py"
AGENT = ("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; 408QT; .NET CLR 2.0.50727; "
         ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)")


def clear_wine_cookies(wineprefix):
    """Empties the cookie store of a Wine prefix. Every test process shares the store (cookies are
    kept per host, not per port), so a test that depends on it starts from an empty one. Only while
    no program of the prefix has the store open."""
    users = Path(wineprefix) / "drive_c" / "users"
    for pattern in ("*/AppData/Local/Microsoft/Windows/INetCookies", "*/AppData/Roaming/Microsoft/Windows/Cookies"):
        for folder in users.glob(pattern):
            for item in folder.rglob("*"):
                if item.is_file():
                    item.unlink()


class ServerProcess:
    def __init__(self, script, *args):
        self.proc = subprocess.Popen([sys.executable, str(script), "--port", "0", *args],
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.first_line = self.proc.stdout.readline().decode("utf-8")
        match = re.fullmatch(r"\S+ listening on 127\.0\.0\.1:(\d+)\n", self.first_line)
        if not match:
            self.stop()
            raise RuntimeError(f"{script.name} did not start: {self.first_line!r}")
        self.port = int(match.group(1))

    def stop(self):
        self.proc.terminate()
        self.proc.wait(5)
        self.proc.stdout.close()


def exchange(port, data, timeout=5.0):
    """Send raw bytes, read until the server closes (or resets: what came before the reset)."""
    with socket.create_connection(("127.0.0.1", port), timeout=timeout) as sock:
        sock.sendall(data)
        chunks = []
        try:
            while chunk := sock.recv(65536):
                chunks.append(chunk)
        except ConnectionResetError:
            pass
        return b"".join(chunks)


class Answer:
    def __init__(self, data):
        self.data = data
        head, _, self.body = data.partition(b"\r\n\r\n")
        lines = head.decode("latin-1").split("\r\n")
        self.status_line = lines[0]
        self.status = int(lines[0].split(" ")[1]) if len(lines[0].split(" ")) > 1 else 0
        self.headers = [tuple(part.strip() for part in line.split(":", 1)) for line in lines[1:] if line]
        self.head_length = len(head) + 4

    def header_values(self, name):
        return [v for n, v in self.headers if n.lower() == name.lower()]

    def text(self):
        return self.body.decode("utf-8")

    def json(self):
        return json.loads(self.body.decode("utf-8"))


def request(port, method, target, headers=(), body=b""):
    """One request in the client's style (its default header lines), on a connection closed after it."""
    lines = [f"{method} {target} HTTP/1.1", f"Host: 127.0.0.1:{port}", f"User-Agent: {AGENT}",
             f"Referer: http://127.0.0.1:{port}{target}", "Accept: */*", "Accept-Language: zh-cn",
             "Content-Type: application/x-www-form-urlencoded", *headers, "Connection: close"]
    if method == "POST":
        lines.append(f"Content-Length: {len(body)}")
    head = ("\r\n".join(lines) + "\r\n\r\n").encode("utf-8")
    return Answer(exchange(port, head + body))


def get_json(port, path):
    return request(port, "GET", path).json()


def post_json(port, path, value):
    return request(port, "POST", path, body=json.dumps(value).encode("utf-8"))


# The desktop client's reading of a resolve answer, used as the oracle for its shape.

def _between_first(text, start, end):
    i = text.find(start)
    if i < 0:
        return ""
    j = text.find(end, i + len(start))
    return text[i + len(start):j] if j >= 0 else ""


def _split(text, separator):
    if text == "":
        return []
    pieces = text.split(separator)
    return pieces[:-1] if pieces[-1] == "" else pieces


def _join_array(piece):
    return _between_first(piece, "(", ")").replace("',", "_").replace("'", "") + "_"


_ARGUMENT = re.compile(r"\s*('(?:\\.|[^'\\])*'|[^,]*?)\s*,")


def _scalars(answer):
    """The call's arguments before its first array, strings read as JavaScript reads them."""
    head, found, _ = answer.partition("new Array")
    if not found or not head.startswith("queryUrl("):
        return []
    values = [m.group(1) for m in _ARGUMENT.finditer(head[len("queryUrl("):])]
    return [ast.literal_eval(v) if v.startswith("'") else v for v in values]


def client_reading(answer):
    fields = {}
    scalars = _scalars(answer)
    if len(scalars) >= 4:
        fields.update(cid=scalars[1], tsize=scalars[2], title=scalars[3])
    arrays = _split(answer, "new Array")
    if len(arrays) >= 7:
        fields.update(findex=_join_array(arrays[6]), size=_join_array(arrays[3]))
    return fields
