"""Everything the stand-in remembers between requests."""

import itertools
import secrets
import threading
from dataclasses import dataclass, replace

from tools.standin.faults import FaultSet
from tools.standin.records import RecordLog


@dataclass(frozen=True)
class Options:
    auto_signin: tuple = None  # (account name, user id) signed in on every visit of the task page
    auto_signout: bool = False  # every visit of the task page signs out
    charset: bool = True  # interface answers name charset=utf-8
    cookie_domain: str = None
    require_signin: bool = False  # interface answers only for a session that signed in here

    def to_json(self):
        return {
            "auto_signin": ":".join(self.auto_signin) if self.auto_signin else None,
            "auto_signout": self.auto_signout,
            "charset": self.charset,
        }


def parse_signin(text):
    """NAME:ID, split at the last colon so a name may hold one."""
    name, sep, user_id = str(text).rpartition(":")
    if not sep or not name or not user_id:
        raise ValueError("auto_signin must be NAME:ID")
    return name, user_id


def options_with(options, changes):
    if not isinstance(changes, dict):
        raise ValueError("options must be a JSON object")
    unknown = set(changes) - {"auto_signin", "auto_signout", "charset"}
    if unknown:
        raise ValueError("unknown options: " + ", ".join(sorted(unknown)))
    updated = {}
    if "auto_signin" in changes:
        value = changes["auto_signin"]
        updated["auto_signin"] = parse_signin(value) if value else None
    for flag in ("auto_signout", "charset"):
        if flag in changes:
            if not isinstance(changes[flag], bool):
                raise ValueError(f"{flag} must be true or false")
            updated[flag] = changes[flag]
    return replace(options, **updated)


class ServerState:
    def __init__(self, catalogue, accounts, options, faults, verbose=False):
        self.catalogue = catalogue
        self.accounts = dict(accounts)  # name -> (password, user id)
        self.verbose = verbose
        self.lock = threading.Lock()
        self.requests = RecordLog()
        self.resolves = RecordLog()
        self.commits = RecordLog()
        self.elsewhere = RecordLog()  # what reached the other listener
        self.elsewhere_port = 0
        self._start_options = options
        self._start_faults = faults.to_json()
        self.options = options
        self.faults = faults
        self._resolved = {}  # cid -> catalogue entry
        self._task_ids = itertools.count(1000000001)
        self._sessions = set()  # session cookie values of sign-ins not yet signed out

    def open_session(self):
        token = secrets.token_hex(16)
        with self.lock:
            self._sessions.add(token)
        return token

    def close_session(self, token):
        with self.lock:
            self._sessions.discard(token)

    def has_session(self, token):
        with self.lock:
            return token in self._sessions

    def decide_faults(self, target, info_hash):
        with self.lock:
            return self.faults.decide(target, info_hash)

    def set_faults(self, obj):
        faults = FaultSet.from_json(obj)
        with self.lock:
            self.faults = faults

    def end_fault(self, kind):
        with self.lock:
            self.faults.remove(kind)

    def faults_json(self):
        with self.lock:
            return self.faults.to_json()

    def set_options(self, changes):
        with self.lock:
            self.options = options_with(self.options, changes)

    def remember_resolved(self, entry):
        with self.lock:
            self._resolved[entry.cid] = entry

    def resolved_entries(self):
        with self.lock:
            return dict(self._resolved)

    def next_task_id(self):
        with self.lock:
            return str(next(self._task_ids))

    def reset(self):
        """Back to the state of the command line: no records, nothing resolved, its faults and options."""
        with self.lock:
            self.options = self._start_options
            self.faults = FaultSet.from_json(self._start_faults)
            self._resolved.clear()
            self._sessions.clear()
            self._task_ids = itertools.count(1000000001)
        for log in (self.requests, self.resolves, self.commits, self.elsewhere):
            log.clear()
