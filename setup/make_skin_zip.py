#!/usr/bin/env python3
"""Packs a setup program's skin into one zip: every file of the given
folders, stored at the zip's root (the skins name their images without
folders). Names are sorted and times fixed: the same inputs always give
the same bytes.

Usage: make_skin_zip.py <out.zip> <folder>...
A later folder's file replaces an earlier one of the same name."""
import os
import sys
import zipfile


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    out, folders = sys.argv[1], sys.argv[2:]
    files = {}
    for folder in folders:
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if os.path.isfile(path) and not name.endswith(".stamp"):
                files[name] = path
    if not files:
        sys.exit("make_skin_zip: no files in %s" % ", ".join(folders))
    temp = out + ".tmp"
    with zipfile.ZipFile(temp, "w", zipfile.ZIP_DEFLATED) as z:
        for name in sorted(files):
            info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(files[name], "rb") as f:
                z.writestr(info, f.read())
    os.replace(temp, out)


if __name__ == "__main__":
    main()
