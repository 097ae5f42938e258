"""The demo characters' cursors, 32 x 32: an arrow in a character's colour, a closed
paw for dragging, a "no" sign, a music note, and a heart that beats (animated)."""
import math

from raster import Sheet, ellipse, limb, polygon, ring

SIZE = 32
OUTLINE = (20, 20, 28)
WHITE = (255, 255, 255)


def arrow(fill):
    """A pointer with its tip at 1, 1 (the hot spot)."""
    outer = [(1, 1), (1, 23), (7, 18), (11, 27), (15, 25.5), (11, 16.5), (18.5, 16.5)]
    inner = [(2.5, 4.5), (2.5, 19.5), (7.5, 15.2), (11.8, 24.6), (13.2, 24), (8.8, 14.8), (15, 14.8)]
    sheet = Sheet(SIZE, SIZE)
    sheet.draw(0, 0, SIZE, SIZE, [(polygon(outer), OUTLINE), (polygon(inner), fill)])
    return sheet, (1, 1)


def paw(fill):
    """A closed paw seen from above, held in the middle."""
    sheet = Sheet(SIZE, SIZE)
    shapes = [(ellipse(16, 19, 9, 8), OUTLINE), (ellipse(16, 19, 7.5, 6.5), fill)]
    for x, y in ((8, 10), (13, 7), (19, 7), (24, 10)):
        shapes += [(ellipse(x, y, 3.5, 3.5), OUTLINE), (ellipse(x, y, 2.4, 2.4), fill)]
    sheet.draw(0, 0, SIZE, SIZE, shapes)
    return sheet, (16, 16)


def forbidden():
    sheet = Sheet(SIZE, SIZE)
    red = (220, 40, 40)
    sheet.draw(0, 0, SIZE, SIZE, [(ellipse(16, 16, 12, 12), WHITE), (ring(16, 16, 10, 4), red),
                                  (limb(9, 9, 23, 23, 4), red)])
    return sheet, (16, 16)


def music_note(fill):
    sheet = Sheet(SIZE, SIZE)
    sheet.draw(0, 0, SIZE, SIZE, [(ellipse(10, 24, 6, 4.5), OUTLINE), (ellipse(10, 24, 4.6, 3.2), fill),
                                  (limb(15, 24, 15, 5, 3.2), OUTLINE), (limb(15, 5, 24, 11, 3.2), OUTLINE),
                                  (limb(15, 23, 15, 6, 1.4), fill), (limb(15.5, 6, 23, 11, 1.4), fill)])
    return sheet, (10, 24)


def heart(scale):
    sheet = Sheet(SIZE, SIZE)

    def inside(x, y, grow):
        u, v = (x - 16) / (10 * scale + grow), (y - 17) / (10 * scale + grow)
        return (u * u + v * v - 0.6) ** 3 - u * u * (-v) ** 3 * 1.2 <= 0 if abs(u) < 1.5 and abs(v) < 1.5 else False
    sheet.draw(0, 0, SIZE, SIZE, [(lambda x, y: inside(x, y, 1.5), OUTLINE), (lambda x, y: inside(x, y, 0), (240, 80, 120))])
    return sheet


def beating_heart():
    """Three sizes, big to small and back: the frames of an animated cursor."""
    return [heart(s) for s in (1.0, 0.85, 0.7, 0.85)], (16, 16)
