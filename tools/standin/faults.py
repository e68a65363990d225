"""Switchable faults of the interface answers."""

from dataclasses import dataclass, field

from tools.standin.answers import ANSWER_FORMS, TITLE_FORMS
from tools.standin.magnet import normalize_hash

TARGETS = ("resolve", "commit", "both")
# Of the faults that replace the answer, the first that applies wins.
ANSWER_FAULTS = ("drop", "silent", "trickle", "reset", "status500", "error_status", "redirect", "refuse",
                 "signed_out", "too_fast", "html_page", "bad_jsonp", "huge", "malformed", "truncated")
# Answers that real services give and a client must read as they are meant.
ANSWER_FAULTS += ("escaped_refusal", "fixed_callback", "byte_order_mark", "chunk_cut", "answer_form", "title_form")
# A commit the service carries out although its client never reads the answer.
ANSWER_FAULTS += ("close_after_post", "late")
# These change how an answer goes out, whichever answer it is.
SHAPING_FAULTS = ("delay", "big_headers", "long_header")
KINDS = SHAPING_FAULTS + ANSWER_FAULTS
# Faults whose commit answer still stands for a task that the service created.
TASK_MADE = ("malformed", "truncated", "bad_jsonp", "fixed_callback", "byte_order_mark", "chunk_cut",
             "close_after_post", "late")
_SETTINGS = {
    "delay": {"ms"},
    "refuse": {"hashes"},
    "redirect": {"location", "status"},
    "big_headers": {"bytes"},
    "long_header": {"bytes"},
    "error_status": {"status", "body", "retry_after"},
    "huge": {"bytes"},
    "silent": {"ms"},
    "trickle": {"ms"},
    "escaped_refusal": {"message"},
    "fixed_callback": {"name"},
    "answer_form": {"form"},
    "title_form": {"form"},
    "late": {"ms"},
}
_DEFAULTS = {"long_header": {"bytes": 100 * 1024}, "error_status": {"status": 503},
             "huge": {"bytes": 10 * 1024 * 1024}, "silent": {"ms": 120000}, "trickle": {"ms": 120000},
             "escaped_refusal": {"message": "未登录"}, "fixed_callback": {"name": "jsonp"},
             "answer_form": {"form": "comment"}, "title_form": {"form": "raw"}, "late": {"ms": 35000}}


@dataclass
class Fault:
    kind: str
    target: str = "both"
    count: int = None  # requests left to hit; None for no end
    ms: int = 0
    hashes: frozenset = frozenset()  # empty: every link
    location: str = None  # None: this server's own address
    status: int = 301
    bytes: int = 6000
    body: bool = True  # error_status: with a small HTML body or none
    retry_after: str = None  # error_status: a Retry-After line with this value
    message: str = ""  # escaped_refusal
    name: str = ""  # fixed_callback
    form: str = ""  # answer_form: a key of answers.ANSWER_FORMS; title_form: of answers.TITLE_FORMS

    def applies(self, target, info_hash):
        if self.target not in ("both", target):
            return False
        return not self.hashes or info_hash in self.hashes

    def to_json(self):
        out = {"target": self.target, "count": self.count}
        for name in _SETTINGS.get(self.kind, ()):
            value = getattr(self, name)
            out[name] = sorted(value) if name == "hashes" else value
        if self.hashes and "hashes" not in out:
            out["hashes"] = sorted(self.hashes)
        return out


def _number(value, name, low, high):
    if isinstance(value, bool) or not isinstance(value, int) or not low <= value <= high:
        raise ValueError(f"{name} must be a whole number from {low} to {high}")
    return value


def _fault_from_json(kind, settings):
    if kind not in KINDS:
        raise ValueError(f"unknown fault {kind!r}; known: {', '.join(KINDS)}")
    if settings is True:
        settings = {}
    if not isinstance(settings, dict):
        raise ValueError(f"settings of {kind} must be an object")
    unknown = set(settings) - {"target", "count", "hashes"} - _SETTINGS.get(kind, set())
    if unknown:
        raise ValueError(f"unknown settings for {kind}: {', '.join(sorted(unknown))}")
    settings = {**_DEFAULTS.get(kind, {}), **settings}
    fault = Fault(kind)
    fault.target = settings.get("target", "both")
    if fault.target not in TARGETS:
        raise ValueError(f"target must be one of {', '.join(TARGETS)}")
    if settings.get("count") is not None:
        fault.count = _number(settings["count"], "count", 1, 10**9)
    if "ms" in settings:
        fault.ms = _number(settings["ms"], "ms", 0, 600000)
    if "bytes" in settings:
        fault.bytes = _number(settings["bytes"], "bytes", 1, 64 * 1024 * 1024)
    if "status" in settings:
        low, high = (400, 599) if kind == "error_status" else (300, 399)
        fault.status = _number(settings["status"], "status", low, high)
    if "body" in settings:
        if not isinstance(settings["body"], bool):
            raise ValueError("body must be true or false")
        fault.body = settings["body"]
    if settings.get("retry_after") is not None:
        fault.retry_after = str(settings["retry_after"]).rstrip("\r\n")
    for name in ("message", "name", "form"):
        if name in settings:
            setattr(fault, name, str(settings[name]))
    if kind == "answer_form" and fault.form not in ANSWER_FORMS:
        raise ValueError(f"form must be one of {', '.join(ANSWER_FORMS)}")
    if kind == "title_form" and fault.form not in TITLE_FORMS:
        raise ValueError(f"form must be one of {', '.join(TITLE_FORMS)}")
    if settings.get("location") is not None:
        fault.location = str(settings["location"]).rstrip("\r\n")
    if "hashes" in settings:
        hashes = [normalize_hash(str(h)) for h in settings["hashes"]]
        if None in hashes:
            raise ValueError("hashes must be 40 hex digits or 32 base32 characters")
        fault.hashes = frozenset(hashes)
    return fault


