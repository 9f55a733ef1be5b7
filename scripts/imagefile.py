"""Writes BMP, PNG and ICO files from plain pixel lists, without any imaging library.

A picture is a list of rows, top row first; a pixel is an (r, g, b, a) tuple of 0..255.
"""

import struct
import zlib


def _row_padding(byte_count):
    return b"\0" * ((4 - byte_count % 4) % 4)


def bmp_bits_24(pixels):
    """Bottom-up 24-bit rows (blue, green, red), each padded to four bytes."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        out += line + _row_padding(len(line))
    return bytes(out)


def bmp_bits_32(pixels):
    """Bottom-up 32-bit rows (blue, green, red, alpha)."""
    out = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            out += bytes((b, g, r, a))
    return bytes(out)


def and_mask(pixels):
    """Bottom-up 1-bit transparency mask: 1 where the pixel is mostly transparent."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray((len(row) + 7) // 8)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line + _row_padding(len(line))
    return bytes(out)


def info_header(width, height, bit_count, colours_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, 0, 0, 0,
                       colours_used, 0)


def bmp_file_24(pixels):
    """A complete .bmp file, 24 bits per pixel."""
    width, height = len(pixels[0]), len(pixels)
    bits = bmp_bits_24(pixels)
    header = info_header(width, height, 24)
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(bits), 0, 0, offset) + header + bits


def png_file(pixels):
    """A complete .png file, 8-bit RGBA."""
    width, height = len(pixels[0]), len(pixels)
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def icon_image(pixels, bit_count, palette=None):
    """One icon image as the icon file stores it: PNG for 256 x 256, BMP data otherwise."""
    size = len(pixels)
    if size >= 256:
        return png_file(pixels)
    bits = bmp_bits_24(pixels) if bit_count == 24 else bmp_bits_32(pixels)
    return info_header(size, 2 * size, bit_count) + bits + and_mask(pixels)


def ico_file(images):
    """A complete .ico file from (pixels, bit_count, palette) triples, in the given order."""
    datas = [icon_image(p, bits, pal) for p, bits, pal in images]
    offset = 6 + 16 * len(images)
    directory = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for (pixels, bits, palette), data in zip(images, datas):
        size = len(pixels)
        colour_count = 0 if bits >= 8 else len(palette)
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bits,
                                 len(data), offset)
        offset += len(data)
    return bytes(directory) + b"".join(datas)
