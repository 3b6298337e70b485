#!/usr/bin/env python3
"""Prints the colour of pixels of a picture: an 8-bit RGB PNG file as the scripted runs write
it, or an uncompressed 24- or 32-bit TGA file as the build makes them.

    tools/picture-pixel.py picture.png x y [x y ...]

One line "r g b" per pixel. In a PNG file x and y count from the top-left corner; in a TGA
file y counts the rows in the order they are stored (the picture's bottom row first).
"""
import importlib.util
import os
import struct
import sys

# The PNG reader of picture-difference.py, whose name cannot be imported as it is.
found = importlib.util.spec_from_file_location(
    "picture_difference", os.path.join(os.path.dirname(os.path.abspath(__file__)), "picture-difference.py")
)
picture_difference = importlib.util.module_from_spec(found)
found.loader.exec_module(picture_difference)


def tga_pixels(path):
    data = open(path, "rb").read()
    id_length, colour_map, kind = data[0], data[1], data[2]
    width, height, depth = struct.unpack("<HHB", data[12:17])
    if colour_map != 0 or kind != 2 or depth not in (24, 32):
        sys.exit(f"{path}: not an uncompressed 24- or 32-bit TGA file")
    size, start = depth // 8, 18 + id_length

    def pixel(x, y):
        at = start + (y * width + x) * size
        b, g, r = data[at : at + 3]
        return r, g, b

    return (width, height), pixel


def png_pixels(path):
    size, rows = picture_difference.read_png(path)
    return size, lambda x, y: tuple(rows[y][x * 3 : x * 3 + 3])


def main():
    if len(sys.argv) < 4 or len(sys.argv) % 2 != 0:
        sys.exit(__doc__)
    path = sys.argv[1]
    (width, height), pixel = (tga_pixels if path.lower().endswith(".tga") else png_pixels)(path)
    points = [int(value) for value in sys.argv[2:]]
    for x, y in zip(points[0::2], points[1::2]):
        if not (0 <= x < width and 0 <= y < height):
            sys.exit(f"({x}, {y}) is outside the {width} x {height} picture")
        print(*pixel(x, y))
    return 0


if __name__ == "__main__":
    sys.exit(main())
