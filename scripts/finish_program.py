#!/usr/bin/env python3
"""Puts a PE program into the form that a signature, once removed, leaves behind: zero bytes to a
whole number of 8 bytes, and the PE checksum of the file as it then stands. A signing tool pads
the file so before it appends the signature (whose table starts 8-byte aligned) and writes the
checksum of the signed file; removing the signature keeps the padding and writes the checksum
again. A program finished here is therefore byte for byte the signed one less its signature.

Usage: finish_program.py PROGRAM   (changes PROGRAM in place)
"""

import struct
import sys

ALIGNMENT = 8
PE_HEADER_POINTER = 0x3C
# Offset of CheckSum in the optional header, the same for PE32 and PE32+.
CHECKSUM_OFFSET = 64


def checksum_offset(data):
    pe = struct.unpack_from("<I", data, PE_HEADER_POINTER)[0]
    if data[pe : pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    return pe + 4 + 20 + CHECKSUM_OFFSET  # signature, file header, then the optional header


def pe_checksum(data, offset):
    """The platform's image checksum: the 16-bit one's-complement sum of the file with its
    checksum field taken as zero, folded to 16 bits, plus the file's length."""
    body = bytearray(data)
    body[offset : offset + 4] = b"\0\0\0\0"
    if len(body) % 2:
        body.append(0)
    total = sum(struct.unpack(f"<{len(body) // 2}H", body))
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def main():
    path = sys.argv[1]
    with open(path, "rb") as f:
        data = bytearray(f.read())
    data.extend(b"\0" * (-len(data) % ALIGNMENT))
    offset = checksum_offset(data)
    struct.pack_into("<I", data, offset, pe_checksum(data, offset))
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
