"""HTTP plumbing: reading requests, dispatching by path, writing answers (faults included)."""

import base64
import socket
import struct
import sys
import time
import traceback
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from tools.standin import control, interface, pages, web
from tools.standin.exchange import Reply, Request

MAX_BODY = 8 * 1024 * 1024
RECORDED_BODY = 64 * 1024


def _role(path):
    if path.endswith("/interface/url_query") or path.endswith("/interface/bt_task_commit"):
        return "interface"
    return "announcement" if path == "/softgg.html" else "web"


def dispatch(state, request):
    path = request.path
    if path.startswith(control.PREFIX):
        return control.handle(state, request)
    state.requests.append({
        "method": request.method,
        "path": request.target,
        "version": request.version,
        "headers": [[n, v] for n, v in request.headers],
        "body_length": len(request.body),
        "body_b64": base64.b64encode(request.body[:RECORDED_BODY]).decode("ascii"),
        "client": request.client,
        "nodelay": request.nodelay,
        "role": _role(path),
    })
    if _role(path) == "interface" and state.options.require_signin and not web.signed_in(state, request):
        return interface.refusal(state, request, "未登录")
    # The interface paths also answer under a prefix, so a redirect to a full URL on this server works.
    if path.endswith("/interface/url_query"):
        return interface.resolve(state, request)
    if path.endswith("/interface/bt_task_commit"):
        return interface.commit(state, request)
    route = web.ROUTES.get(path)
    if route is None:
        return Reply.text(pages.not_found_page(path), status=404)
    return route(state, request)


def _padding_lines(total_bytes):
    lines, size, number = [], 0, 0
    while size < total_bytes:
        number += 1
        lines.append((f"X-Padding-{number:03d}", "x" * 200))
        size += len(lines[-1][0]) + 2 + 200 + 2
    return lines


class StandinHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # the client follows only "HTTP/1.1 301 Moved..."
    server_version = "standin/1"
    default_request_version = "HTTP/1.0"  # error answers to unreadable request lines keep a status line
    timeout = 60

    def setup(self):
        super().setup()
        # Header block and body go out in two writes; with Nagle on, the body waits for a delayed ACK.
        self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    def log_message(self, format, *args):
        if self.server.state.verbose:
            sys.stderr.write(f"standin: {self.address_string()} {format % args}\n")

    def parse_request(self):
        # A client may leave spaces unescaped in the target; keep them instead of refusing the line.
        words = self.raw_requestline.rstrip(b"\r\n").split(b" ")
        self.raw_target = None
        if len(words) > 3 and words[-1].startswith(b"HTTP/"):
            self.raw_target = b" ".join(words[1:-1]).decode("latin-1")
            self.raw_requestline = b" ".join([words[0], b"%20".join(words[1:-1]), words[-1]]) + b"\r\n"
        return super().parse_request()

    def do_GET(self):
        self._serve()

    do_POST = do_PUT = do_DELETE = do_GET

    def _fail(self, status, message):
        self.close_connection = True
        self.send_error(status, message)

    def _read_body(self):
        if self.headers.get("Transfer-Encoding", "").strip():
            self._fail(411, "Content-Length required")
            return None
        text = self.headers.get("Content-Length", "0").strip() or "0"
        if not text.isdigit():
            self._fail(400, "bad Content-Length")
            return None
        length = int(text)
        if length > MAX_BODY:
            self._fail(413, "body too large")
            return None
        body = self.rfile.read(length)
        if len(body) < length:
            self.close_connection = True
            return None
        return body

    def _serve(self):
        body = self._read_body()
        if body is None:
            return
        request = Request(
            method=self.command,
            target=self.raw_target or self.path,
            version=self.request_version,
            headers=list(self.headers.items()),
            body=body,
            client=f"{self.client_address[0]}:{self.client_address[1]}",
            nodelay=bool(self.connection.getsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY)),
        )
        try:
            reply = dispatch(self.server.state, request)
        except Exception:
            if self.server.state.verbose:
                traceback.print_exc()
            reply = Reply.text("internal error", "text/plain; charset=utf-8", status=500)
        self._write(reply)

    def _write(self, reply):
        if reply.delay_ms:
            time.sleep(reply.delay_ms / 1000.0)
        if reply.silent_ms:
            time.sleep(reply.silent_ms / 1000.0)
        if reply.drop or reply.silent_ms:
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            return
        if reply.trickle_ms or reply.reset:
            self._write_raw(reply)
            return
        self.send_response(reply.status)
        self.send_header("Content-Type", reply.content_type)
        self.send_header("Content-Length", str(len(reply.body)))
        for name, value in reply.headers + _padding_lines(reply.padding_bytes):
            self.send_header(name, value)
        self.end_headers()
        body = reply.body[: len(reply.body) // 2] if reply.truncate else reply.body
        self.wfile.write(body)
        if reply.truncate:
            self.close_connection = True


    def _write_raw(self, reply):
        """The answer byte by byte once a second (trickle), or cut by a connection reset."""
        self.close_connection = True
        head = [f"HTTP/1.1 {reply.status} {self.responses.get(reply.status, ('',))[0]}",
                f"Content-Type: {reply.content_type}", f"Content-Length: {len(reply.body)}"]
        head += [f"{name}: {value}" for name, value in reply.headers]
        data = ("\r\n".join(head) + "\r\n\r\n").encode("latin-1") + reply.body
        try:
            if reply.reset:
                self.connection.sendall(data[: len(data) - len(reply.body) // 2])
                time.sleep(0.2)
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                self.connection.close()
                return
            ends = time.monotonic() + reply.trickle_ms / 1000.0
            for i in range(len(data)):
                if time.monotonic() >= ends:
                    break
                self.connection.sendall(data[i:i + 1])
                time.sleep(1.0)
        except OSError:
            pass


class _QuietServer(ThreadingHTTPServer):
    """A server over the shared state; its errors reach stderr only when verbose."""

    daemon_threads = True
    allow_reuse_address = True
    handler = None

    def __init__(self, address, state):
        self.state = state
        super().__init__(address, self.handler)

    def handle_error(self, request, client_address):
        if self.state.verbose:
            super().handle_error(request, client_address)


class StandinServer(_QuietServer):
    handler = StandinHandler


class ElsewhereHandler(BaseHTTPRequestHandler):
    """Another server on another port: records what reaches it (cookies, Authorization) and
    answers every request with a small page that no client may take for the service's answer."""

    protocol_version = "HTTP/1.1"
    timeout = 60

    def log_message(self, format, *args):
        if self.server.state.verbose:
            sys.stderr.write(f"standin elsewhere: {self.address_string()} {format % args}\n")

    def do_GET(self):
        text = self.headers.get("Content-Length", "0").strip()
        body = self.rfile.read(min(int(text), MAX_BODY)) if text.isdigit() else b""
        self.server.state.elsewhere.append({
            "method": self.command,
            "path": self.path,
            "headers": [[n, v] for n, v in self.headers.items()],
            "body_length": len(body),
        })
        page = b"<html><body>elsewhere</body></html>"
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(page)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(page)
        self.close_connection = True

    do_POST = do_PUT = do_DELETE = do_GET


class ElsewhereServer(_QuietServer):
    handler = ElsewhereHandler
