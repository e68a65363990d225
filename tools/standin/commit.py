"""Reading and judging a task-commit form body."""

from dataclasses import dataclass, field

EXPECTED_FIELDS = ("uid", "btname", "cid", "goldbean", "silverbean", "tsize", "findex", "size",
                   "o_taskid", "o_page", "class_id", "interfrom")
FIXED_VALUES = {"goldbean": "0", "silverbean": "0", "o_taskid": "0", "o_page": "task",
                "class_id": "0", "interfrom": "task"}
_UNRESERVED = frozenset(b"-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")
_HEX = frozenset(b"0123456789abcdefABCDEF")


def parse_form(body):
    """(name, value) byte pairs in the order they arrived, undecoded."""
    if not body:
        return []
    return [tuple(part.partition(b"=")[::2]) for part in body.split(b"&")]


def as_text(raw):
    return raw.decode("utf-8", "backslashreplace")


def form_value(raw):
    """A form value as the service reads it: percent-decoded where that can be done, else as it came."""
    try:
        return as_text(strict_percent_decode(raw))
    except ValueError:
        return as_text(raw)


def strict_percent_decode(raw):
    """Form decoding that refuses a "%" without two hex digits after it."""
    out = bytearray()
    i = 0
    while i < len(raw):
        byte = raw[i]
        if byte == ord("%"):
            pair = raw[i + 1:i + 3]
            if len(pair) != 2 or not set(pair) <= _HEX:
                raise ValueError(f"bad percent escape at byte {i}")
            out.append(int(pair, 16))
            i += 3
            continue
        out.append(ord(" ") if byte == ord("+") else byte)
        i += 1
    return bytes(out)


def canonical_encoding(data):
    """UTF-8 bytes with everything but letters, digits, "-" and "." as upper-case %XX."""
    return b"".join(bytes([b]) if b in _UNRESERVED else b"%%%02X" % b for b in data)


@dataclass
class CommitCheck:
    problems: list = field(default_factory=list)
    title: str = None
    btname_canonical: bool = False
    entry: object = None


def _check_title(raw_btname, check):
    try:
        decoded = strict_percent_decode(raw_btname)
        check.title = decoded.decode("utf-8")
    except (ValueError, UnicodeDecodeError) as error:
        check.problems.append(f"btname is not UTF-8 percent-encoding ({error})")
        return
    check.btname_canonical = canonical_encoding(decoded) == raw_btname


def _check_against_link(values, entry, check):
    for name, expected in (("tsize", entry.tsize), ("findex", entry.findex_field), ("size", entry.size_field)):
        if values.get(name) != expected:
            check.problems.append(f"{name} does not match the resolved link")
    if entry.refused:
        check.problems.append("该资源已被屏蔽")


def check_commit(pairs, cookie_user_id, resolved_by_cid):
    """All problems of a commit; none means the task is accepted."""
    check = CommitCheck()
    names = tuple(as_text(name) for name, _ in pairs)
    if names != EXPECTED_FIELDS:
        check.problems.append("fields must be " + ",".join(EXPECTED_FIELDS) + "; got " + ",".join(names))
    raw_values = {}
    for name, value in pairs:
        raw_values.setdefault(as_text(name), value)
    values = {name: form_value(value) for name, value in raw_values.items()}

    if cookie_user_id is None:
        check.problems.append("not signed in: no userid cookie")
    elif values.get("uid") != cookie_user_id:
        check.problems.append("uid does not match the userid cookie")
    if "btname" in raw_values:
        _check_title(raw_values["btname"], check)
    for name, expected in FIXED_VALUES.items():
        if name in values and values[name] != expected:
            check.problems.append(f"{name} must be {expected}")
    check.entry = resolved_by_cid.get(values.get("cid", ""))
    if check.entry is None:
        check.problems.append("unknown cid: the link was not resolved")
    else:
        _check_against_link(values, check.entry, check)
    return check
