"""Switchable faults of the interface answers."""

from dataclasses import dataclass, field

from tools.standin.magnet import normalize_hash

TARGETS = ("resolve", "commit", "both")
# Of the faults that replace the answer, the first that applies wins.
ANSWER_FAULTS = ("drop", "status500", "redirect", "refuse", "malformed", "truncated")
KINDS = ("delay", "big_headers") + ANSWER_FAULTS
_SETTINGS = {
    "delay": {"ms"},
    "refuse": {"hashes"},
    "redirect": {"location", "status"},
    "big_headers": {"bytes"},
}


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

    def applies(self, target, info_hash):
        if self.target not in ("both", target):
            return False
        return self.kind != "refuse" or not self.hashes or info_hash in self.hashes

    def to_json(self):
        out = {"target": self.target, "count": self.count}
        for name in _SETTINGS.get(self.kind, ()):
            value = getattr(self, name)
            out[name] = sorted(value) if name == "hashes" else value
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
    unknown = set(settings) - {"target", "count"} - _SETTINGS.get(kind, set())
    if unknown:
        raise ValueError(f"unknown settings for {kind}: {', '.join(sorted(unknown))}")
    fault = Fault(kind)
    fault.target = settings.get("target", "both")
    if fault.target not in TARGETS:
        raise ValueError(f"target must be one of {', '.join(TARGETS)}")
    if settings.get("count") is not None:
        fault.count = _number(settings["count"], "count", 1, 10**9)
    if "ms" in settings:
        fault.ms = _number(settings["ms"], "ms", 0, 600000)
    if "bytes" in settings:
        fault.bytes = _number(settings["bytes"], "bytes", 1, 1000000)
    if "status" in settings:
        fault.status = _number(settings["status"], "status", 300, 399)
    if settings.get("location") is not None:
        fault.location = str(settings["location"]).rstrip("\r\n")
    if "hashes" in settings:
        hashes = [normalize_hash(str(h)) for h in settings["hashes"]]
        if None in hashes:
            raise ValueError("hashes must be 40 hex digits or 32 base32 characters")
        fault.hashes = frozenset(hashes)
    return fault


def _settings_from_cli(text):
    """KIND[:ARG][@TARGET], for example delay:250@resolve, refuse:HASH,HASH@commit, drop."""
    head, at, target = text.rpartition("@")
    if not at or target not in TARGETS:
        head, target = text, "both"
    kind, _, argument = head.partition(":")
    kind = kind.replace("-", "_")
    settings = {"target": target}
    if argument:
        key = {"delay": "ms", "big_headers": "bytes", "refuse": "hashes", "redirect": "location"}.get(kind)
        if key is None:
            raise ValueError(f"fault {kind} takes no argument")
        if key in ("ms", "bytes"):
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
    used: list = field(default_factory=list)


class FaultSet:
    """Not thread-safe on its own: the server state locks around it."""

    def __init__(self, faults=()):
        self._faults = {f.kind: f for f in faults}

    @classmethod
    def from_json(cls, obj):
        if not isinstance(obj, dict):
            raise ValueError("faults must be a JSON object keyed by fault name")
        return cls(_fault_from_json(kind, settings) for kind, settings in obj.items() if settings not in (None, False))

    @classmethod
    def from_cli(cls, texts):
        return cls(_fault_from_json(*_settings_from_cli(text)) for text in texts)

    def to_json(self):
        return {kind: fault.to_json() for kind, fault in self._faults.items()}

    def decide(self, target, info_hash):
        """What to do to one interface answer; uses up one of each applied fault's count."""
        decision = Decision()
        delay = self._faults.get("delay")
        if delay and delay.applies(target, info_hash):
            decision.delay_ms = delay.ms
            decision.used.append(delay)
        for kind in ANSWER_FAULTS:
            fault = self._faults.get(kind)
            if fault and fault.applies(target, info_hash):
                decision.answer = fault
                decision.used.append(fault)
                break
        big = self._faults.get("big_headers")
        if big and big.applies(target, info_hash):
            decision.big_headers = big.bytes
            decision.used.append(big)
        for fault in decision.used:
            if fault.count is not None:
                fault.count -= 1
                if fault.count <= 0:
                    del self._faults[fault.kind]
        return decision
