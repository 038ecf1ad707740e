"""Writes a zip holding one file under a given name: make_skin_zip.py OUT SRC NAME."""
import sys
import zipfile

with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.write(sys.argv[2], sys.argv[3])
