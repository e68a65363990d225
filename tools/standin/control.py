"""Control and read-back addresses under /_standin/."""

import json

from tools.standin.exchange import Reply, query_value
from tools.standin.sizes import format_size

PREFIX = "/_standin/"


def _catalogue_json(state):
    return [{
        "hash": e.info_hash,
        "cid": e.cid,
        "title": e.title,
        "client_title": e.client_title,
        "tsize": e.tsize,
        "size_text": format_size(e.tsize),
        "file_count": len(e.files),
        "findex": e.findex_field,
        "size": e.size_field,
        "refused": e.refused,
        "note": e.note,
    } for e in state.catalogue.entries]


def _wait_arguments(query):
    """?wait=N&timeout_ms=T: block until N records exist or T ms have passed (default 5000)."""
    try:
        wait = int(query_value(query, "wait") or 0)
        timeout_ms = int(query_value(query, "timeout_ms") or 5000)
    except ValueError:
        raise ValueError("wait and timeout_ms must be whole numbers")
    return wait, min(max(timeout_ms, 0), 60000) / 1000.0


def _json_body(request):
    try:
        return json.loads(request.body.decode("utf-8") or "{}")
    except (UnicodeDecodeError, json.JSONDecodeError) as error:
        raise ValueError(f"body is not JSON: {error}")


def _read_back(log, request):
    wait, timeout = _wait_arguments(request.query)
    return Reply.json(log.snapshot(wait, timeout))


def handle(state, request):
    name = request.path[len(PREFIX):]
    logs = {"requests": state.requests, "resolves": state.resolves, "commits": state.commits,
            "elsewhere": state.elsewhere}
    try:
        if request.method == "GET" and name in logs:
            return _read_back(logs[name], request)
        if request.method == "GET" and name == "catalogue":
            return Reply.json(_catalogue_json(state))
        if name == "faults":
            if request.method == "POST":
                state.set_faults(_json_body(request))
            return Reply.json(state.faults_json())
        if name == "options":
            if request.method == "POST":
                state.set_options(_json_body(request))
            return Reply.json(state.options.to_json())
        if request.method == "POST" and name == "reset":
            state.reset()
            return Reply.json({"reset": True})
    except ValueError as error:
        return Reply.json({"error": str(error)}, status=400)
    return Reply.json({"error": f"no control address {request.method} {request.path}"}, status=404)
