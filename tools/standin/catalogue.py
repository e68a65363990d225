"""The torrents the stand-in knows, and the made-up ones it answers for any other info-hash."""

import hashlib
import json
from dataclasses import dataclass, field
from pathlib import Path

CATALOGUE_PATH = Path(__file__).with_name("catalogue.json")


@dataclass(frozen=True)
class Entry:
    info_hash: str  # 40 lower-case hex digits
    title: str
    files: tuple  # of (name, size in bytes)
    refused: bool = False
    generated: bool = False
    note: str = ""
    content_id: str = ""  # the service's own id when it is not the upper-case hash

    @property
    def cid(self):
        return self.content_id or self.info_hash.upper()

    @property
    def tsize(self):
        return str(sum(size for _, size in self.files))

    @property
    def findex_field(self):
        """What a client joins from the file-index array: "0_1_2_"."""
        return "".join(f"{i}_" for i in range(len(self.files))) or "_"

    @property
    def size_field(self):
        """What a client joins from the byte-size array."""
        return "".join(f"{size}_" for _, size in self.files) or "_"

    @property
    def client_title(self):
        """The title as a client reading the answer's script ends up with it: all of it."""
        return self.title


def _expand_series(series):
    count, size, step = int(series["count"]), int(series["size"]), int(series.get("step", 0))
    return [(series["name"].format(number=i + 1), size + i * step) for i in range(count)]


def _entry_from_json(item):
    files = [(f["name"], int(f["size"])) for f in item.get("files", [])]
    if "file_series" in item:
        files += _expand_series(item["file_series"])
    return Entry(
        info_hash=item["hash"].lower(),
        title=item["title"],
        files=tuple(files),
        refused=bool(item.get("refused", False)),
        note=item.get("note", ""),
        content_id=item.get("cid", ""),
    )


def _derived_number(info_hash, label, modulus):
    digest = hashlib.sha256(f"{info_hash}:{label}".encode("ascii")).digest()
    return int.from_bytes(digest[:8], "big") % modulus


def generated_entry(info_hash):
    """Same hash, same entry, on every run."""
    count = 1 + _derived_number(info_hash, "count", 6)
    files = []
    for i in range(count):
        size = 1024 + _derived_number(info_hash, f"size{i}", 8 * 1073741824)
        files.append((f"part{i + 1:02d}_{info_hash[:6]}.bin", size))
    return Entry(
        info_hash=info_hash,
        title=f"未收录资源 {info_hash[:8].upper()}",
        files=tuple(files),
        generated=True,
    )


class Catalogue:
    def __init__(self, entries):
        self._by_hash = {e.info_hash: e for e in entries}
        self.entries = list(entries)

    @classmethod
    def load(cls, path=CATALOGUE_PATH):
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        return cls([_entry_from_json(item) for item in data["entries"]])

    def lookup(self, info_hash):
        return self._by_hash.get(info_hash) or generated_entry(info_hash)
