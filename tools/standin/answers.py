"""Texts of the interface answers.

Values go between single quotes as they stand, without escaping: a client that reads the answer by
cutting at commas and dropping quotes sees a title with a comma or an apostrophe the way the live
service presents it.
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


def _js_array(values):
    return "new Array(" + ",".join(f"'{v}'" for v in values) + ")"


def _nonce():
    return f"{random.random():.16f}"


def resolve_found(callback, entry):
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
    scalars = f"1,'{entry.cid}','{entry.tsize}','{entry.title}','1'"
    return f"{callback}({scalars}," + ",".join(_js_array(a) for a in arrays) + f",'{_nonce()}')"


def resolve_empty(callback):
    """No usable info-hash, or a refused link: flag 0 and nothing else."""
    return f"{callback}(0,'','','','0'," + ",".join(["new Array()"] * 6) + f",'{_nonce()}')"


def resolve_malformed(callback, entry):
    """Too few scalars and too few arrays for a client that takes fixed positions."""
    first = entry.files[0][0] if entry.files else ""
    return f"{callback}(1,'{entry.cid}',new Array('{first}'),new Array('{entry.tsize}'))"


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


def bare_json(task_id):
    """JSON without the callback around it: no call a client could take for the service's answer."""
    return f'{{"id":"{task_id}","progress":1}}'


def login_page():
    return ("<html><head><title>登录</title></head><body><form action=\"/login\" method=\"post\">"
            "<input name=\"account\"><input name=\"password\" type=\"password\"></form></body></html>")