# The setting that a fault's ARG on the command line gives.
CLI_ARGUMENTS = {"delay": "ms", "big_headers": "bytes", "refuse": "hashes", "redirect": "location",
                 "long_header": "bytes", "huge": "bytes", "silent": "ms", "trickle": "ms",
                 "error_status": "status", "answer_form": "form", "title_form": "form"}


def cli_help():
    """Every kind as the command line takes it, with its ARG."""
    kinds = [kind.replace("_", "-") + (f"[:{CLI_ARGUMENTS[kind].upper()}]" if kind in CLI_ARGUMENTS else "")
             for kind in KINDS]
    return (f"one of {', '.join(kinds)}; MS and BYTES are numbers, HASHES a comma-separated list, STATUS "
            f"an HTTP status, FORM a wrapping of tools/standin/answers.py; TARGET resolve, commit or both "
            f"(default both); tools/standin/README.md says what each does")


def _settings_from_cli(text):
    """KIND[:ARG][@TARGET], for example delay:250@resolve, refuse:HASH,HASH@commit, drop."""
    head, at, target = text.rpartition("@")
    if not at or target not in TARGETS:
        head, target = text, "both"
    kind, _, argument = head.partition(":")
    kind = kind.replace("-", "_")
    settings = {"target": target}
    if argument:
        key = CLI_ARGUMENTS.get(kind)
        if key is None:
            raise ValueError(f"fault {kind} takes no argument")
        if key in ("ms", "bytes", "status"):
            if not argument.isdigit():
                raise ValueError(f"{kind} needs a number")
            settings[key] = int(argument)
        else:
            settings[key] = argument.split(",") if key == "hashes" else argument
    return kind, settings


@dataclass
class Decision:
    delay_ms: int = 0
    answer: Fault = None
    big_headers: int = 0
    long_header: int = 0
    used: list = field(default_factory=list)


class FaultSet:
    """Not thread-safe on its own: the server state locks around it."""

    def __init__(self, faults=()):
        self._faults = {}  # kind -> faults of that kind, the first that applies wins
        for fault in faults:
            self._faults.setdefault(fault.kind, []).append(fault)

    @classmethod
    def from_json(cls, obj):
        """{KIND: settings} where settings is true, an object, or a list of objects (one fault each)."""
        if not isinstance(obj, dict):
            raise ValueError("faults must be a JSON object keyed by fault name")
        faults = []
        for kind, settings in obj.items():
            if settings in (None, False):
                continue
            for one in settings if isinstance(settings, list) else [settings]:
                faults.append(_fault_from_json(kind, one))
        return cls(faults)

    @classmethod
    def from_cli(cls, texts):
        return cls(_fault_from_json(*_settings_from_cli(text)) for text in texts)

    def to_json(self):
        out = {}
        for kind, faults in self._faults.items():
            out[kind] = faults[0].to_json() if len(faults) == 1 else [f.to_json() for f in faults]
        return out

    def _first(self, kind, target, info_hash):
        return next((f for f in self._faults.get(kind, ()) if f.applies(target, info_hash)), None)

    def remove(self, kind):
        self._faults.pop(kind, None)

    def decide(self, target, info_hash):
        """What to do to one interface answer; uses up one of each applied fault's count."""
        decision = Decision()
        delay = self._first("delay", target, info_hash)
        if delay:
            decision.delay_ms = delay.ms
            decision.used.append(delay)
        for kind in ANSWER_FAULTS:
            fault = self._first(kind, target, info_hash)
            if fault:
                decision.answer = fault
                decision.used.append(fault)
                break
        big = self._first("big_headers", target, info_hash)
        if big:
            decision.big_headers = big.bytes
            decision.used.append(big)
        long_header = self._first("long_header", target, info_hash)
        if long_header:
            decision.long_header = long_header.bytes
            decision.used.append(long_header)
        for fault in decision.used:
            if fault.count is not None:
                fault.count -= 1
                if fault.count <= 0:
                    self._faults[fault.kind].remove(fault)
                    if not self._faults[fault.kind]:
                        del self._faults[fault.kind]
        return decision
