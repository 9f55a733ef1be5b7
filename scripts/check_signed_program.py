#!/usr/bin/env python3
"""Checks that a signed program is the unsigned one plus its signature: removes the signature
with osslsigncode and compares what is left with UNSIGNED byte for byte. Signing may set two
header fields of its own, the certificate table's entry and the PE checksum; a difference there
alone is named and allowed, any other fails the check.

Usage: check_signed_program.py SIGNED UNSIGNED
"""

import os
import struct
import subprocess
import sys
import tempfile

PE_HEADER_POINTER = 0x3C
PE32_PLUS = 0x20B
CERTIFICATE_TABLE = 4  # index in the optional header's data directories


def signing_fields(data):
    """The file ranges of the fields that signing sets, by name."""
    pe = struct.unpack_from("<I", data, PE_HEADER_POINTER)[0]
    optional = pe + 4 + 20
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == PE32_PLUS else 96)
    entry = directories + 8 * CERTIFICATE_TABLE
    return {
        "PE checksum": range(optional + 64, optional + 68),
        "certificate table entry": range(entry, entry + 8),
    }


def main():
    signed, unsigned = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as temp:
        stripped = os.path.join(temp, "stripped.exe")
        result = subprocess.run(
            ["osslsigncode", "remove-signature", "-in", signed, "-out", stripped],
            capture_output=True, text=True)
        if result.returncode != 0:
            sys.exit(f"{signed}: osslsigncode cannot remove its signature: "
                     + (result.stderr or result.stdout).strip().splitlines()[-1])
        with open(stripped, "rb") as f:
            left = f.read()
    with open(unsigned, "rb") as f:
        expected = f.read()

    if left == expected:
        print(f"{signed} less its signature is byte for byte {unsigned} ({len(left)} bytes)")
        return
    if len(left) != len(expected):
        sys.exit(f"{signed} less its signature is {len(left)} bytes, {unsigned} {len(expected)}")
    differing = [i for i, (a, b) in enumerate(zip(left, expected)) if a != b]
    fields = signing_fields(expected)
    named = sorted({name for name, span in fields.items() for i in differing if i in span})
    others = [i for i in differing if not any(i in span for span in fields.values())]
    if others:
        sys.exit(f"{signed} less its signature differs from {unsigned} at byte {others[0]:#x}"
                 f" ({len(others)} bytes outside the fields that signing sets)")
    print(f"{signed} less its signature is {unsigned} but for the fields that signing sets: "
          + ", ".join(named))


if __name__ == "__main__":
    main()
