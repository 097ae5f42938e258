#!/usr/bin/env python3
"""Looks at a screenshot of the test desktop (binary PPM) for the desktop tests.

  screen.py pixel SHOT.ppm X Y
prints the colour at X,Y as rrggbb.

  screen.py region SHOT.ppm X Y W H BG
prints, for the rectangle X,Y W×H of the screenshot: how many pixels show the
background colour BG (rrggbb) and how many do not, the opaque point deepest inside
the non-background pixels ("deep DX DY DEPTH", relative to X,Y) and a point whose
surroundings all show the background ("clear DX DY RADIUS", or "clear none").
"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise SystemExit("not an 8-bit binary PPM: " + path)
    return int(fields[1]), int(fields[2]), data[pos:]


def region(path, x, y, w, h, bg):
    width, height, pixels = read_ppm(path)
    want = bytes.fromhex(bg)
    inside = [[False] * w for _ in range(h)]
    background = other = 0
    for j in range(h):
        for i in range(w):
            px, py = x + i, y + j
            if not (0 <= px < width and 0 <= py < height):
                continue
            at = (py * width + px) * 3
            if pixels[at:at + 3] == want:
                background += 1
            else:
                other += 1
                inside[j][i] = True
    # Distance to the nearest background pixel, in chessboard steps, by two passes.
    big = w + h
    depth = [[big if inside[j][i] else 0 for i in range(w)] for j in range(h)]
    for j in range(h):
        for i in range(w):
            if depth[j][i]:
                for dj, di in ((-1, -1), (-1, 0), (-1, 1), (0, -1)):
                    a, b = j + dj, i + di
                    near = depth[a][b] + 1 if 0 <= a < h and 0 <= b < w else 1
                    depth[j][i] = min(depth[j][i], near)
    for j in reversed(range(h)):
        for i in reversed(range(w)):
            if depth[j][i]:
                for dj, di in ((1, 1), (1, 0), (1, -1), (0, 1)):
                    a, b = j + dj, i + di
                    near = depth[a][b] + 1 if 0 <= a < h and 0 <= b < w else 1
                    depth[j][i] = min(depth[j][i], near)
    best = max(((depth[j][i], i, j) for j in range(h) for i in range(w)), default=(0, 0, 0))
    print("background %d other %d" % (background, other))
    print("deep %d %d %d" % (best[1], best[2], best[0]))
    # A clear point: background all around within the largest radius found, away from
    # the rectangle's edges so it lies inside the window.
    clear = None
    for radius in (6, 5, 4, 3):
        for j in range(radius + 1, h - radius - 1):
            for i in range(radius + 1, w - radius - 1):
                if all(not inside[j + b][i + a] for b in range(-radius, radius + 1)
                       for a in range(-radius, radius + 1)):
                    clear = (i, j, radius)
                    break
            if clear:
                break
        if clear:
            break
    print("clear %d %d %d" % clear if clear else "clear none")


def pixel(path, x, y):
    width, _, pixels = read_ppm(path)
    at = (y * width + x) * 3
    print(pixels[at:at + 3].hex())


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "pixel":
        pixel(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    elif len(sys.argv) == 8 and sys.argv[1] == "region":
        region(sys.argv[2], *map(int, sys.argv[3:7]), sys.argv[7])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
