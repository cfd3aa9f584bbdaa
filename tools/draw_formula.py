#!/usr/bin/python3
"""Draws the formula picture of the About window: the series for the
blackbody fraction and, centred below it, the definition of z.

Both rows are typeset with matplotlib's mathtext in the STIX (Times-like)
maths fonts at four times the final size, reduced to 263 x 97 with a Lanczos
filter, which gives the smoothed edges, and saved as 24-bit RGB on pure white.
The pictures for displays of two and three device pixels to the logical
pixel, 526 x 194 and 789 x 291, are typeset the same way at two and three
times the resolution, not enlarged.

Usage: /usr/bin/python3 draw_formula.py OUTPUT_DIR
(writes formula.png, formula@2x.png and formula@3x.png)
(Debian packages python3-matplotlib and python3-pil.)
"""

import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
from PIL import Image  # noqa: E402

WIDTH, HEIGHT = 263, 97
SCALE = 4          # drawn this many times larger, then reduced
ROW_SIZE = 10.5    # points at the final size, for both rows

# The series row is set in pieces so that the summation sign can be drawn at
# display size (mathtext only has the text-size sign) while its limits keep
# the size of scripts: the left-hand side, the sign, the summand, and the two
# limits centred above and below the sign. Sizes and distances are fractions
# of the row's size.
LEFT = r"$F_{(0\rightarrow\lambda)} = \dfrac{15}{\pi^4}$"
SIGN = r"$\sum$"
SUMMAND = (r"$\dfrac{e^{-nz}}{n}\left(z^3 + \dfrac{3z^2}{n} + \dfrac{6z}{n^2}"
           r" + \dfrac{6}{n^3}\right)$")
UPPER, LOWER = r"$\infty$", r"$n=1$"
SIGN_SIZE, LIMIT_SIZE = 1.5, 0.7
SIGN_DROP = 0.17                  # the sign sits on the maths axis
UPPER_GAP, LOWER_GAP = 0.25, 0.1  # the sign's box is shorter than its ink
GAP = 0.2                         # space either side of the sign
SERIES_BASELINE = 0.37            # from the top, as a fraction of the height

DEFINITION = (r"$\mathrm{where}\ \ z = \dfrac{C_2}{\lambda T}"
              r"\ \ \mathrm{and}\ \ C_2 = 14387.96$")
DEFINITION_CENTRE = 0.23          # from the bottom


def render(scale):
    """Typesets both rows on a white canvas SCALE times the picture at
    `scale`; returns its grey levels."""
    matplotlib.rcParams.update({"mathtext.fontset": "stix",
                                "text.antialiased": True})
    dpi = 100
    width, height = WIDTH * SCALE * scale, HEIGHT * SCALE * scale
    fig = plt.figure(figsize=(width / dpi, height / dpi), dpi=dpi)
    fig.patch.set_facecolor("white")
    renderer = fig.canvas.get_renderer()
    size = ROW_SIZE * SCALE * scale

    def piece(tex, rel, **align):
        return fig.text(0, 0, tex, size=size * rel, color="black",
                        transform=None, **align)

    row = [piece(LEFT, 1.0, ha="left", va="baseline"),
           piece(SIGN, SIGN_SIZE, ha="left", va="baseline"),
           piece(SUMMAND, 1.0, ha="left", va="baseline")]
    widths = [p.get_window_extent(renderer).width for p in row]
    x = (width - sum(widths) - 2 * GAP * size) / 2
    baseline = (1.0 - SERIES_BASELINE) * height  # display y runs upwards
    for p, w in zip(row, widths):
        drop = SIGN_DROP * size if p is row[1] else 0.0
        p.set_position((x, baseline - drop))
        x += w + GAP * size

    sign = row[1].get_window_extent(renderer)
    centre = (sign.x0 + sign.x1) / 2
    piece(UPPER, LIMIT_SIZE, ha="center", va="bottom").set_position(
        (centre, sign.y1 + UPPER_GAP * size))
    piece(LOWER, LIMIT_SIZE, ha="center", va="top").set_position(
        (centre, sign.y0 - LOWER_GAP * size))

    fig.text(0.5, DEFINITION_CENTRE, DEFINITION, size=size,
             ha="center", va="center", color="black")
    fig.canvas.draw()
    rgba = np.asarray(fig.canvas.buffer_rgba()).astype(np.float64)
    plt.close(fig)
    # Flatten onto white in case any pixel is not fully opaque.
    alpha = rgba[..., 3:4] / 255.0
    rgb = rgba[..., :3] * alpha + 255.0 * (1.0 - alpha)
    return rgb.mean(axis=2)


def draw(scale, path):
    grey = np.clip(np.rint(render(scale)), 0, 255).astype(np.uint8)
    small = Image.fromarray(grey, "L").resize((WIDTH * scale, HEIGHT * scale),
                                              Image.LANCZOS)
    # The filter rings faintly around strokes; keep the paper exactly white.
    levels = np.asarray(small).copy()
    levels[levels >= 250] = 255
    Image.fromarray(levels, "L").convert("RGB").save(path)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: draw_formula.py OUTPUT_DIR")
    for scale in (1, 2, 3):
        name = "formula.png" if scale == 1 else f"formula@{scale}x.png"
        draw(scale, os.path.join(sys.argv[1], name))


if __name__ == "__main__":
    main()
