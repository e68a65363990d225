"""The interface host: resolving a magnet link and committing it as a task."""

import base64

RECORDED_BODY = 256 * 1024

from tools.standin import answers, cookies
from tools.standin.commit import as_text, check_commit, form_value, parse_form
from tools.standin.exchange import Reply, callback_name
from tools.standin.magnet import find_info_hash, normalize_hash


def _script_reply(state, text):
    content_type = "text/javascript; charset=utf-8" if state.options.charset else "text/javascript"
    return Reply(body=text.encode("utf-8"), content_type=content_type)


# Faults whose answer does not depend on the request's content; a commit hit by one makes no task.
CONTENT_FREE = ("drop", "silent", "status500", "error_status", "redirect", "html_page", "bad_jsonp", "signed_out",
                "too_fast")
# Faults that spoil the normal answer on its way out; a commit hit by one makes no task either.
BROKEN_DELIVERY = ("trickle", "reset")


def _location(state, request, fault):
    """The redirect's Location: as given, or one of the keywords elsewhere and loop."""
    if fault.location == "elsewhere":
        return f"http://127.0.0.1:{state.elsewhere_port}{request.target}"
    if fault.location == "loop":
        return (request.origin() or "") + "/redirect-loop"
    return fault.location or request.origin() or ""


def refusal(state, request, message):
    """The refusal a service sends once its session ended ("未登录"), or when the client asks too often."""
    callback = callback_name(request.query, "queryUrl" if "url_query" in request.path else "jsonp")
    return _script_reply(state, answers.commit_refused(callback, message))


def _fault_reply(state, request, fault):
    """The answer of a content-free fault."""
    if fault.kind == "drop":
        return Reply(drop=True)
    if fault.kind == "silent":
        return Reply(silent_ms=fault.ms)
    if fault.kind == "status500":
        return Reply.text("<html><body><h1>500 Internal Server Error</h1></body></html>", status=500)
    if fault.kind == "error_status":
        text = f"<html><body><h1>{fault.status}</h1></body></html>" if fault.body else ""
        reply = Reply.text(text, status=fault.status)
        if fault.retry_after is not None:
            reply.headers.append(("Retry-After", fault.retry_after))
        return reply
    if fault.kind in ("signed_out", "too_fast"):
        return refusal(state, request, "未登录" if fault.kind == "signed_out" else "操作过于频繁，请稍后再试")
    if fault.kind == "html_page":
        return Reply.text(answers.login_page())
    if fault.kind == "bad_jsonp":
        return _script_reply(state, answers.bare_json("0"))
    return Reply(status=fault.status, headers=[("Location", _location(state, request, fault))])


def _finish(reply, decision):
    reply.delay_ms = decision.delay_ms
    reply.padding_bytes = decision.big_headers
    if decision.long_header:
        reply.headers.append(("X-Long", "x" * decision.long_header))
    kind = decision.answer.kind if decision.answer else None
    if kind == "truncated":
        reply.truncate = True
    elif kind == "chunk_cut":
        reply.chunk_cut = True
    elif kind == "reset":
        reply.reset = True
    elif kind == "trickle":
        reply.trickle_ms = decision.answer.ms
    elif kind == "late":
        reply.delay_ms += decision.answer.ms
    return reply


def resolve(state, request):
    callback = callback_name(request.query, "queryUrl")
    info_hash = find_info_hash(request.query)
    decision = state.decide_faults("resolve", info_hash)
    fault = decision.answer.kind if decision.answer else None
    entry = state.catalogue.lookup(info_hash) if info_hash else None

    if fault in CONTENT_FREE:
        reply = _fault_reply(state, request, decision.answer)
    elif entry is None or fault == "refuse":
        reply = _script_reply(state, answers.resolve_empty(callback))
    elif fault == "malformed":
        reply = _script_reply(state, answers.resolve_malformed(callback, entry))
    elif fault == "title_form":
        reply = _script_reply(state, answers.resolve_found(callback, entry, decision.answer.form))
    else:
        reply = _script_reply(state, answers.resolve_found(callback, entry))
    # Whatever reached the client with the cid in it lets the client commit that cid.
    if entry is not None and fault in (None, "malformed", "truncated", "huge", "chunk_cut", "title_form"):
        state.remember_resolved(entry)

    state.resolves.append({
        "query": request.query,
        "hash": info_hash,
        "cid": entry.cid if entry else None,
        "title": entry.title if entry else None,
        "generated": entry.generated if entry else None,
        "fault": fault,
        "answer": reply.body[:RECORDED_BODY].decode("utf-8", "replace"),
    })
    return _finish(reply, decision)


def _field(pairs, name):
    for key, value in pairs:
        if key == name.encode():
            return form_value(value)
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
    # A bare confirmation is still the service's word that the task stands.
    if fault in CONTENT_FREE and fault != "bad_jsonp":
        reply = _fault_reply(state, request, decision.answer)
    elif check.problems:
        reply = _script_reply(state, answers.commit_refused(callback, check.problems[0]))
    elif fault == "refuse":
        reply = _script_reply(state, answers.commit_refused(callback, "任务提交被拒绝"))
    elif fault == "escaped_refusal":
        reply = _script_reply(state, answers.commit_refused(callback, decision.answer.message, escaped=True))
    elif fault in BROKEN_DELIVERY:
        reply = _script_reply(state, answers.commit_accepted(callback, "0"))
    elif fault == "answer_form" and decision.answer.form not in answers.TASK_MADE_FORMS:
        reply = _script_reply(state, answers.commit_in_form(decision.answer.form, callback, "0"))
    else:
        # A malformed, truncated or huge answer still stands for a task the service has created.
        task_id = state.next_task_id()
        if fault == "malformed":
            text = answers.commit_malformed(callback)
        elif fault == "huge":
            text = answers.commit_huge(callback, task_id, decision.answer.bytes)
        elif fault == "fixed_callback":
            text = answers.commit_accepted(decision.answer.name, task_id)
        elif fault == "bad_jsonp":
            text = answers.bare_json(task_id)
        elif fault == "answer_form":
            text = answers.commit_in_form(decision.answer.form, callback, task_id)
        elif fault == "byte_order_mark":
            text = "\ufeff" + answers.commit_accepted(callback, task_id)
        else:
            text = answers.commit_accepted(callback, task_id)
        # Made once the POST is read: whatever happens to the answer, the task exists.
        reply = Reply(drop=True) if fault == "close_after_post" else _script_reply(state, text)

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
        "answer": reply.body[:RECORDED_BODY].decode("utf-8", "replace"),
    })
    return _finish(reply, decision)
