#!/usr/bin/env python3
"""Draws the two images built into the program and writes them as TGA 2.0 files:
resources/images/Hide.tga (1 x 1, fully transparent, uncompressed, 48 bytes) and
resources/images/Logo.tga (185 x 40, 32-bit, run-length encoded, the product name).
Run it again only to change the pictures; the build embeds the committed files."""
import os
import struct

WIDTH, HEIGHT = 185, 40
SUPERSAMPLE = 4

GLYPHS = {
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "t": ["..#..", "..#..", "#####", "..#..", "..#..", "..#.#", "...#."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
}
TEXT = "Zelvotta"
CELL_W, CELL_H = 3, 4  # logo pixels per glyph cell


def coverage(inside):
    """Anti-aliased coverage (0..1) of a shape given as inside(x, y) in logo pixels."""
    grid = [[0.0] * WIDTH for _ in range(HEIGHT)]
    step = 1.0 / SUPERSAMPLE
    for y in range(HEIGHT):
        for x in range(WIDTH):
            hits = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                        hits += 1
            grid[y][x] = hits / (SUPERSAMPLE * SUPERSAMPLE)
    return grid


def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x < right and top <= y < bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def text_shape(offset_x, offset_y):
    text_w = len(TEXT) * 6 * CELL_W - CELL_W
    text_h = 7 * CELL_H
    origin_x = (WIDTH - text_w) / 2 + offset_x
    origin_y = (HEIGHT - text_h) / 2 + offset_y

    def inside(x, y):
        gx = (x - origin_x) / CELL_W
        gy = (y - origin_y) / CELL_H
        if gx < 0 or gy < 0 or gy >= 7:
            return False
        index, column = divmod(int(gx), 6)
        if index >= len(TEXT) or column >= 5:
            return False
        return GLYPHS[TEXT[index]][int(gy)][column] == "#"
    return inside


def over(top, bottom):
    """Straight-alpha 'top over bottom' for (r, g, b, a) tuples of floats 0..1."""
    ta, ba = top[3], bottom[3]
    a = ta + ba * (1 - ta)
    if a == 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = [(top[i] * ta + bottom[i] * ba * (1 - ta)) / a for i in range(3)]
    return (mix[0], mix[1], mix[2], a)


def draw_logo():
    plate = coverage(rounded_rect(1, 1, WIDTH - 1, HEIGHT - 1, 9))
    shadow = coverage(text_shape(1.5, 1.5))
    letters = coverage(text_shape(0, 0))
    pixels = []
    for y in range(HEIGHT):
        for x in range(WIDTH):
            t = y / (HEIGHT - 1)
            base = (0.10 + 0.08 * t, 0.38 - 0.14 * t, 0.52 - 0.10 * t, 0.86 * plate[y][x])
            colour = over((0.0, 0.05, 0.10, 0.7 * shadow[y][x]), base)
            colour = over((1.0, 0.97, 0.86, letters[y][x]), colour)
            pixels.append(tuple(int(round(c * 255)) for c in colour))
    return pixels


def footer():
    return struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\0"


def header(image_type, width, height):
    # No image ID, no colour map, 32 bits, descriptor: 8 alpha bits, first row on top.
    return struct.pack("<BBBHHBHHHHBB", 0, 0, image_type, 0, 0, 0, 0, 0, width, height, 32, 0x28)


def bgra(pixel):
    r, g, b, a = pixel
    if a == 0:
        r = g = b = 0
    return bytes((b, g, r, a))


def run_length(pixels, width):
    out = bytearray()
    for row_start in range(0, len(pixels), width):
        row = [bgra(p) for p in pixels[row_start:row_start + width]]
        i = 0
        while i < len(row):
            run = 1
            while i + run < len(row) and run < 128 and row[i + run] == row[i]:
                run += 1
            if run > 1:
                out.append(0x80 | (run - 1))
                out += row[i]
                i += run
                continue
            start = i
            while i < len(row) and i - start < 128 and (i + 1 >= len(row) or row[i + 1] != row[i]):
                i += 1
            out.append(i - start - 1)
            for p in row[start:i]:
                out += p
    return bytes(out)


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "images")
    os.makedirs(folder, exist_ok=True)
    hide = header(2, 1, 1) + bytes(4) + footer()
    assert len(hide) == 48
    with open(os.path.join(folder, "Hide.tga"), "wb") as f:
        f.write(hide)
    logo = header(10, WIDTH, HEIGHT) + run_length(draw_logo(), WIDTH) + footer()
    with open(os.path.join(folder, "Logo.tga"), "wb") as f:
        f.write(logo)


if __name__ == "__main__":
    main()
