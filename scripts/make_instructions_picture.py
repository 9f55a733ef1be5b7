#!/usr/bin/env python3
"""Draws the picture of the instructions window, resources/instructions.bmp (335 x 228, 24 bits
per pixel): a browser showing a web page with four picture frames, each holding only the
placeholder of a picture that failed to load, with a caption under each frame.

Usage: python3 scripts/make_instructions_picture.py [output path]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import imagefile  # noqa: E402

WIDTH, HEIGHT = 335, 228

# A 5 x 7 pixel font (with two rows of descender below) for the few characters the picture writes.
GLYPHS = {
    "a": ["     ", "     ", " ### ", "    #", " ####", "#   #", " ####"],
    "c": ["     ", "     ", " ### ", "#    ", "#    ", "#    ", " ### "],
    "e": ["     ", "     ", " ### ", "#   #", "#####", "#    ", " ### "],
    "g": ["     ", "     ", " ####", "#   #", "#   #", "#   #", " ####", "    #", " ### "],
    "h": ["#    ", "#    ", "# ## ", "##  #", "#   #", "#   #", "#   #"],
    "i": ["  #  ", "     ", " ##  ", "  #  ", "  #  ", "  #  ", " ### "],
    "j": ["   # ", "     ", "  ## ", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "],
    "l": [" ##  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "m": ["     ", "     ", "## # ", "# # #", "# # #", "# # #", "#   #"],
    "o": ["     ", "     ", " ### ", "#   #", "#   #", "#   #", " ### "],
    "p": ["     ", "     ", "#### ", "#   #", "#   #", "#   #", "#### ", "#    ", "#    "],
    "s": ["     ", "     ", " ####", "#    ", " ### ", "    #", "#### "],
    "t": [" #   ", " #   ", "#### ", " #   ", " #   ", " #  #", "  ## "],
    "w": ["     ", "     ", "#   #", "#   #", "# # #", "# # #", " # # "],
    "x": ["     ", "     ", "#   #", " # # ", "  #  ", " # # ", "#   #"],
    "y": ["     ", "     ", "#   #", "#   #", "#   #", "#   #", " ####", "    #", " ### "],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "3": ["#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "],
    "4": ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    ".": ["     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "],
    ":": ["     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "],
    "/": ["    #", "    #", "   # ", "  #  ", " #   ", "#    ", "#    "],
    " ": ["     "] * 7,
}

CHROME = (236, 233, 216)
CHROME_DARK = (172, 168, 153)
PAGE = (255, 255, 255)
TEXT = (64, 64, 64)
HEADING = (0, 51, 153)
FRAME_LIGHT = (255, 255, 255)
FRAME_SHADOW = (128, 128, 128)
FRAME_DARK = (64, 64, 64)
PLACEHOLDER_FACE = (212, 208, 200)
CROSS = (220, 0, 0)
PARAGRAPH = (200, 200, 200)


class Canvas:
    def __init__(self, width, height, colour):
        self.rows = [[colour + (255,) for _ in range(width)] for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= y < len(self.rows) and 0 <= x < len(self.rows[0]):
            self.rows[y][x] = colour + (255,)

    def fill(self, left, top, width, height, colour):
        for y in range(top, top + height):
            for x in range(left, left + width):
                self.put(x, y, colour)

    def hline(self, left, right, y, colour):
        self.fill(left, y, right - left + 1, 1, colour)

    def vline(self, x, top, bottom, colour):
        self.fill(x, top, 1, bottom - top + 1, colour)

    def text(self, x, y, string, colour, scale=1):
        for ch in string:
            for gy, line in enumerate(GLYPHS[ch]):
                for gx, bit in enumerate(line):
                    if bit == "#":
                        self.fill(x + gx * scale, y + gy * scale, scale, scale, colour)
            x += 6 * scale

    def sunken_box(self, left, top, width, height):
        right, bottom = left + width - 1, top + height - 1
        self.hline(left, right, top, FRAME_SHADOW)
        self.vline(left, top, bottom, FRAME_SHADOW)
        self.hline(left, right, bottom, FRAME_LIGHT)
        self.vline(right, top, bottom, FRAME_LIGHT)
        self.hline(left + 1, right - 1, top + 1, FRAME_DARK)
        self.vline(left + 1, top + 1, bottom - 1, FRAME_DARK)


def text_width(string, scale=1):
    return 6 * scale * len(string) - scale


def broken_picture_icon(canvas, x, y):
    """The browser's placeholder for a picture that did not load: a little page with a folded
    corner and a red cross."""
    canvas.fill(x, y, 12, 14, PLACEHOLDER_FACE)
    canvas.hline(x, x + 8, y, FRAME_DARK)
    canvas.vline(x, y, y + 13, FRAME_DARK)
    canvas.hline(x, x + 11, y + 13, FRAME_DARK)
    canvas.vline(x + 11, y + 3, y + 13, FRAME_DARK)
    for i in range(4):  # the folded corner
        canvas.put(x + 8 + i, y + i, FRAME_DARK)
    canvas.fill(x + 9, y + 1, 1, 2, PAGE)
    for i in range(7):  # the red cross
        for w in range(2):
            canvas.put(x + 3 + i + w, y + 4 + i, CROSS)
            canvas.put(x + 9 - i + w, y + 4 + i, CROSS)


def draw():
    canvas = Canvas(WIDTH, HEIGHT, PAGE)

    # Browser chrome with the address of the page.
    canvas.fill(0, 0, WIDTH, 22, CHROME)
    canvas.hline(0, WIDTH - 1, 21, CHROME_DARK)
    canvas.fill(6, 6, 10, 10, CHROME_DARK)
    canvas.fill(20, 4, WIDTH - 26, 14, PAGE)
    canvas.sunken_box(20, 4, WIDTH - 26, 14)
    canvas.text(25, 8, "http://www.example.com/photos.htm", TEXT)

    # Page heading.
    canvas.text(12, 30, "my photos", HEADING, scale=2)
    canvas.hline(12, WIDTH - 13, 47, HEADING)

    # Four picture frames, each with only the placeholder, and a caption under each.
    frame_width, frame_height, gap, left = 70, 96, 9, 12
    for i in range(4):
        x = left + i * (frame_width + gap)
        canvas.sunken_box(x, 56, frame_width, frame_height)
        broken_picture_icon(canvas, x + 4, 60)
        caption = "photo%d.jpg" % (i + 1)
        canvas.text(x + (frame_width - text_width(caption)) // 2, 158, caption, TEXT)

    # Lines of page text below the pictures.
    for row, length in enumerate([300, 280, 305, 190]):
        canvas.fill(12, 178 + row * 11, length, 5, PARAGRAPH)
    return canvas.rows


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_path = (sys.argv[1] if len(sys.argv) > 1 else
                os.path.join(root, "resources", "instructions.bmp"))
    with open(out_path, "wb") as f:
        f.write(imagefile.bmp_file_24(draw()))
    print(out_path)


if __name__ == "__main__":
    main()
