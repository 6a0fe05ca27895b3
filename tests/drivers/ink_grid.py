#!/usr/bin/env python3
"""Compares where two pictures carry ink: each is trimmed to its ink, scaled to a 32 x 24 grid by
ImageMagick (area average), and a cell holds ink when its mean grey is below 250. Prints the share of
cells on which the two agree; exits 1 when it is below the limit.

With THICKEN (pixels), dark strokes are first widened by that many pixels each way, so that
pictures whose renderers draw thin lines lighter or thinner compare by where they draw.

usage: ink_grid.py A.png B.png LIMIT [THICKEN]
"""
import subprocess
import sys

COLUMNS, ROWS = 32, 24


def ink_cells(path, thicken=0):
    widen = ["-morphology", "Erode", f"Square:{thicken}"] if thicken > 0 else []
    pgm = subprocess.run(
        ["convert", path, "-background", "white", "-alpha", "remove", "-colorspace", "Gray"] + widen +
        ["-trim", "+repage", "-filter", "Box", "-resize", f"{COLUMNS}x{ROWS}!", "-depth", "8", "pgm:-"],
        check=True, capture_output=True).stdout
    # P5 header: magic, width, height, maximum, each followed by white space.
    fields = pgm.split(maxsplit=4)
    if fields[0] != b"P5" or int(fields[1]) != COLUMNS or int(fields[2]) != ROWS:
        sys.exit(f"{path}: unexpected grey map")
    pixels = fields[4][:COLUMNS * ROWS]
    return [p < 250 for p in pixels]


def main():
    a, b, limit = sys.argv[1], sys.argv[2], float(sys.argv[3])
    thicken = int(sys.argv[4]) if len(sys.argv) > 4 else 0
    ca, cb = ink_cells(a, thicken), ink_cells(b, thicken)
    agree = sum(1 for x, y in zip(ca, cb) if x == y) / len(ca)
    for r in range(ROWS):
        print("".join("#" if ca[r * COLUMNS + c] else "." for c in range(COLUMNS)) + "   " +
              "".join("#" if cb[r * COLUMNS + c] else "." for c in range(COLUMNS)))
    print(f"ink cells agree: {agree:.3f} (limit {limit})")
    return 0 if agree >= limit else 1


if __name__ == "__main__":
    sys.exit(main())
