#!/usr/bin/env python3
"""Draws Fontloom's icon and writes it as the desktop's PNG sizes and as a Windows .ico.

    python3 packaging/make_icon.py OUTPUT_FOLDER

writes OUTPUT_FOLDER/hicolor/NxN/apps/fontloom.png for each size in SIZES and
OUTPUT_FOLDER/fontloom.ico (the sizes in ICO_SIZES). The same bytes on every run.

The icon is the program's own page in miniature: a dark tile, the frame-rate line at the
top and word-wrapped lines of text under it. It is drawn here rather than kept as pictures
made by an image program so that one description, in this file, is the only source of every
size, the build needs nothing but Python's standard library, and the result is the same
bytes wherever it is built. Everything is drawn on a 16 x 16 grid, so that the 16, 32, 48,
64, 128 and 256 pixel sizes are sharp; 24 pixels is anti-aliased (exact area coverage).
"""

import os
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)
ICO_SIZES = (16, 24, 32, 48, 64, 256)

# The design, in units of the 16 x 16 grid.
TILE = (1.0, 1.0, 15.0, 15.0)  # left, top, right, bottom
TILE_RADIUS = 2.0
TILE_COLOUR = (0x1c, 0x22, 0x2e)
RATE_COLOUR = (0xff, 0xc8, 0x3c)
TEXT_COLOUR = (0xf4, 0xf4, 0xf0)
# (left, top, right, bottom, colour): the frame-rate line, then the words of the page.
MARKS = [(3, 3, 8, 4, RATE_COLOUR)]
for top, words in ((6, ((3, 6), (7, 11), (12, 13))),
                   (8, ((3, 5), (6, 12))),
                   (10, ((3, 8), (9, 13))),
                   (12, ((3, 6), (7, 9)))):
    MARKS += [(left, top, right, top + 1, TEXT_COLOUR) for left, right in words]


def overlap(a0, a1, b0, b1):
    return max(0.0, min(a1, b1) - max(a0, b0))


def tile_coverage(x, y, scale):
    """How much of pixel (x, y) the rounded tile covers: exact away from the corners,
    8 x 8 samples in the squares that hold them."""
    left, top, right, bottom = (v * scale for v in TILE)
    radius = TILE_RADIUS * scale
    area = overlap(x, x + 1, left, right) * overlap(y, y + 1, top, bottom)
    near_x = x < left + radius or x + 1 > right - radius
    near_y = y < top + radius or y + 1 > bottom - radius
    if area == 0.0 or not (near_x and near_y):
        return area
    inside = 0
    for j in range(8):
        sy = y + (j + 0.5) / 8
        for i in range(8):
            sx = x + (i + 0.5) / 8
            if not (left <= sx < right and top <= sy < bottom):
                continue
            cx = min(max(sx, left + radius), right - radius)
            cy = min(max(sy, top + radius), bottom - radius)
            inside += (sx - cx) ** 2 + (sy - cy) ** 2 <= radius * radius
    return inside / 64.0


def draw(size):
    """The icon at SIZE x SIZE: rows of (r, g, b, a) tuples, straight (not premultiplied) alpha."""
    scale = size / 16.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            a = tile_coverage(x, y, scale)
            row.append([c * a for c in TILE_COLOUR] + [a])  # premultiplied while drawing
        rows.append(row)
    for left, top, right, bottom, colour in MARKS:
        l, t, r, b = left * scale, top * scale, right * scale, bottom * scale
        for y in range(int(t), min(size, int(b + 0.999))):
            for x in range(int(l), min(size, int(r + 0.999))):
                a = overlap(x, x + 1, l, r) * overlap(y, y + 1, t, b)
                pixel = rows[y][x]
                for k in range(3):
                    pixel[k] = colour[k] * a + pixel[k] * (1 - a)
                pixel[3] = a + pixel[3] * (1 - a)
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            if a <= 0.0:
                line.append((0, 0, 0, 0))
            else:
                line.append(tuple(min(255, int(c / a + 0.5)) for c in (r, g, b)) + (int(a * 255 + 0.5),))
        out.append(line)
    return out


def png(pixels):
    size = len(pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def dib(pixels):
    """An icon image as Windows keeps it before Vista's PNG ones: a 32-bit BGRA bitmap, rows
    from the bottom up, twice the height (the image and its 1-bit mask), then the mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    image = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for r, g, b, a in row)
    mask_stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + image + mask


def ico(images):
    """ICONDIR, one entry per size, then the images: PNG for 256, a bitmap below it."""
    datas = [png(p) if len(p) >= 256 else dib(p) for p in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for pixels, data in zip(images, datas):
        side = len(pixels) % 256  # 0 means 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(datas)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT_FOLDER")
    drawn = {size: draw(size) for size in SIZES}
    for size in SIZES:
        write(os.path.join(argv[1], "hicolor", "%dx%d" % (size, size), "apps", "fontloom.png"), png(drawn[size]))
    write(os.path.join(argv[1], "fontloom.ico"), ico([drawn[size] for size in ICO_SIZES]))


if __name__ == "__main__":
    main(sys.argv)
