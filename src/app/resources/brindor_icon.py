"""The program's icon, drawn from shapes: a red horseshoe magnet in front of a blue cloud.

    python3 brindor_icon.py OUT.ico [PREVIEW_DIR]

writes the icon at 16, 32, 48 and 256 pixels (the largest as PNG, the others as bitmaps) and, with a
preview folder, one PNG per size. Python standard library only.
"""

import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 32, 48, 256)

CLOUD_PARTS = [("circle", 0.27, 0.52, 0.21), ("circle", 0.53, 0.38, 0.28), ("circle", 0.78, 0.54, 0.19),
               ("box", 0.04, 0.48, 0.97, 0.88, 0.15)]
OUTLINE = 0.05
MAGNET_OUTLINE = 0.035
MAGNET_CENTRE, MAGNET_OUTER, MAGNET_INNER = (0.52, 0.58), 0.21, 0.08
MAGNET_TOP, TIP_BOTTOM = 0.27, 0.40

CLOUD_EDGE = (30, 100, 190)
CLOUD_FILL = (226, 238, 255)
MAGNET_EDGE = (110, 10, 10)
MAGNET_BODY = (220, 40, 40)
MAGNET_TIP = (225, 228, 235)


def rounded_box_distance(x, y, left, top, right, bottom, radius):
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius
    dx, dy = max(abs(x - cx) - hx, 0.0), max(abs(y - cy) - hy, 0.0)
    return math.hypot(dx, dy) - radius


def cloud_distance(x, y):
    best = 1e9
    for part in CLOUD_PARTS:
        if part[0] == "circle":
            _, cx, cy, r = part
            best = min(best, math.hypot(x - cx, y - cy) - r)
        else:
            best = min(best, rounded_box_distance(x, y, *part[1:]))
    return best


def magnet_distance(x, y):
    """Distance to the U: the lower half of a ring and two arms up to MAGNET_TOP."""
    cx, cy = MAGNET_CENTRE
    half = (MAGNET_OUTER - MAGNET_INNER) / 2
    mid = (MAGNET_OUTER + MAGNET_INNER) / 2
    if y >= cy:
        return abs(math.hypot(x - cx, y - cy) - mid) - half
    arm = min(abs(x - (cx - mid)), abs(x - (cx + mid))) - half
    return max(arm, MAGNET_TOP - y)


def colour_at(x, y):
    """The colour of a point, or None outside the drawing."""
    m = magnet_distance(x, y)
    if m <= 0:
        if m > -MAGNET_OUTLINE:
            return MAGNET_EDGE
        return MAGNET_TIP if y < TIP_BOTTOM else MAGNET_BODY
    c = cloud_distance(x, y)
    if c <= -OUTLINE:
        return CLOUD_FILL
    if c <= 0:
        return CLOUD_EDGE
    return None


def render(size):
    """Rows of (r, g, b, a), each pixel the average of a grid of samples."""
    grid = 4 if size <= 48 else 3
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = hits = 0
            for sy in range(grid):
                for sx in range(grid):
                    colour = colour_at((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size)
                    if colour:
                        r, g, b, hits = r + colour[0], g + colour[1], b + colour[2], hits + 1
            if hits:
                row.append((r // hits, g // hits, b // hits, 255 * hits // (grid * grid)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bitmap(rows):
    """A 32-bit icon bitmap: header, bottom-up BGRA pixels, then the AND mask (set where clear)."""
    size = len(rows)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + bytes(mask)


def icon(images):
    """images: [(size, data)] -> the .ico file's bytes."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    target = Path(sys.argv[1])
    preview = Path(sys.argv[2]) if len(sys.argv) > 2 else None
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png(rows) if size >= 256 else bitmap(rows)))
        if preview:
            preview.mkdir(parents=True, exist_ok=True)
            (preview / f"icon_{size}.png").write_bytes(png(rows))
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(icon(images))


if __name__ == "__main__":
    main()
