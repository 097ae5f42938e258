"""A desktop wallpaper for the showcase pictures: a soft sky over a low sun, a few clouds
and rolling hills to the horizon, drawn with Cairo.

    /usr/bin/python3 scripts/chargen/wallpaper.py WIDTH HEIGHT OUT.png"""
import math
import sys

import cairo

from paint import rgb


def hill(ctx, width, base, amplitude, waves, phase, colour_top, colour_bottom, height):
    ctx.new_path()
    ctx.move_to(0, height)
    steps = 64
    for i in range(steps + 1):
        x = width * i / steps
        y = base - amplitude * (0.6 * math.sin(x / width * waves * math.pi + phase)
                                + 0.4 * math.sin(x / width * waves * 2.3 * math.pi + phase * 1.7))
        ctx.line_to(x, y)
    ctx.line_to(width, height)
    ctx.close_path()
    gradient = cairo.LinearGradient(0, base - amplitude, 0, height)
    gradient.add_color_stop_rgba(0, *rgb(colour_top))
    gradient.add_color_stop_rgba(1, *rgb(colour_bottom))
    ctx.set_source(gradient)
    ctx.fill()


def cloud(ctx, x, y, size):
    for dx, dy, r in ((0, 0, 1.0), (1.1, 0.25, 0.75), (-1.0, 0.3, 0.7), (0.45, -0.45, 0.7), (2.0, 0.4, 0.5)):
        ctx.new_sub_path()
        ctx.arc(x + dx * size, y + dy * size, r * size, 0, 2 * math.pi)
    ctx.set_source_rgba(1, 1, 1, 0.55)
    ctx.fill()


def draw(width, height):
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, width, height)
    ctx = cairo.Context(surface)
    horizon = height * 0.62
    sky = cairo.LinearGradient(0, 0, 0, horizon)
    sky.add_color_stop_rgb(0, *rgb((88, 140, 214))[:3])
    sky.add_color_stop_rgb(0.6, *rgb((164, 196, 236))[:3])
    sky.add_color_stop_rgb(1, *rgb((250, 214, 184))[:3])
    ctx.rectangle(0, 0, width, height)
    ctx.set_source(sky)
    ctx.fill()
    sun_x, sun_y = width * 0.72, horizon - height * 0.06
    glow = cairo.RadialGradient(sun_x, sun_y, 0, sun_x, sun_y, height * 0.5)
    glow.add_color_stop_rgba(0, 1, 0.97, 0.86, 0.95)
    glow.add_color_stop_rgba(0.08, 1, 0.93, 0.78, 0.8)
    glow.add_color_stop_rgba(1, 1, 0.85, 0.7, 0)
    ctx.rectangle(0, 0, width, height)
    ctx.set_source(glow)
    ctx.fill()
    for x, y, size in ((0.16, 0.16, 0.035), (0.42, 0.1, 0.025), (0.86, 0.22, 0.03), (0.6, 0.3, 0.02)):
        cloud(ctx, width * x, height * y, height * size)
    hill(ctx, width, horizon + height * 0.02, height * 0.05, 3, 0.4, (150, 170, 200), (176, 192, 214), height)
    hill(ctx, width, horizon + height * 0.09, height * 0.06, 2.2, 2.1, (104, 150, 132), (128, 168, 140), height)
    hill(ctx, width, horizon + height * 0.2, height * 0.07, 1.6, 4.0, (84, 132, 92), (60, 104, 70), height)
    return surface


def main():
    width, height, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    draw(width, height).write_to_png(out)


if __name__ == "__main__":
    main()
