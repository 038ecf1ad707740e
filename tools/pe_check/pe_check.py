#!/usr/bin/env python3
"""Checks every program a build folder holds against what Wine of the same
flavour offers, without running anything (so also where the flavour cannot
run):

  - the machine type is the flavour's;
  - every imported and delay-imported DLL is one of Wine's own, and exports
    each imported name or ordinal;
  - every delay-import slot points into code before the first call (the
    delay-load stub that loads the DLL), never at 0 or at data;
  - each DLL the build asks to delay-load (delayload/*.delay, written by
    cmake/DelayLoad.cmake) is delay-loaded by that program and not imported.

Usage: pe_check.py [-v] [--optional] [ARCH:]BUILD_DIR ...
ARCH is i686 or x86_64; without it, the build folder's CMake cache says.
--optional: the folders after it are checked only when they are built.
-v: also says what each program delay-loads.
Prints one line per finding and exits with 1 when there is any."""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_file import PE32, PE32_PLUS, PeError, PeFile  # noqa: E402

FLAVOURS = {
    "i686": (0x14C, PE32, "/usr/lib/i386-linux-gnu/wine/i386-windows"),
    "x86_64": (0x8664, PE32_PLUS, "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"),
}
# What a build folder holds besides its programs: prefixes, slots, sources.
SKIPPED_FOLDERS = {"wineprefix", "test-slots", "setup-tests", "setup-shots", "test-failures",
                   "deps", "CMakeFiles", "services", "generated"}
PROGRAM_SUFFIXES = (".exe", ".dll")


class WineModules:
    """Wine's own DLLs of one flavour and what each exports (read once)."""

    def __init__(self, folder):
        self.folder = folder
        self._files = {}
        if os.path.isdir(folder):
            self._files = {name.lower(): os.path.join(folder, name) for name in os.listdir(folder)}
        self._exports = {}

    def exports(self, dll):
        """(names, ordinals) of a DLL, or None when Wine has no such DLL."""
        key = dll.lower()
        if key not in self._exports:
            path = self._files.get(key)
            if path is None:
                self._exports[key] = None
            else:
                with PeFile(path) as pe:
                    self._exports[key] = pe.exports()
        return self._exports[key]


def flavour_of(build_dir):
    """i686 or x86_64, from the toolchain file or compiler in the CMake cache."""
    try:
        with open(os.path.join(build_dir, "CMakeCache.txt"), encoding="utf-8", errors="replace") as f:
            cache = f.read()
    except OSError:
        return None
    for arch in FLAVOURS:
        if re.search(r"^CMAKE_(TOOLCHAIN_FILE|C_COMPILER):[A-Z]+=.*%s" % arch, cache, re.M):
            return arch
    return None


def delay_requests(build_dir):
    """{program file name (lower case): {dll (lower case)}} from the build's
    delay-load lists: one line per program, its file name then its DLLs."""
    requests = {}
    folder = os.path.join(build_dir, "delayload")
    if not os.path.isdir(folder):
        return requests
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".delay"):
            continue
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            for line in f:
                words = line.split()
                if words:
                    requests.setdefault(words[0].lower(), set()).update(w.lower() for w in words[1:])
    return requests


def programs_in(build_dir):
    for root, dirs, files in os.walk(build_dir):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED_FOLDERS)
        for name in sorted(files):
            if name.lower().endswith(PROGRAM_SUFFIXES):
                yield os.path.join(root, name)


def _check_names(wine, dll, functions, how):
    exports = wine.exports(dll)
    if exports is None:
        return ["%s %s, which Wine does not have" % (how, dll)]
    names, ordinals = exports
    missing = [str(f) for f in functions
               if (f.name is not None and f.name not in names)
               or (f.name is None and f.ordinal not in ordinals)]
    if missing:
        return ["%s %s!%s, which Wine's %s does not export" % (how, dll, ",".join(missing), dll)]
    return []


