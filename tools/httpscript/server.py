"""Scriptable HTTP test server.

Every connection carries one request: the server answers it (with the next scripted bytes, unchanged)
and closes the connection. So an answer's end is always well defined, whatever its header block says.
"""

import argparse
import base64
import socket
import struct
import socketserver
import sys
import time
from pathlib import Path

if __package__ in (None, ""):  # run as a script: make the repository's "tools" package importable
    sys.path.insert(0, str(Path(__file__).resolve().parents[2]))

from tools.httpscript import control  # noqa: E402
from tools.httpscript.rawrequest import read_request  # noqa: E402
from tools.httpscript.script import Script  # noqa: E402

IDLE_TIMEOUT = 30.0
DRAIN_TIMEOUT = 2.0


def _b64(data):
    return base64.b64encode(data).decode("ascii")


def _record(raw, scripted, client, nodelay):
    parts = raw.request_line.split(" ")
    return {
        "raw_b64": _b64(raw.raw),
        "request_line": raw.request_line,
        "method": parts[0] if parts else "",
        "target": parts[1] if len(parts) > 1 else "",
        "version": parts[2] if len(parts) > 2 else "",
        "header_lines": raw.header_lines,
        "headers": raw.headers(),
        "body_b64": _b64(raw.body),
        "body_text": raw.body.decode("utf-8", "replace"),
        "body_length": len(raw.body),
        "complete": raw.complete,
        "trailing_b64": _b64(raw.trailing),
        "scripted": scripted,
        "client": client,
        "nodelay": nodelay,
    }


class ConnectionHandler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        sock.settimeout(IDLE_TIMEOUT)
        try:
            self._serve_one(sock)
        except OSError as error:
            if self.server.verbose:
                print(f"httpscript: {self.client_address}: {error}", file=sys.stderr)

    def _serve_one(self, sock):
        script = self.server.script
        raw = read_request(sock)
        if not raw.head:
            return
        if raw.complete and control.is_control(raw):
            sock.sendall(control.handle(script, raw))
            self._close(sock)
            return
        nodelay = bool(sock.getsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY))
        client = f"{self.client_address[0]}:{self.client_address[1]}"
        if not raw.complete:
            script.record(_record(raw, False, client, nodelay))
            return
        answer, scripted = script.next_answer()
        script.record(_record(raw, scripted, client, nodelay))
        if self.server.verbose:
            print(f"httpscript: {raw.request_line!r} -> {answer.data[:40]!r}", file=sys.stderr)
        self._send(sock, answer)

    def _send(self, sock, answer):
        time.sleep(answer.delay_ms / 1000.0)
        if answer.drop:
            sock.close()
            return
        step = answer.chunk_size or len(answer.data) or 1
        for start in range(0, len(answer.data), step):
            if start:
                time.sleep(answer.chunk_pause_ms / 1000.0)
            sock.sendall(answer.data[start:start + step])
        time.sleep(answer.hold_ms / 1000.0)
        if answer.reset:
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            sock.close()
            return
        self._close(sock)

    @staticmethod
    def _close(sock):
        """Half-close, then drain, so unread client bytes cannot turn the close into a reset."""
        try:
            sock.shutdown(socket.SHUT_WR)
            sock.settimeout(DRAIN_TIMEOUT)
            while sock.recv(65536):
                pass
        except OSError:
            pass


class ScriptServer(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, verbose=False):
        self.script = Script()
        self.verbose = verbose
        super().__init__(address, ConnectionHandler)

    def handle_error(self, request, client_address):
        if self.verbose:
            super().handle_error(request, client_address)


def main(argv=None):
    parser = argparse.ArgumentParser(prog="httpscript", description="Scriptable HTTP test server.")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 (the default) picks a free port")
    parser.add_argument("--verbose", action="store_true", help="log requests and errors to stderr")
    args = parser.parse_args(argv)
    try:
        server = ScriptServer((args.host, args.port), args.verbose)
    except OSError as error:
        print(f"httpscript: cannot listen on {args.host}:{args.port}: {error}", file=sys.stderr)
        return 1
    host, port = server.server_address[:2]
    print(f"httpscript listening on {host}:{port}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
