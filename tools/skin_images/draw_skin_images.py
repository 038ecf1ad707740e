#!/usr/bin/env python3
"""Draws the skins' images at build time from a table, so that no binary
image is ever committed.

Usage: draw_skin_images.py <table> <out-dir>

Each non-blank line of the table that does not start with '#' is
    <relative path>  <width>x<height>  <ImageMagick arguments...>
The arguments are handed to `convert` with {w}, {h}, {W1} (width-1) and
{H1} (height-1) filled in, then the output path. Examples:
    main/title_bk.png  890x95  -size {w}x{h} gradient:#2b7fd6-#1b5fae
    loading.gif        32x32   -delay 8 -size {w}x{h} xc:none ... -loop 0
An image of the form "a.ico" is written as a Windows icon. A line may end
with a backslash to continue on the next line.
"""
import os
import shlex
import subprocess
import sys


def read_rows(table):
    rows, pending, first = [], "", 0
    with open(table, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not pending:
                first = number
                if not line.strip() or line.lstrip().startswith("#"):
                    continue
            if line.endswith("\\"):
                pending += line[:-1] + " "
                continue
            rows.append((first, pending + line))
            pending = ""
    if pending:
        rows.append((first, pending))
    return rows


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    table, out_dir = sys.argv[1], sys.argv[2]
    failures = 0
    for number, line in read_rows(table):
        parts = shlex.split(line)
        if len(parts) < 3 or "x" not in parts[1]:
            print(f"{table}:{number}: expected <path> <w>x<h> <arguments>", file=sys.stderr)
            failures += 1
            continue
        path, size, args = parts[0], parts[1], parts[2:]
        w, h = (int(v) for v in size.split("x", 1))
        fill = {"w": w, "h": h, "W1": w - 1, "H1": h - 1}
        args = [a.format(**fill) if "{" in a else a for a in args]
        target = os.path.join(out_dir, path)
        os.makedirs(os.path.dirname(target) or ".", exist_ok=True)
        # 8-bit RGBA PNGs, whatever the recipe's colours make ImageMagick choose.
        spec = "PNG32:" + target if path.lower().endswith(".png") else target
        result = subprocess.run(["convert", *args, spec], capture_output=True, text=True)
        if result.returncode != 0 or not os.path.exists(target):
            print(f"{table}:{number}: convert failed for {path}: {result.stderr.strip()}", file=sys.stderr)
            failures += 1
    if failures:
        sys.exit(f"{failures} image(s) could not be drawn")


if __name__ == "__main__":
    main()
