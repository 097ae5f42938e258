"""Shapes drawn into RGBA pixels with supersampling, for the cursors: small pictures
whose pixels the cursor writer reads directly. Python's standard library only."""
import math

SUPERSAMPLE = 4


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


def polygon(points):
    """A convex or concave polygon by the even-odd rule."""
    def inside(x, y):
        result = False
        for i, (ax, ay) in enumerate(points):
            bx, by = points[i - 1]
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                result = not result
        return result
    return inside


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2


def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return math.hypot(x - cx, y - cy) <= radius
    return inside


def shifted(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


class Sheet:
    """An RGBA image into which cells of shapes are drawn."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = bytearray(width * height * 4)

    def draw(self, left, top, width, height, shapes, alpha=1.0):
        """Draws (inside, colour) pairs, back to front, into the cell at left, top. A
        colour may carry a fourth value, its opacity from 0 to 1."""
        step = 1.0 / SUPERSAMPLE
        samples = SUPERSAMPLE * SUPERSAMPLE
        for y in range(height):
            for x in range(width):
                r = g = b = a = 0.0
                for sy in range(SUPERSAMPLE):
                    for sx in range(SUPERSAMPLE):
                        px, py = x + (sx + 0.5) * step, y + (sy + 0.5) * step
                        colour = None
                        for inside, c in shapes:
                            if inside(px, py):
                                colour = c
                        if colour:
                            weight = colour[3] if len(colour) > 3 else 1.0
                            r, g, b, a = r + colour[0] * weight, g + colour[1] * weight, b + colour[2] * weight, a + weight
                if a:
                    offset = ((top + y) * self.width + left + x) * 4
                    self.pixels[offset:offset + 4] = bytes(
                        (round(r / a), round(g / a), round(b / a), round(255 * alpha * a / samples)))

    def crop(self, left, top, width, height):
        out = Sheet(width, height)
        for y in range(height):
            start = ((top + y) * self.width + left) * 4
            out.pixels[y * width * 4:(y + 1) * width * 4] = self.pixels[start:start + width * 4]
        return out
