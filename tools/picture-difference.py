#!/usr/bin/env python3
"""Compares two 8-bit RGB PNG files of the same size, as the scripted runs write them.

    tools/picture-difference.py a.png b.png [most-different-percent [levels]]

Prints how many pixels differ; exits 1 when the sizes differ or more than the given
percentage of pixels (default 0) differ. With levels, a pixel whose channels all differ by at
most that much counts as the same.
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    at, packed, size = 8, b"", None
    while at + 12 <= len(data):
        (length,) = struct.unpack(">I", data[at : at + 4])
        kind, body = data[at + 4 : at + 8], data[at + 8 : at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, filtering, interlace = struct.unpack(">IIBBBBB", body)
            if (depth, colour, filtering, interlace) != (8, 2, 0, 0):
                sys.exit(f"{path}: not an 8-bit RGB PNG")
            size = (width, height)
        elif kind == b"IDAT":
            packed += body
        at += 12 + length
    rows = zlib.decompress(packed)
    stride = size[0] * 3 + 1
    if any(rows[row * stride] != 0 for row in range(size[1])):
        sys.exit(f"{path}: filtered rows (the scripted runs write none)")
    return size, [rows[row * stride + 1 : (row + 1) * stride] for row in range(size[1])]


def main():
    (size_a, rows_a), (size_b, rows_b) = read_png(sys.argv[1]), read_png(sys.argv[2])
    limit = float(sys.argv[3]) if len(sys.argv) > 3 else 0.0
    levels = int(sys.argv[4]) if len(sys.argv) > 4 else 0
    if size_a != size_b:
        print(f"the pictures are {size_a[0]} x {size_a[1]} and {size_b[0]} x {size_b[1]}")
        return 1

    def differs(a, b, x):
        return any(abs(a[x + c] - b[x + c]) > levels for c in range(3))

    differing = sum(
        1
        for a, b in zip(rows_a, rows_b)
        if a != b
        for x in range(0, len(a), 3)
        if a[x : x + 3] != b[x : x + 3] and differs(a, b, x)
    )
    percent = 100.0 * differing / (size_a[0] * size_a[1])
    print(f"{differing} of {size_a[0] * size_a[1]} pixels differ ({percent:.2f} %, at most {limit} % allowed)")
    return 0 if percent <= limit else 1


if __name__ == "__main__":
    sys.exit(main())
