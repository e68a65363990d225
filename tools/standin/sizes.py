"""Size texts as the desktop client shows them, so catalogue answers can be checked against its list."""

from decimal import ROUND_HALF_UP, Decimal

GIB = 1073741824
MIB = 1048576
KIB = 1024


def _leading_number(text):
    """The leading decimal number of a text, 0 when there is none."""
    end = 0
    seen_digit = seen_point = False
    for i, ch in enumerate(text):
        if ch.isdigit() and ch.isascii():
            seen_digit = True
            end = i + 1
        elif ch == "." and not seen_point:
            seen_point = True
        elif i == 0 and ch in "+-":
            continue
        else:
            break
    return float(text[:end]) if seen_digit else 0.0


def _number_text(value):
    """At most 13 significant digits, no trailing zeros."""
    text = format(value, ".13g")
    if "e" not in text and "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


def format_size(tsize):
    v = _leading_number(str(tsize).strip())
    if v / GIB - 1 > 0.0000001:
        value, unit = v / GIB, "GB"
    elif v / MIB - 1 > 0.0000001:
        value, unit = v / MIB, "MB"
    else:
        value, unit = v / KIB, "KB"
    rounded = float(Decimal(value).quantize(Decimal("0.01"), rounding=ROUND_HALF_UP))
    return _number_text(rounded) + unit
