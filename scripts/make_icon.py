#!/usr/bin/env python3
"""Draws the program's icon, resources/morvane.ico: a browser window whose picture is shown
again, with a green check badge for "repaired". One image at 32 bits with an alpha channel for
the small and the big icon at every scale Windows offers from 100 % to 400 %, and 256 pixels for
the largest views: 16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80, 96, 112, 128 and 256 pixels.
The program asks for its small and big icon through LoadImageW, which picks an image of exactly
the size asked for and otherwise enlarges a smaller one; at 100, 125, 150, 175, 200, 225, 250,
300, 350 and 400 % those are 16/32, 20/40, 24/48, 28/56, 32/64, 36/72, 40/80, 48/96, 56/112 and
64/128 pixels, so that it never has to scale one. Nothing in the file depends on the time or on
chance: two runs write the same bytes (scripts/check_icon.sh checks it).

Usage: python3 scripts/make_icon.py [output path]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import imagefile  # noqa: E402

FRAME = (45, 79, 124)
TITLE = (58, 123, 213)
PAGE = (255, 255, 255)
SKY = (191, 227, 255)
SUN = (255, 204, 51)
HILL_FAR = (92, 170, 92)
HILL_NEAR = (46, 139, 87)
BADGE = (34, 160, 60)
BADGE_RIM = (255, 255, 255)
CHECK = (255, 255, 255)

# The sizes drawn with 4 x 4 samples a pixel; 256 x 256, drawn with 2 x 2, comes last.
SIZES = [16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80, 96, 112, 128]


def in_rounded_rect(u, v, left, top, right, bottom, radius):
    if not (left <= u <= right and top <= v <= bottom):
        return False
    cx = min(max(u, left + radius), right - radius)
    cy = min(max(v, top + radius), bottom - radius)
    return (u - cx) ** 2 + (v - cy) ** 2 <= radius ** 2


def in_circle(u, v, cx, cy, r):
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def below_line(u, v, points):
    """True when (u, v) lies below the polyline through points (sorted by u)."""
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        if x0 <= u <= x1:
            return v >= y0 + (y1 - y0) * (u - x0) / (x1 - x0)
    return False


def near_segment(u, v, a, b, width):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (u - px) ** 2 + (v - py) ** 2 <= (width / 2) ** 2


def colour_at(u, v):
    """Colour of the scene at a point of the unit square, or None where it is transparent."""
    colour = None
    if in_rounded_rect(u, v, 0.04, 0.08, 0.96, 0.90, 0.08):
        colour = FRAME
    if in_rounded_rect(u, v, 0.08, 0.12, 0.92, 0.86, 0.05):
        colour = TITLE if v < 0.26 else PAGE
    if 0.15 <= u <= 0.85 and 0.32 <= v <= 0.79:
        colour = SKY
        if in_circle(u, v, 0.66, 0.45, 0.075):
            colour = SUN
        if below_line(u, v, [(0.15, 0.66), (0.34, 0.46), (0.52, 0.64), (0.85, 0.60)]):
            colour = HILL_FAR
        if below_line(u, v, [(0.15, 0.75), (0.45, 0.58), (0.70, 0.70), (0.85, 0.66)]):
            colour = HILL_NEAR
    if in_circle(u, v, 0.75, 0.75, 0.23):
        colour = BADGE_RIM
    if in_circle(u, v, 0.75, 0.75, 0.19):
        colour = BADGE
        if (near_segment(u, v, (0.655, 0.755), (0.725, 0.825), 0.07) or
                near_segment(u, v, (0.725, 0.825), (0.855, 0.675), 0.07)):
            colour = CHECK
    return colour


def render(size, samples=4):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((x + (sx + 0.5) / samples) / size,
                                  (y + (sy + 0.5) / samples) / size)
                    if c is not None:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            n = samples * samples
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
        rows.append(row)
    return rows


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "morvane.ico")
    images = [(render(size), 32, None) for size in SIZES]
    images.append((render(256, samples=2), 32, None))
    with open(out_path, "wb") as f:
        f.write(imagefile.ico_file(images))
    print(out_path)


if __name__ == "__main__":
    main()
