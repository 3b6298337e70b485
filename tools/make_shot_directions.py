#!/usr/bin/env python3
"""Writes Game/ShotDirections.cpp: cos and sin of every whole shot angle, correctly rounded.

A shot's direction must not depend on the C library: glibc and MinGW's runtime round cos and sin
differently near zero (90, 180, 270, 360 degrees), and glibc itself misses the nearest double at
297 and 351 degrees. The angle in radians is the double angle * 0.017453292519943295, as the game
computes it; its cosine and sine are summed here as exact decimals to 80 digits and rounded once.
"""
import os
import shutil
import subprocess
import sys
from decimal import Decimal, getcontext

getcontext().prec = 80
EPSILON = Decimal(10) ** -75


def series(x, term, k):
    """Sums a Taylor series of cos (term 1, k 0) or sin (term x, k 1) at x."""
    total = Decimal(0)
    while abs(term) >= EPSILON:
        total += term
        k += 2
        term = -term * x * x / (k * (k - 1))
    return total


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    lines = [
        "// Written by tools/make_shot_directions.py; do not edit by hand.",
        "#include \"Game/ShotDirections.h\"",
        "",
        "const double SHOT_DIRECTIONS[SHOT_ANGLES][2] = {",
    ]
    for angle in range(361):
        theta = Decimal(angle * 0.017453292519943295)  # the exact value of the double
        cosine = float(series(theta, Decimal(1), 0))
        sine = float(series(theta, theta, 1))
        lines.append("    {%s, %s},  // %d" % (cosine.hex(), sine.hex(), angle))
    lines.append("};")
    path = os.path.join(root, "Game", "ShotDirections.cpp")
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")
    if shutil.which("clang-format"):
        subprocess.run(["clang-format", "-i", path], check=True)


if __name__ == "__main__":
    sys.exit(main())
