#!/usr/bin/env python3
"""page_lines.py NATIVE.pgm WINE.pgm: the text lines of two photographs of the main window's
client area (8-bit binary PGM), side by side; exit 1 when they differ.

A row holds ink when a pixel is brighter than 96; inked rows next to each other are one line.
What starts above row 30 is the frame-rate line: its digits change from frame to frame, so only
its top, bottom and left are compared. Page lines must agree in top (1 px) and inked width (4 px).
"""
import sys


def lines(path):
    """[top, bottom, left, right] of each run of inked rows; bottom and right exclusive."""
    data = open(path, "rb").read()
    magic, width, height, maxval = data.split(maxsplit=4)[:4]
    width, height = int(width), int(height)
    if magic != b"P5" or maxval != b"255" or len(data) < width * height:
        sys.exit(f"page_lines: {path} is not an 8-bit binary PGM")
    pixels, found, inked_above = data[-width * height:], [], False
    for y in range(height):
        inked = [x for x in range(width) if pixels[y * width + x] > 96]
        if inked and inked_above:
            line = found[-1]
            line[1:] = y + 1, min(line[2], inked[0]), max(line[3], inked[-1] + 1)
        elif inked:
            found.append([y, y + 1, inked[0], inked[-1] + 1])
        inked_above = bool(inked)
    return found


def compare(native, wine):
    faults, fps, page = [], [], []
    for shot in lines(native), lines(wine):
        above = [line for line in shot if line[0] < 30]
        fps.append(above and (min(l[0] for l in above), max(l[1] for l in above), min(l[2] for l in above)))
        page.append([line for line in shot if line[0] >= 30])
    if not fps[0] or not fps[1] or max(abs(a - b) for a, b in zip(*fps)) > 1:
        faults.append(f"frame-rate line (top, bottom, left): native {fps[0]}, wine {fps[1]}")
    if not page[0] or len(page[0]) != len(page[1]):
        faults.append(f"{len(page[0])} page lines native, {len(page[1])} wine")
    for i, (a, b) in enumerate(zip(*page), 1):
        print(f"line {i:2}: top {a[0]:3} / {b[0]:3}, inked width {a[3] - a[2]:3} / {b[3] - b[2]:3} (native / wine)")
        if abs(a[0] - b[0]) > 1 or abs((a[3] - a[2]) - (b[3] - b[2])) > 4:
            faults.append(f"line {i}")
    for fault in faults:
        print(f"DIFFERS: {fault}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(compare(*sys.argv[1:3]))
