#!/usr/bin/env python3
"""Draws the pictures of the example character Hopper and writes them as PNGs:
characters/Hopper/Images/hopper.png, six 48 x 48 cells in a row — two walking steps,
climbing, dangling (while dragged), sitting and waving — and balloon.png, its 176 x 60
speech balloon with a tail pointing down to the character. Python's standard library
only; run it again to restyle the character, the repository keeps the written files."""
import math
import os
import struct
import zlib

CELL = 48
CELLS = 6
SUPERSAMPLE = 4
BODY = (236, 128, 48)
BELLY = (252, 210, 150)
DARK = (60, 36, 20)
WHITE = (255, 255, 255)


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rect(left, top, right, bottom):
    return lambda x, y: left <= x <= right and top <= y <= bottom


def limb(x0, y0, x1, y1, width):
    """A stroke from (x0, y0) to (x1, y1) with round ends."""
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1.0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return math.hypot(x - px, y - py) <= width / 2
    return inside


def cell_shapes(pose):
    """The shapes of one cell, back to front, as (inside, colour) pairs."""
    legs = {
        "walk1": [limb(19, 36, 15, 46, 5), limb(29, 36, 33, 46, 5)],
        "walk2": [limb(19, 36, 22, 46, 5), limb(29, 36, 26, 46, 5)],
        "climb": [limb(18, 36, 14, 44, 5), limb(30, 36, 34, 40, 5)],
        "dangle": [limb(20, 36, 19, 46, 5), limb(28, 36, 29, 46, 5)],
        "sit": [limb(17, 40, 9, 44, 5), limb(31, 40, 39, 44, 5)],
        "wave": [limb(19, 36, 17, 46, 5), limb(29, 36, 31, 46, 5)],
    }[pose]
    arms = {
        "walk1": [limb(12, 26, 8, 34, 4), limb(36, 26, 40, 32, 4)],
        "walk2": [limb(12, 26, 10, 35, 4), limb(36, 26, 38, 35, 4)],
        "climb": [limb(12, 24, 9, 12, 4), limb(36, 24, 39, 10, 4)],
        "dangle": [limb(14, 20, 10, 4, 4), limb(34, 20, 38, 4, 4)],
        "sit": [limb(12, 28, 7, 34, 4), limb(36, 28, 41, 34, 4)],
        "wave": [limb(12, 26, 8, 34, 4), limb(36, 24, 44, 10, 4)],
    }[pose]
    body_top = 12 if pose != "sit" else 16
    shapes = [(s, DARK) for s in legs + arms]
    shapes += [
        (ellipse(24, body_top + 13, 13, 14), BODY),
        (ellipse(24, body_top + 17, 8, 8), BELLY),
        (ellipse(19, body_top + 7, 3.2, 3.6), WHITE),
        (ellipse(29, body_top + 7, 3.2, 3.6), WHITE),
        (ellipse(18, body_top + 7.5, 1.6, 2.0), DARK),
        (ellipse(28, body_top + 7.5, 1.6, 2.0), DARK),
        (limb(10, body_top + 1, 14, body_top - 7, 3), BODY),
        (limb(38, body_top + 1, 34, body_top - 7, 3), BODY),
    ]
    if pose == "wave":
        shapes.append((ellipse(24, body_top + 12, 3, 2), DARK))
    return shapes


def draw():
    width, height = CELL * CELLS, CELL
    pixels = bytearray(width * height * 4)
    poses = ["walk1", "walk2", "climb", "dangle", "sit", "wave"]
    step = 1.0 / SUPERSAMPLE
    for index, pose in enumerate(poses):
        shapes = cell_shapes(pose)
        for y in range(CELL):
            for x in range(CELL):
                r = g = b = a = 0.0
                for sy in range(SUPERSAMPLE):
                    for sx in range(SUPERSAMPLE):
                        px, py = x + (sx + 0.5) * step, y + (sy + 0.5) * step
                        colour = None
                        for inside, c in shapes:
                            if inside(px, py):
                                colour = c
                        if colour:
                            r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
                samples = SUPERSAMPLE * SUPERSAMPLE
                offset = (y * width + index * CELL + x) * 4
                if a:
                    pixels[offset:offset + 4] = bytes(
                        (round(r / a), round(g / a), round(b / a), round(255 * a / samples)))
    return width, height, pixels


BALLOON_W, BALLOON_H, BUBBLE_H, RADIUS, BORDER = 176, 60, 48, 10, 2


def in_bubble(x, y, inset):
    """Inside the rounded box plus its tail, shrunk by `inset` pixels."""
    left, top, right, bottom = inset, inset, BALLOON_W - inset, BUBBLE_H - inset
    r = RADIUS - inset
    if left <= x <= right and top <= y <= bottom:
        cx = min(max(x, left + r), right - r)
        cy = min(max(y, top + r), bottom - r)
        if math.hypot(x - cx, y - cy) <= r:
            return True
    # The tail: a triangle from inside the box down to a point below its left part; the
    # inset one starts above the box's border, so the border opens into the tail.
    ax, ay = (30, 38) if inset == 0 else (33.5, 38)
    bx, by = (56, 38) if inset == 0 else (51, 38)
    tx, ty = (22, BALLOON_H - 0.5) if inset == 0 else (25.5, BALLOON_H - 4.5)
    d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by)
    d2 = (x - tx) * (by - ty) - (bx - tx) * (y - ty)
    d3 = (x - ax) * (ty - ay) - (tx - ax) * (y - ay)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


def draw_balloon():
    pixels = bytearray(BALLOON_W * BALLOON_H * 4)
    step = 1.0 / SUPERSAMPLE
    for y in range(BALLOON_H):
        for x in range(BALLOON_W):
            r = g = b = a = 0.0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    px, py = x + (sx + 0.5) * step, y + (sy + 0.5) * step
                    if in_bubble(px, py, BORDER):
                        colour = WHITE
                    elif in_bubble(px, py, 0):
                        colour = DARK
                    else:
                        continue
                    r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            if a:
                offset = (y * BALLOON_W + x) * 4
                pixels[offset:offset + 4] = bytes(
                    (round(r / a), round(g / a), round(b / a), round(255 * a / (SUPERSAMPLE * SUPERSAMPLE))))
    return BALLOON_W, BALLOON_H, pixels


def write_png(path, width, height, rgba):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b"".join(b"\0" + bytes(rgba[y * width * 4:(y + 1) * width * 4]) for y in range(height))
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    images = os.path.join(root, "characters", "Hopper", "Images")
    write_png(os.path.join(images, "hopper.png"), *draw())
    write_png(os.path.join(images, "balloon.png"), *draw_balloon())
