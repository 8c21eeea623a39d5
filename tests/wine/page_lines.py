#!/usr/bin/env python3
"""The text lines of a screenshot of Fontloom's main window, as a reader would see them.

  page_lines.py lines SHOT.ppm                  one line per text line: top bottom left right
  page_lines.py compare NATIVE.ppm WINE.ppm     the two side by side; exit 1 when they differ

SHOT is a binary PPM (P6) or PGM (P5) of the client area. A row holds ink when one of its
pixels is brighter than the threshold; rows with ink separated by blank rows are one line.
The frame-rate line is the line above the page (above --page-top).
"""
import argparse
import sys


class BadImage(Exception):
    pass


def read_netpbm(path):
    """(width, height, luminance rows) of a P5 / P6 file with 8-bit samples."""
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while pos < len(data) and data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            while pos < len(data) and data[pos:pos + 1] != b"\n":
                pos += 1
            continue
        start = pos
        while pos < len(data) and not data[pos:pos + 1].isspace():
            pos += 1
        if start == pos:
            raise BadImage(f"{path}: the header ends early")
        fields.append(data[start:pos])
    pos += 1  # the one blank after the maximum value
    magic = fields[0]
    if magic not in (b"P5", b"P6"):
        raise BadImage(f"{path}: not a binary PGM or PPM ({magic[:8]!r})")
    try:
        width, height, maxval = (int(x) for x in fields[1:])
    except ValueError:
        raise BadImage(f"{path}: the header's sizes are not numbers")
    if width <= 0 or height <= 0 or not 0 < maxval < 256:
        raise BadImage(f"{path}: {width} x {height}, maximum {maxval}: only 8-bit images are read")
    channels = 3 if magic == b"P6" else 1
    size = width * height * channels
    pixels = data[pos:pos + size]
    if len(pixels) < size:
        raise BadImage(f"{path}: {len(pixels)} bytes of pixels, {size} expected")
    stride = width * channels
    rows = []
    for y in range(height):
        row = pixels[y * stride:(y + 1) * stride]
        # White text on black: the brightest channel is what the eye sees as ink.
        rows.append(row if channels == 1 else bytes(max(row[i:i + 3]) for i in range(0, stride, 3)))
    return width, height, rows


def find_lines(rows, threshold):
    """[top, bottom, left, right] of each run of inked rows; bottom and right are exclusive."""
    lines, current = [], None
    for y, row in enumerate(rows):
        inked = [x for x, v in enumerate(row) if v > threshold]
        if not inked:
            current = None
            continue
        if current is None:
            current = [y, y + 1, inked[0], inked[-1] + 1]
            lines.append(current)
        else:
            current[1] = y + 1
            current[2] = min(current[2], inked[0])
            current[3] = max(current[3], inked[-1] + 1)
    return lines


def split_page(lines, page_top):
    """(frame-rate line or None, page lines)."""
    above = [line for line in lines if line[0] < page_top]
    page = [line for line in lines if line[0] >= page_top]
    if not above:
        return None, page
    first = above[0]
    for line in above[1:]:
        first = [first[0], max(first[1], line[1]), min(first[2], line[2]), max(first[3], line[3])]
    return first, page


def lines_of(path, args):
    _, _, rows = read_netpbm(path)
    return split_page(find_lines(rows, args.threshold), args.page_top)


def describe(line):
    top, bottom, left, right = line
    return f"top {top:3} bottom {bottom:3} left {left:3} right {right:3} width {right - left:3}"


def compare(args):
    fps_a, page_a = lines_of(args.native, args)
    fps_b, page_b = lines_of(args.wine, args)
    faults = []
    if fps_a is None or fps_b is None:
        faults.append(f"frame-rate line: native {'found' if fps_a else 'missing'}, "
                      f"wine {'found' if fps_b else 'missing'}")
    else:
        print(f"frame-rate native: {describe(fps_a)}")
        print(f"frame-rate wine:   {describe(fps_b)}")
        # Its digits change from frame to frame: only where it starts and its rows are compared.
        for name, i in (("top", 0), ("bottom", 1), ("left", 2)):
            if abs(fps_a[i] - fps_b[i]) > args.top_tolerance:
                faults.append(f"frame-rate line: {name} {fps_a[i]} native, {fps_b[i]} wine")
    if not page_a:
        faults.append("no page lines in the native shot")
    if len(page_a) != len(page_b):
        faults.append(f"{len(page_a)} page lines native, {len(page_b)} wine")
    print(f"{'line':>4} {'top':>9} {'width':>9} {'left':>9}   (native / wine)")
    for i in range(max(len(page_a), len(page_b))):
        a = page_a[i] if i < len(page_a) else None
        b = page_b[i] if i < len(page_b) else None
        cell = lambda f: f"{f(a) if a else '-':>4}/{f(b) if b else '-':<4}"
        print(f"{i + 1:>4} {cell(lambda l: l[0])} {cell(lambda l: l[3] - l[2])} {cell(lambda l: l[2])}")
        if a and b:
            if abs(a[0] - b[0]) > args.top_tolerance:
                faults.append(f"line {i + 1}: top {a[0]} native, {b[0]} wine")
            if abs((a[3] - a[2]) - (b[3] - b[2])) > args.width_tolerance:
                faults.append(f"line {i + 1}: inked width {a[3] - a[2]} native, {b[3] - b[2]} wine")
    for fault in faults:
        print(f"DIFFERS: {fault}")
    return 1 if faults else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--threshold", type=int, default=96, help="brightest channel above this is ink")
    parser.add_argument("--page-top", type=int, default=30, help="first row of the page")
    parser.add_argument("--top-tolerance", type=int, default=1)
    parser.add_argument("--width-tolerance", type=int, default=4)
    sub = parser.add_subparsers(dest="command", required=True)
    one = sub.add_parser("lines")
    one.add_argument("shot")
    two = sub.add_parser("compare")
    two.add_argument("native")
    two.add_argument("wine")
    args = parser.parse_args()
    try:
        if args.command == "lines":
            fps, page = lines_of(args.shot, args)
            if fps:
                print("fps", *fps)
            for line in page:
                print("line", *line)
            return 0
        return compare(args)
    except (OSError, BadImage) as error:
        print(f"page_lines: {error}", file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main())
