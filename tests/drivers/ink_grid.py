#!/usr/bin/env python3
"""Compares where two pictures carry ink: each is trimmed to its ink, scaled to a 32 x 24 grid by
ImageMagick (area average), and a cell holds ink when its mean grey is below 250. Prints the share of
cells on which the two agree; exits 1 when it is below the limit.

With THICKEN (pixels), dark strokes are first widened by that many pixels each way, so that
pictures whose renderers draw thin lines lighter or thinner compare by where they draw.

With --colour the cells are compared by their mean colour instead: two cells agree when their colours
lie within DISTANCE (Euclidean, 0..441 in 8-bit RGB) of each other, so that a device that draws the
picture in other colours, mirrored or shifted fails although it puts ink in the same places.

usage: ink_grid.py A.png B.png LIMIT [THICKEN]
       ink_grid.py --colour A.png B.png LIMIT DISTANCE
"""
import subprocess
import sys

COLUMNS, ROWS = 32, 24


def grid(path, thicken=0, colour=False):
    """The picture trimmed to its ink and scaled to the grid: one grey or (r, g, b) value per cell."""
    widen = ["-morphology", "Erode", f"Square:{thicken}"] if thicken > 0 else []
    # Colour pictures are trimmed of white and near-white paper only (renderers smooth the edges of
    # fills): a white border first, so that a picture that fills its whole page keeps its dark edges.
    space = (["-colorspace", "sRGB", "-type", "TrueColor", "-bordercolor", "white", "-border", "1", "-fuzz", "3%"]
             if colour else ["-colorspace", "Gray"])
    magic, channels = (b"P6", 3) if colour else (b"P5", 1)
    data = subprocess.run(
        ["convert", path, "-background", "white", "-alpha", "remove"] + space + widen +
        ["-trim", "+repage", "-filter", "Box", "-resize", f"{COLUMNS}x{ROWS}!", "-depth", "8",
         ("ppm:-" if colour else "pgm:-")],
        check=True, capture_output=True).stdout
    # Header: magic, width, height, maximum, each followed by white space.
    fields = data.split(maxsplit=4)
    if fields[0] != magic or int(fields[1]) != COLUMNS or int(fields[2]) != ROWS:
        sys.exit(f"{path}: unexpected pixel map")
    pixels = fields[4][:COLUMNS * ROWS * channels]
    return [tuple(pixels[i:i + channels]) for i in range(0, len(pixels), channels)]


def main():
    args = sys.argv[1:]
    colour = bool(args) and args[0] == "--colour"
    if colour:
        args = args[1:]
    a, b, limit = args[0], args[1], float(args[2])
    if colour:
        distance = float(args[3])
        ca, cb = grid(a, colour=True), grid(b, colour=True)
        same = [sum((x - y) ** 2 for x, y in zip(p, q)) <= distance ** 2 for p, q in zip(ca, cb)]
        marks = [["#" if s else "x" for s in same], ["#" if sum(q) < 750 else "." for q in cb]]
    else:
        thicken = int(args[3]) if len(args) > 3 else 0
        ga, gb = grid(a, thicken), grid(b, thicken)
        ca, cb = [p[0] < 250 for p in ga], [p[0] < 250 for p in gb]
        same = [x == y for x, y in zip(ca, cb)]
        marks = [["#" if x else "." for x in ca], ["#" if y else "." for y in cb]]
    agree = sum(same) / len(same)
    for r in range(ROWS):
        row = slice(r * COLUMNS, (r + 1) * COLUMNS)
        print("".join(marks[0][row]) + "   " + "".join(marks[1][row]))
    print(f"{'colour' if colour else 'ink'} cells agree: {agree:.3f} (limit {limit})")
    return 0 if agree >= limit else 1


if __name__ == "__main__":
    sys.exit(main())
