"""Texts of the interface answers.

The resolve answer is JavaScript: values go between single quotes with a quote or a backslash inside
them escaped, so a title keeps its commas, parentheses and apostrophes for a client that reads it as
a script reads it.
"""

import json
import os
import random

from tools.standin.sizes import format_size

_KINDS = {
    "video": {"mkv", "mp4", "mov", "avi", "rmvb"},
    "audio": {"flac", "mp3", "wav"},
    "image": {"jpg", "jpeg", "png", "gif"},
    "archive": {"zip", "7z", "rar", "tar", "iso", "img"},
    "text": {"txt", "srt", "pdf", "nfo"},
}


def file_kind(name):
    extension = os.path.splitext(name)[1].lstrip(".").lower()
    for kind, extensions in _KINDS.items():
        if extension in extensions:
            return kind
    return "other"


def _js(value):
    return "'" + str(value).replace("\\", "\\\\").replace("'", "\\'") + "'"


def _utf16_escapes(char):
    units = char.encode("utf-16-be")
    return "".join(f"\\u{int.from_bytes(units[i:i + 2], 'big'):04x}" for i in range(0, len(units), 2))


def _js_unicode(value):
    """Everything beyond ASCII as \\uXXXX, as most JSON encoders write it."""
    return "".join(c if ord(c) < 0x80 else _utf16_escapes(c) for c in _js(value))


# How a title goes into the resolve answer: escaped as a script reads it, with its escapes left out
# (an apostrophe then ends the string early), or with everything beyond ASCII as \uXXXX.
TITLE_FORMS = {"escaped": _js, "raw": lambda value: f"'{value}'", "unicode": _js_unicode}


def _js_array(values):
    return "new Array(" + ",".join(_js(v) for v in values) + ")"


def _nonce():
    return f"{random.random():.16f}"


def resolve_found(callback, entry, title_form="escaped"):
    names = [name for name, _ in entry.files]
    sizes = [size for _, size in entry.files]
    arrays = [
        names,
        [format_size(str(s)) for s in sizes],
        sizes,
        ["1"] * len(names),
        [file_kind(n) for n in names],
        range(len(names)),
    ]
    scalars = f"1,{_js(entry.cid)},{_js(entry.tsize)},{TITLE_FORMS[title_form](entry.title)},'1'"
    return f"{callback}({scalars}," + ",".join(_js_array(a) for a in arrays) + f",'{_nonce()}')"


def resolve_empty(callback):
    """No usable info-hash, or a refused link: flag 0 and nothing else."""
    return f"{callback}(0,'','','','0'," + ",".join(["new Array()"] * 6) + f",'{_nonce()}')"


def resolve_malformed(callback, entry):
    """Too few scalars and too few arrays for a client that takes fixed positions."""
    first = entry.files[0][0] if entry.files else ""
    return f"{callback}(1,{_js(entry.cid)},new Array({_js(first)}),new Array({_js(entry.tsize)}))"


def commit_accepted(callback, task_id):
    return f'{callback}({{"id":"{task_id}","progress":1}})'


def commit_refused(callback, message, escaped=False):
    """escaped: the message in \\uXXXX escapes, as most JSON encoders write it by default."""
    return f'{callback}({{"id":null,"progress":-1,"msg":{json.dumps(message, ensure_ascii=escaped)}}})'


def commit_malformed(callback):
    return "<html><head><title>502</title></head><body>upstream error</body></html>"


def commit_huge(callback, task_id, size):
    """A real confirmation that carries a long value: the client must read all of it."""
    head = f'{callback}({{"id":"{task_id}","progress":1,"pad":"'
    tail = '"})'
    return head + "x" * max(size - len(head) - len(tail), 0) + tail


# The wrappings web frameworks put around a JSONP confirmation, and scripts that only look like one.
ANSWER_FORMS = {
    "comment": "/**/{callback}({value})",
    "typeof": "/**/ typeof {callback} === 'function' && {callback}({value});",
    "window_member": "window.{callback}({value})",
    "window_index": 'window["{callback}"]({value})',
    "try_catch": "try{{{callback}({value});}}catch(e){{}}",
    "bare_value": "{value}",
    "alert_back": "alert('请先登录');history.back()",
    "then_reload": '{callback}({{"progress":-1}});location.reload()',
    "empty_call": "x()",
    # Answers that contradict themselves, and scripts that only look like a confirmation.
    "no_space": '{callback}({{"progress":-1,"msg":"空间不足"}})',
    "task_limit": '{callback}({{"id":"","progress":-1,"msg":"任务数已达上限"}})',
    "system_error": '{callback}({{"result":-1,"error":"system error"}})',
    "empty_object": "{callback}({{}})",
    "null_beside_id": '{callback}({{"id":"{task_id}","progress":1,"msg":null}})',
    "line_separator": "{callback}({value}) //x\u2028location.reload()",
    "reserved_callee": "throw({value})",
}
# The forms a client must take as the confirmation it is: the task stands.
CONFIRMING_FORMS = ("comment", "typeof", "window_member", "window_index", "try_catch", "bare_value")
# Forms after which the task stands, though no client may take them for a confirmation.
TASK_MADE_FORMS = CONFIRMING_FORMS + ("null_beside_id",)


def commit_in_form(form, callback, task_id):
    value = f'{{"id":"{task_id}","progress":1}}'
    return ANSWER_FORMS[form].format(callback=callback, value=value, task_id=task_id)


def bare_json(task_id):
    """JSON without the callback around it: no call a client could take for the service's answer."""
    return f'{{"id":"{task_id}","progress":1}}'


def login_page():
    return ("<html><head><title>登录</title></head><body><form action=\"/login\" method=\"post\">"
            "<input name=\"account\"><input name=\"password\" type=\"password\"></form></body></html>")
