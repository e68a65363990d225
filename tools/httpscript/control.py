"""Control addresses under /_script/, answered as JSON on a connection that is then closed."""

import json
from urllib.parse import parse_qsl

from tools.httpscript.script import answers_from_json

PREFIX = "/_script/"


def is_control(raw_request):
    parts = raw_request.request_line.split(" ")
    return len(parts) >= 2 and parts[1].startswith(PREFIX)


def _json_answer(status, value):
    if isinstance(value, list):  # one record a line
        text = "[\n" + ",\n".join(json.dumps(v, ensure_ascii=False) for v in value) + "\n]\n"
    else:
        text = json.dumps(value, ensure_ascii=False) + "\n"
    body = text.encode("utf-8")
    reason = {200: "OK", 400: "Bad Request", 404: "Not Found"}[status]
    head = (f"HTTP/1.1 {status} {reason}\r\nContent-Type: application/json; charset=utf-8\r\n"
            f"Content-Length: {len(body)}\r\nConnection: close\r\n\r\n")
    return head.encode("ascii") + body


def _body_json(raw_request):
    try:
        return json.loads(raw_request.body.decode("utf-8") or "null")
    except (UnicodeDecodeError, json.JSONDecodeError) as error:
        raise ValueError(f"body is not JSON: {error}")


def _wait_arguments(query):
    values = dict(parse_qsl(query))
    try:
        wait = int(values.get("wait", 0))
        timeout_ms = int(values.get("timeout_ms", 5000))
    except ValueError:
        raise ValueError("wait and timeout_ms must be whole numbers")
    return wait, min(max(timeout_ms, 0), 60000) / 1000.0


def handle(script, raw_request):
    """The bytes to answer a control request with."""
    method, target = raw_request.request_line.split(" ")[:2]
    name, _, query = target[len(PREFIX):].partition("?")
    try:
        if method == "POST" and name == "next":
            return _json_answer(200, {"queued": script.queue(answers_from_json(_body_json(raw_request)))})
        if method == "POST" and name == "default":
            script.set_default(_body_json(raw_request))
            return _json_answer(200, {"default": True})
        if method == "GET" and name == "pending":
            return _json_answer(200, {"queued": script.pending()})
        if method == "GET" and name == "requests":
            return _json_answer(200, script.records(*_wait_arguments(query)))
        if method == "POST" and name == "reset":
            script.reset()
            return _json_answer(200, {"reset": True})
    except ValueError as error:
        return _json_answer(400, {"error": str(error)})
    return _json_answer(404, {"error": f"no control address {method} {target}"})
