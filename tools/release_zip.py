#!/usr/bin/env python3
"""Writes a zip that depends on nothing but its files' bytes and one time.

    release_zip.py ZIP EPOCH NAME=FILE...

Entries are written in the order given, each with the time EPOCH (seconds,
written as UTC, as zip times carry no zone), the permissions rw-r--r-- of a
regular file and the same compression; no extra fields, no comment. The
file system's times, owners, permissions and order do not reach the zip.
"""
import sys
import time
import zipfile


def main(argv):
    if len(argv) < 4:
        sys.exit("usage: release_zip.py ZIP EPOCH NAME=FILE...")
    target, epoch, entries = argv[1], int(argv[2]), argv[3:]
    date_time = time.gmtime(epoch)[:6]
    if date_time[0] < 1980:
        sys.exit(f"release_zip.py: {epoch} lies before 1980, which zip times cannot hold")
    with zipfile.ZipFile(target, "w") as archive:
        for entry in entries:
            name, _, source = entry.partition("=")
            if not name or not source:
                sys.exit(f"release_zip.py: not NAME=FILE: {entry}")
            info = zipfile.ZipInfo(name, date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the permissions below are read
            info.external_attr = 0o100644 << 16
            with open(source, "rb") as data:
                archive.writestr(info, data.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv)