def check_program(path, arch, wine, delay_loaded=(), notes=None):
    """The findings about one program (texts without the file's name);
    `notes`, a list, gets what it delay-loads."""
    machine, magic, _ = FLAVOURS[arch]
    try:
        pe = PeFile(path)
    except (PeError, OSError) as e:
        return ["cannot be read as a PE file: %s" % e]
    with pe:
        found = []
        if pe.machine != machine or pe.magic != magic:
            found.append("machine %s (PE%s), not the %s flavour's" % (
                pe.machine_name, "32+" if pe.magic == PE32_PLUS else "32", arch))
            return found  # its imports would be checked against the wrong Wine
        try:
            plain, delayed = pe.imports(), pe.delay_imports()
        except PeError as e:
            return ["imports cannot be read: %s" % e]
        for imp in plain:
            found += _check_names(wine, imp.dll, imp.functions, "imports")
        for imp in delayed:
            found += _check_names(wine, imp.dll, imp.functions, "delay-loads")
            for f in imp.functions:
                found += _check_slot(pe, imp.dll, f)
        if notes is not None and delayed:
            notes.append("delay-loads " + ", ".join(
                "%s (%d name%s)" % (i.dll, len(i.functions), "" if len(i.functions) == 1 else "s")
                for i in delayed))
        plain_dlls = {i.dll.lower() for i in plain}
        delayed_dlls = {i.dll.lower() for i in delayed}
        for dll in sorted(plain_dlls & delayed_dlls):
            found.append("%s is both delay-loaded and imported: it loads before the entry point" % dll)
        for dll in sorted(set(delay_loaded)):
            if dll in plain_dlls and dll not in delayed_dlls:
                found.append("%s is imported, but the build asks to delay-load it" % dll)
            elif dll not in delayed_dlls and dll not in plain_dlls:
                found.append("the build asks to delay-load %s, but nothing of it is delay-loaded" % dll)
        return found


def _check_slot(pe, dll, function):
    value = pe.pointer(function.slot)
    rva = value - pe.image_base if value else None
    section = pe.section_of(rva) if rva is not None and rva >= 0 else None
    if section is not None and section.executable:
        return []
    width = 2 * pe.pointer_size
    where = "no section" if section is None else "section %s, which is not code" % section.name
    return ["delay-load slot of %s!%s holds 0x%0*x (%s): the first call jumps there" % (
        dll, function, width, value or 0, where)]


def check_build(build_dir, arch, out=None, verbose=False):
    """Checks every program of a build folder; the number of findings. With
    `verbose`, also says what each program delay-loads."""
    out = out or sys.stdout
    wine = WineModules(FLAVOURS[arch][2])
    if not wine._files:
        print("%s: Wine's %s DLLs are not installed in %s" % (build_dir, arch, wine.folder), file=out)
        return 1
    requests = delay_requests(build_dir)
    count = findings = 0
    for path in programs_in(build_dir):
        count += 1
        rel = os.path.relpath(path, build_dir)
        notes = []
        for finding in check_program(path, arch, wine, requests.get(os.path.basename(path).lower(), ()),
                                     notes):
            print("%s: %s" % (rel, finding), file=out)
            findings += 1
        for note in notes if verbose else ():
            print("%s: (%s)" % (rel, note), file=out)
    if not count:
        print("%s: holds no programs: is it built?" % build_dir, file=out)
        return 1
    print("%s (%s): %d programs checked, %d findings" % (build_dir, arch, count, findings), file=out)
    return findings


def main(argv):
    optional, verbose, seen, total, checked = False, False, set(), 0, 0
    for arg in argv:
        if arg == "--optional":
            optional = True
            continue
        if arg in ("-v", "--verbose"):
            verbose = True
            continue
        arch, folder = arg.split(":", 1) if arg.split(":", 1)[0] in FLAVOURS else ("", arg)
        folder = os.path.realpath(folder)
        if folder in seen:
            continue
        seen.add(folder)
        if not os.path.isdir(folder):
            if optional:
                continue
            print("%s: no such build folder" % folder)
            total += 1
            continue
        arch = arch or flavour_of(folder)
        if arch is None:
            if optional:
                continue
            print("%s: its flavour is unknown (say i686:%s or x86_64:%s)" % (folder, folder, folder))
            total += 1
            continue
        total += check_build(folder, arch, verbose=verbose)
        checked += 1
    if not checked and not total:
        print(__doc__.strip())
        return 2
    return 1 if total else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
