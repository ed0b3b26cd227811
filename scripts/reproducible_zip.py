#!/usr/bin/env python3
"""Zips a folder so that the same files always give the same bytes: entries in
sorted order, every entry with the one given time, modes 0644 (0755 for
programs), no extra fields.

Usage: reproducible_zip.py FOLDER ARCHIVE "YYYY-MM-DD HH:MM:SS"
"""
import os
import sys
import zipfile

PROGRAMS = ("tiger-sim", "addin-host")


def entries(folder):
    for directory, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(directory, name)
            yield os.path.relpath(path, folder).replace(os.sep, "/"), path


def main():
    folder, archive, stamp = sys.argv[1:4]
    date_time = tuple(int(part) for part in stamp.replace("-", " ").replace(":", " ").split())
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as output:
        for name, path in sorted(entries(folder)):
            info = zipfile.ZipInfo(name, date_time)
            program = os.path.basename(name) in PROGRAMS or name.endswith(".exe")
            info.external_attr = (0o100755 if program else 0o100644) << 16
            info.create_system = 3  # Unix, so that the modes count
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                output.writestr(info, source.read())


if __name__ == "__main__":
    main()
