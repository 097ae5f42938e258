"""Drawing helpers over Cairo (python3-cairo): sheets of equal cells, shapes filled with
a shaded gradient and outlined, and PNG output. Colours are (r, g, b) from 0 to 255."""
import math
import os

import cairo

OUTLINE = 2.6  # the width of every outline, in pixels


def rgb(colour, alpha=1.0):
    return colour[0] / 255.0, colour[1] / 255.0, colour[2] / 255.0, alpha


def mix(a, b, t):
    """The colour t of the way from a to b."""
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def lighter(colour, t=0.45):
    return mix(colour, (255, 255, 255), t)


def darker(colour, t=0.35):
    return mix(colour, (0, 0, 0), t)


class Sheet:
    """An ARGB image made of cells `cell_w` x `cell_h`, `columns` to a row."""

    def __init__(self, cell_w, cell_h, count, columns=None):
        self.cell_w, self.cell_h = cell_w, cell_h
        self.columns = columns or count
        rows = (count + self.columns - 1) // self.columns
        self.surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, cell_w * self.columns, cell_h * rows)

    def origin(self, index):
        """The top-left corner of cell `index`."""
        return (index % self.columns) * self.cell_w, (index // self.columns) * self.cell_h

    def cell(self, index):
        """A context that draws into cell `index`, clipped to it, origin at its corner."""
        ctx = cairo.Context(self.surface)
        x, y = self.origin(index)
        ctx.translate(x, y)
        ctx.rectangle(0, 0, self.cell_w, self.cell_h)
        ctx.clip()
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        return ctx


def write_png(path, sheet):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    sheet.surface.write_to_png(path)


def ellipse_path(ctx, cx, cy, rx, ry, angle=0.0):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    ctx.scale(max(rx, 0.01), max(ry, 0.01))
    ctx.new_sub_path()
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


def shaded_fill(ctx, colour, cx, cy, radius, light=(-0.35, -0.45)):
    """Fills the current path with a round gradient lit from the upper left, and keeps
    the path."""
    gradient = cairo.RadialGradient(cx + light[0] * radius, cy + light[1] * radius, radius * 0.1,
                                    cx, cy, radius * 1.25)
    gradient.add_color_stop_rgba(0, *rgb(lighter(colour, 0.35)))
    gradient.add_color_stop_rgba(0.55, *rgb(colour))
    gradient.add_color_stop_rgba(1, *rgb(darker(colour, 0.28)))
    ctx.set_source(gradient)
    ctx.fill_preserve()


def outline(ctx, colour, width=OUTLINE):
    ctx.set_source_rgba(*rgb(colour))
    ctx.set_line_width(width)
    ctx.stroke()


def blob(ctx, colour, edge, cx, cy, rx, ry, angle=0.0, shade=True):
    """A shaded, outlined ellipse."""
    ellipse_path(ctx, cx, cy, rx, ry, angle)
    if shade:
        shaded_fill(ctx, colour, cx, cy, max(rx, ry))
    else:
        ctx.set_source_rgba(*rgb(colour))
        ctx.fill_preserve()
    outline(ctx, edge)


def plain(ctx, colour, cx, cy, rx, ry, angle=0.0, alpha=1.0):
    """A flat ellipse without an outline (highlights, cheeks, pupils)."""
    ellipse_path(ctx, cx, cy, rx, ry, angle)
    ctx.set_source_rgba(*rgb(colour, alpha))
    ctx.fill()


def limb(ctx, colour, edge, points, width):
    """A rounded stroke through `points` with an outline: the outline colour drawn wider
    first, the colour over it."""
    for stroke_colour, stroke_width in ((edge, width + OUTLINE * 2), (colour, width)):
        ctx.new_path()
        ctx.move_to(*points[0])
        if len(points) == 3:
            ctx.curve_to(points[1][0], points[1][1], points[1][0], points[1][1], *points[2])
        else:
            for p in points[1:]:
                ctx.line_to(*p)
        ctx.set_source_rgba(*rgb(stroke_colour))
        ctx.set_line_width(stroke_width)
        ctx.stroke()


def polygon(ctx, points, colour, edge=None, width=OUTLINE):
    ctx.new_path()
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)
    ctx.close_path()
    ctx.set_source_rgba(*rgb(colour))
    if edge is None:
        ctx.fill()
    else:
        ctx.fill_preserve()
        outline(ctx, edge, width)


def line(ctx, colour, points, width):
    ctx.new_path()
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)
    ctx.set_source_rgba(*rgb(colour))
    ctx.set_line_width(width)
    ctx.stroke()


def arc_line(ctx, colour, cx, cy, r, start, end, width):
    ctx.new_path()
    ctx.arc(cx, cy, r, start, end)
    ctx.set_source_rgba(*rgb(colour))
    ctx.set_line_width(width)
    ctx.stroke()


def ground_shadow(ctx, cx, cy, rx, ry=None, alpha=0.22):
    plain(ctx, (20, 20, 40), cx, cy, rx, ry or rx * 0.22, alpha=alpha)


def balloon_path(ctx, x, y, w, h, r, tail_x, tail_tip, tail_half=9):
    """A rounded box with a tail in its bottom edge, as one outline."""
    bottom = y + h
    ctx.new_path()
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, bottom - r, r, 0, math.pi / 2)
    ctx.line_to(tail_x + tail_half, bottom)
    ctx.line_to(*tail_tip)
    ctx.line_to(tail_x - tail_half, bottom)
    ctx.arc(x + r, bottom - r, r, math.pi / 2, math.pi)
    ctx.close_path()


def speech_balloon(width, height, bubble_h, tail_x, tail_tip, fill, edge, radius=12, border=2.5):
    """A sheet of one cell: a rounded speech box `bubble_h` tall with a tail whose base
    is centred on `tail_x` and whose tip is at `tail_tip` (x, y), softly shaded."""
    sheet = Sheet(width, height, 1)
    ctx = sheet.cell(0)
    inset = border / 2 + 0.5
    balloon_path(ctx, inset, inset, width - 2 * inset, bubble_h - 2 * inset, radius, tail_x, tail_tip)
    gradient = cairo.LinearGradient(0, 0, 0, bubble_h)
    gradient.add_color_stop_rgba(0, *rgb(lighter(fill, 0.6)))
    gradient.add_color_stop_rgba(1, *rgb(fill))
    ctx.set_source(gradient)
    ctx.fill_preserve()
    ctx.set_source_rgba(*rgb(edge))
    ctx.set_line_width(border)
    ctx.stroke()
    return sheet
