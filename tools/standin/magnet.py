"""Finding the info-hash of a magnet link inside a raw resolve query."""

import base64
import binascii
import re
from urllib.parse import unquote

_XT = re.compile(r"xt(?:\.\d+)?=urn:btih:([0-9a-z]*)", re.IGNORECASE)
_HEX = re.compile(r"[0-9a-f]{40}", re.IGNORECASE)
_BASE32 = re.compile(r"[a-z2-7]{32}", re.IGNORECASE)


def normalize_hash(token):
    """40 lower-case hex digits for a hex or base32 info-hash, else None."""
    if _HEX.fullmatch(token):
        return token.lower()
    if _BASE32.fullmatch(token):
        try:
            return base64.b32decode(token.upper()).hex()
        except (binascii.Error, ValueError):
            return None
    return None


def find_info_hash(raw_query):
    """The first usable info-hash anywhere in the query; the link may arrive raw or percent-encoded."""
    candidates = [raw_query]
    decoded = unquote(raw_query, errors="replace")
    if decoded != raw_query:
        candidates += [decoded, unquote(decoded, errors="replace")]
    for text in candidates:
        for match in _XT.finditer(text):
            found = normalize_hash(match.group(1))
            if found:
                return found
    return None
