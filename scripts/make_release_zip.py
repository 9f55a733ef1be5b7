#!/usr/bin/env python3
"""Writes the release archive so that the same inputs give the same bytes on any machine and day:
entries in the order given, each stamped with one fixed time (the commit's), fixed permissions,
and compressed at one fixed level. A text entry (a name ending in .txt) is written for Notepad:
UTF-8 with a byte order mark and CRLF line ends, with {version} replaced by the version.

Usage: make_release_zip.py ARCHIVE EPOCH VERSION NAME=PATH...
"""

import sys
import time
import zipfile

# Zip stores local times from 1980 on, to the even second.
ZIP_EPOCH = 315532800
FILE_MODE = 0o644
COMPRESSION_LEVEL = 9


def entry_bytes(name, path, version):
    with open(path, "rb") as f:
        data = f.read()
    if not name.endswith(".txt"):
        return data
    text = data.decode("utf-8").replace("{version}", version)
    lines = text.replace("\r\n", "\n").split("\n")
    return b"\xef\xbb\xbf" + "\r\n".join(lines).encode("utf-8")


def main():
    archive, epoch, version, entries = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4:]
    stamp = time.gmtime(max(epoch, ZIP_EPOCH))[:6]
    with zipfile.ZipFile(archive, "w") as out:
        for entry in entries:
            name, path = entry.split("=", 1)
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 3  # Unix, so that the mode below is what it says
            info.external_attr = (0o100000 | FILE_MODE) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            out.writestr(info, entry_bytes(name, path, version), compresslevel=COMPRESSION_LEVEL)


if __name__ == "__main__":
    main()
