#!/usr/bin/env python3
"""Builds the install package from the program folder with makensis.

Usage: build_package.py <dist> <script.nsi> <out.exe> <work-dir> [amd64]

The program folder is packed as it is: every folder (also an empty one)
becomes a SetOutPath block listing its files, the install folder's own
files first, then the subfolders in name order. makensis runs only when the
folder, the scripts or the flavour changed since the last package, so a
build that changed nothing leaves the package (and the setup program that
carries it) alone."""
import hashlib
import os
import subprocess
import sys


def nsis_text(text):
    # Inside NSIS double quotes, $ and " need escaping ($$ and $\\").
    return text.replace("$", "$$").replace('"', '$\\"')


def folder_blocks(dist):
    blocks = []
    for root, dirs, files in os.walk(dist):
        dirs.sort()
        rel = os.path.relpath(root, dist)
        target = "$INSTDIR" if rel == "." else "$INSTDIR\\" + nsis_text(rel.replace("/", "\\"))
        lines = ['SetOutPath "%s"' % target]
        # The programs first, as the package always placed them.
        first = [n for n in ("vantrel.exe", "uninstaller.exe") if rel == "." and n in files]
        for name in first + sorted(n for n in files if n not in first):
            lines.append('File "%s"' % nsis_text(os.path.join(os.path.abspath(root), name)))
        blocks.append("\n".join(lines))
    return blocks


def fingerprint(dist, script, amd64):
    h = hashlib.sha256()
    h.update(b"amd64" if amd64 else b"x86")
    for source in (script, os.path.abspath(__file__)):
        with open(source, "rb") as f:
            h.update(f.read())
    for root, dirs, files in os.walk(dist):
        dirs.sort()
        h.update(os.path.relpath(root, dist).encode() + b"/\n")
        for name in sorted(files):
            st = os.stat(os.path.join(root, name))
            h.update(("%s %d %d\n" % (name, st.st_size, st.st_mtime_ns)).encode())
    return h.hexdigest()


def main():
    if len(sys.argv) not in (5, 6):
        sys.exit(__doc__)
    dist, script, out, work = sys.argv[1:5]
    amd64 = len(sys.argv) == 6 and sys.argv[5] == "amd64"
    for needed in ("vantrel.exe", "uninstaller.exe"):
        if not os.path.isfile(os.path.join(dist, needed)):
            sys.exit("build_package: %s is missing from %s" % (needed, dist))
    os.makedirs(work, exist_ok=True)
    stamp = os.path.join(work, "package.fingerprint")
    current = fingerprint(dist, script, amd64)
    try:
        with open(stamp) as f:
            if f.read() == current and os.path.isfile(out):
                return
    except FileNotFoundError:
        pass
    files_nsh = os.path.join(work, "files.nsh")
    with open(files_nsh, "w", encoding="utf-8") as f:
        f.write("\n".join(folder_blocks(dist)) + "\n")
    temp = out + ".tmp"
    command = ["makensis", "-V2", "-INPUTCHARSET", "UTF8",
               "-DOUT_FILE=" + temp, "-DFILES_NSH=" + files_nsh]
    if amd64:
        command.append("-DAMD64")
    command.append(script)
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0 or not os.path.isfile(temp):
        sys.stderr.write(result.stdout + result.stderr)
        sys.exit("build_package: makensis failed")
    os.replace(temp, out)
    with open(stamp, "w") as f:
        f.write(current)


if __name__ == "__main__":
    main()
