"""The interface host: resolving a magnet link and committing it as a task."""

import base64

RECORDED_BODY = 256 * 1024

from tools.standin import answers, cookies
from tools.standin.commit import as_text, check_commit, parse_form
from tools.standin.exchange import Reply, callback_name
from tools.standin.magnet import find_info_hash, normalize_hash


def _script_reply(state, text):
    content_type = "text/javascript; charset=utf-8" if state.options.charset else "text/javascript"
    return Reply(body=text.encode("utf-8"), content_type=content_type)


def _fault_reply(state, request, fault):
    """The answer for drop, status500 and redirect, which do not depend on the request's content."""
    if fault.kind == "drop":
        return Reply(drop=True)
    if fault.kind == "status500":
        return Reply.text("<html><body><h1>500 Internal Server Error</h1></body></html>", status=500)
    location = fault.location or request.origin() or ""
    return Reply(status=fault.status, headers=[("Location", location)])


def _finish(reply, decision):
    reply.delay_ms = decision.delay_ms
    reply.padding_bytes = decision.big_headers
    if decision.answer and decision.answer.kind == "truncated":
        reply.truncate = True
    return reply


def resolve(state, request):
    callback = callback_name(request.query, "queryUrl")
    info_hash = find_info_hash(request.query)
    decision = state.decide_faults("resolve", info_hash)
    fault = decision.answer.kind if decision.answer else None
    entry = state.catalogue.lookup(info_hash) if info_hash else None

    if fault in ("drop", "status500", "redirect"):
        reply = _fault_reply(state, request, decision.answer)
    elif entry is None or fault == "refuse":
        reply = _script_reply(state, answers.resolve_empty(callback))
    elif fault == "malformed":
        reply = _script_reply(state, answers.resolve_malformed(callback, entry))
    else:
        reply = _script_reply(state, answers.resolve_found(callback, entry))
    # Whatever reached the client with the cid in it lets the client commit that cid.
    if entry is not None and fault in (None, "malformed", "truncated"):
        state.remember_resolved(entry)

    state.resolves.append({
        "query": request.query,
        "hash": info_hash,
        "cid": entry.cid if entry else None,
        "title": entry.title if entry else None,
        "generated": entry.generated if entry else None,
        "fault": fault,
        "answer": reply.body.decode("utf-8"),
    })
    return _finish(reply, decision)


def _field(pairs, name):
    for key, value in pairs:
        if key == name.encode():
            return as_text(value)
    return None


def commit(state, request):
    callback = callback_name(request.query, "jsonp")
    pairs = parse_form(request.body)
    cookie_lines = request.header_values("Cookie")
    user_id = cookies.cookie_value(cookies.parse_cookie_lines(cookie_lines), "userid")
    cid = _field(pairs, "cid")
    decision = state.decide_faults("commit", normalize_hash(cid or ""))
    fault = decision.answer.kind if decision.answer else None
    check = check_commit(pairs, user_id, state.resolved_entries())

    task_id = None
    if fault in ("drop", "status500", "redirect"):
        reply = _fault_reply(state, request, decision.answer)
    elif check.problems:
        reply = _script_reply(state, answers.commit_refused(callback, check.problems[0]))
    elif fault == "refuse":
        reply = _script_reply(state, answers.commit_refused(callback, "任务提交被拒绝"))
    else:
        # A malformed or truncated answer still stands for a task the service has created.
        task_id = state.next_task_id()
        text = answers.commit_malformed(callback) if fault == "malformed" else answers.commit_accepted(callback, task_id)
        reply = _script_reply(state, text)

    state.commits.append({
        "callback": callback,
        "timestamp": callback[5:] if callback.startswith("jsonp") else "",
        "body_b64": base64.b64encode(request.body[:RECORDED_BODY]).decode("ascii"),
        "body_length": len(request.body),
        "body": as_text(request.body[:RECORDED_BODY]),
        "fields": [[as_text(k), as_text(v)] for k, v in pairs],
        "title": check.title,
        "btname_canonical": check.btname_canonical,
        "cookie": "; ".join(cookie_lines),
        "user_id": user_id,
        "uid": _field(pairs, "uid"),
        "cid": cid,
        "hash": check.entry.info_hash if check.entry else None,
        "resolved_title": check.entry.title if check.entry else None,
        "accepted": task_id is not None,
        "task_id": task_id,
        "problems": check.problems,
        "fault": fault,
        "answer": reply.body.decode("utf-8"),
    })
    return _finish(reply, decision)
