"""The PE check on small programs built here in both flavours, each sound or
faulty in one way: a delay-load slot that is 0 or points at data, a name,
ordinal or DLL Wine lacks, the other flavour's machine, a delay-loaded DLL
also imported, and a delay-load the build asks for but the program lacks."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "pe_check"))
import pe_check  # noqa: E402
from pe_file import PeFile  # noqa: E402

FLAVOURS = ("i686", "x86_64")

# The client's way of calling WinINet: wininet.h declares it dllimport, so
# the program only reads the slot (__imp_Name) and never names the stub.
NET = r"""
#include <windows.h>
#include <wininet.h>
int main(void) {
    HINTERNET h = InternetOpenW(L"k", 0, 0, 0, 0);
    if (h) InternetCloseHandle(h);
    return 0;
}
"""
CALLS = r"""
#include <windows.h>
__declspec(dllimport) void WINAPI %s(void);
int main(void) { %s(); return 0; }
"""
NET_NAMES = [("InternetOpenW", 20), ("InternetCloseHandle", 4)]


def tool(arch, name):
    return "%s-w64-mingw32-%s" % (arch, name)


def run(*command):
    result = subprocess.run(command, capture_output=True, text=True, timeout=300)
    if result.returncode:
        raise AssertionError("%s failed:\n%s" % (" ".join(command), result.stderr))


class Builder:
    """Makes the import libraries and programs of one flavour in a folder."""

    def __init__(self, arch, folder):
        self.arch, self.folder = arch, os.path.join(folder, arch)
        os.makedirs(self.folder)

    def path(self, name):
        return os.path.join(self.folder, name)

    def library(self, name, dll, names, delay=False, keep_stubs=True):
        """An import library (or a delay-load one) of `dll` for (name, bytes
        of arguments) pairs; an ordinal is written into the name ("X @7 NONAME")."""
        lines = []
        for n, size in names:
            word, _, rest = n.partition(" ")
            lines.append(("%s@%d" % (word, size) if self.arch == "i686" else word) +
                         (" " + rest if rest else ""))
        with open(self.path(name + ".def"), "w") as f:
            f.write("LIBRARY %s\nEXPORTS\n%s\n" % (dll, "\n".join(lines)))
        lib = self.path("lib%s.a" % name)
        run(tool(self.arch, "dlltool"), "--input-def", self.path(name + ".def"),
            "--output-delaylib" if delay else "--output-lib", lib, "--dllname", dll,
            *(["--kill-at"] if self.arch == "i686" else []))
        if delay and keep_stubs:  # what cmake/DelayLoad.cmake does to its libraries
            run(tool(self.arch, "objcopy"),
                "--rename-section=.text=.text$delaystub,contents,alloc,load,readonly,data", lib)
        return lib

    def program(self, name, source, *libraries):
        with open(self.path(name + ".c"), "w") as f:
            f.write(source)
        exe = self.path(name + ".exe")
        run(tool(self.arch, "gcc"), "-O1", "-o", exe, self.path(name + ".c"), *libraries, "-ldelayimp")
        return exe


def patch_slot(exe, copy, value_of, name="InternetOpenW"):
    """A copy of a program whose delay-load slot of `name` holds value_of(pe)."""
    shutil.copy(exe, copy)
    with PeFile(copy) as pe:
        slot = next(f.slot for d in pe.delay_imports() for f in d.functions if f.name == name)
        section = pe.section_of(slot)
        offset = section.raw_offset + slot - section.rva
        value, size = value_of(pe), pe.pointer_size
    with open(copy, "r+b") as f:
        f.seek(offset)
        f.write(value.to_bytes(size, "little"))
    return copy


def data_address(pe):
    data = next(s for s in pe.sections if s.name == ".data")
    return pe.image_base + data.rva


FOLDER = None
PROGRAMS = {}


def setUpModule():
    global FOLDER
    FOLDER = tempfile.mkdtemp(prefix="kelvora-pe-check-")
    for arch in FLAVOURS:
        b = Builder(arch, FOLDER)
        kept = b.library("net_delay", "wininet.dll", NET_NAMES, delay=True)
        dropped = b.library("net_delay_raw", "wininet.dll", NET_NAMES, delay=True, keep_stubs=False)
        plain_close = b.library("net_close", "wininet.dll", NET_NAMES[1:])
        lacking = b.library("net_lacking", "wininet.dll", [("KelvoraNoSuchNet", 0)], delay=True)
        p = {
            "sound": b.program("sound", NET, kept),
            "stubs dropped": b.program("dropped", NET, dropped),
            # The plain library comes first, so it resolves its name.
            "also imported": b.program("mixed", NET, plain_close, kept),
            "only imported": b.program("plain", NET, "-lwininet"),
            "name Wine lacks": b.program("name", CALLS % (("KelvoraNoSuchCall",) * 2), b.library(
                "k32_name", "kernel32.dll", [("KelvoraNoSuchCall", 0)])),
            "ordinal Wine lacks": b.program("ordinal", CALLS % (("KelvoraByOrdinal",) * 2), b.library(
                "k32_ordinal", "kernel32.dll", [("KelvoraByOrdinal @60000 NONAME", 0)])),
            "DLL Wine lacks": b.program("nodll", CALLS % (("KelvoraCall",) * 2), b.library(
                "nodll", "kelvora_nosuch.dll", [("KelvoraCall", 0)])),
            "delay-loaded name Wine lacks": b.program(
                "delay_name", CALLS % (("KelvoraNoSuchNet",) * 2), lacking),
        }
        p["slot 0"] = patch_slot(p["sound"], b.path("zero.exe"), lambda pe: 0)
        p["slot at data"] = patch_slot(p["sound"], b.path("data.exe"), data_address)
        PROGRAMS[arch] = p


def tearDownModule():
    shutil.rmtree(FOLDER, ignore_errors=True)


class PeCheckFindings(unittest.TestCase):
    def findings(self, arch, program, delay_loaded=("wininet.dll",), checked_as=None):
        wine = pe_check.WineModules(pe_check.FLAVOURS[checked_as or arch][2])
        return pe_check.check_program(PROGRAMS[arch][program], checked_as or arch, wine,
                                      delay_loaded)

    def test_each_fault_is_found_in_both_flavours(self):
        cases = [
            # (program, what the build asks to delay-load, the expected findings)
            ("sound", ("wininet.dll",), []),
            ("slot 0", ("wininet.dll",),
             ["delay-load slot of wininet.dll!InternetOpenW holds 0x0"]),
            ("slot at data", ("wininet.dll",),
             ["delay-load slot of wininet.dll!InternetOpenW holds", "section .data, which is not code"]),
            ("also imported", ("wininet.dll",),
             ["wininet.dll is both delay-loaded and imported"]),
            ("only imported", ("wininet.dll",),
             ["wininet.dll is imported, but the build asks to delay-load it"]),
            ("sound", ("wininet.dll", "iphlpapi.dll"),
             ["the build asks to delay-load iphlpapi.dll, but nothing of it is delay-loaded"]),
            ("name Wine lacks", (),
             ["imports kernel32.dll!KelvoraNoSuchCall, which Wine's kernel32.dll does not export"]),
            ("ordinal Wine lacks", (),
             ["imports kernel32.dll!#60000, which Wine's kernel32.dll does not export"]),
            ("DLL Wine lacks", (), ["imports kelvora_nosuch.dll, which Wine does not have"]),
            ("delay-loaded name Wine lacks", (),
             ["delay-loads wininet.dll!KelvoraNoSuchNet, which Wine's wininet.dll does not export"]),
        ]
        for arch in FLAVOURS:
            for program, delay_loaded, expected in cases:
                with self.subTest(arch=arch, program=program, delay_loaded=delay_loaded):
                    found = self.findings(arch, program, delay_loaded)
                    self.assertEqual(1 if expected else 0, len(found), found)
                    for part in expected:
                        self.assertIn(part, found[0])

    def test_the_i686_link_drops_the_stubs_of_a_raw_delay_load_library(self):
        # The fault the build's delay-load libraries are made to avoid: every
        # slot the program reads is 0 on i686. x86-64's ld keeps the stubs.
        found = self.findings("i686", "stubs dropped")
        self.assertEqual(["InternetCloseHandle", "InternetOpenW"],
                         sorted(f.split("!")[1].split()[0] for f in found), found)
        self.assertTrue(all("holds 0x00000000 (no section)" in f for f in found), found)
        self.assertEqual([], self.findings("x86_64", "stubs dropped"))

    def test_the_other_flavours_machine_is_found(self):
        for built, checked_as, machine in (("i686", "x86_64", "i386 (PE32)"),
                                           ("x86_64", "i686", "AMD64 (PE32+)")):
            with self.subTest(built=built):
                found = self.findings(built, "sound", checked_as=checked_as)
                self.assertEqual(["machine %s, not the %s flavour's" % (machine, checked_as)], found)

    def test_a_file_that_is_no_program(self):
        junk = os.path.join(FOLDER, "junk.exe")
        for content in (b"", b"MZ" + b"\0" * 100, b"not a program at all"):
            with self.subTest(content=content[:8]):
                with open(junk, "wb") as f:
                    f.write(content)
                found = pe_check.check_program(junk, "i686", pe_check.WineModules(
                    pe_check.FLAVOURS["i686"][2]))
                self.assertEqual(1, len(found), found)
                self.assertIn("cannot be read as a PE file", found[0])


class BuildFolder(unittest.TestCase):
    """The check over a build folder: its flavour from the CMake cache, the
    delay-load lists, what it skips, and the exit code."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kelvora-pe-build-")
        self.addCleanup(shutil.rmtree, self.folder, True)

    def make_build(self, arch, programs):
        build = os.path.join(self.folder, "build-" + arch)
        os.makedirs(os.path.join(build, "delayload"))
        with open(os.path.join(build, "CMakeCache.txt"), "w") as f:
            f.write("CMAKE_TOOLCHAIN_FILE:FILEPATH=/src/cmake/mingw-%s.cmake\n" % arch)
        with open(os.path.join(build, "delayload", "client.delay"), "w") as f:
            f.write("client.exe wininet.dll\n")
        for rel, source in programs.items():
            os.makedirs(os.path.dirname(os.path.join(build, rel)), exist_ok=True)
            shutil.copy(source, os.path.join(build, rel))
        return build

    def check(self, *args):
        import contextlib
        import io
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            code = pe_check.main(list(args))
        return code, out.getvalue().splitlines()

    def test_a_folder_per_flavour(self):
        for arch in FLAVOURS:
            with self.subTest(arch=arch):
                build = self.make_build(arch, {
                    "client/client.exe": PROGRAMS[arch]["sound"],
                    # A prefix's programs are Wine's, not the build's.
                    "wineprefix/drive_c/windows/x.exe": PROGRAMS[arch]["DLL Wine lacks"],
                })
                code, lines = self.check(build)
                self.assertEqual(0, code, lines)
                self.assertEqual(["%s (%s): 1 programs checked, 0 findings" % (build, arch)], lines)
                # The delay-load list names the program, wherever a copy lies.
                os.makedirs(os.path.join(build, "dist"))
                shutil.copy(PROGRAMS[arch]["only imported"], os.path.join(build, "dist", "client.exe"))
                code, lines = self.check(build)
                self.assertEqual(1, code, lines)
                self.assertEqual(["dist/client.exe: wininet.dll is imported, but the build asks to "
                                  "delay-load it",
                                  "%s (%s): 2 programs checked, 1 findings" % (build, arch)], lines)

    def test_folders_that_are_not_built(self):
        code, lines = self.check("--optional", os.path.join(self.folder, "nowhere"))
        self.assertEqual(2, code, lines)  # nothing checked: the usage
        code, lines = self.check(os.path.join(self.folder, "nowhere"))
        self.assertEqual(1, code)
        self.assertIn("no such build folder", lines[0])
        unknown = os.path.join(self.folder, "unknown")
        os.makedirs(unknown)
        code, lines = self.check(unknown)
        self.assertEqual(1, code)
        self.assertIn("its flavour is unknown", lines[0])
        code, lines = self.check("i686:" + unknown)
        self.assertEqual(1, code)
        self.assertIn("holds no programs", lines[0])


if __name__ == "__main__":
    unittest.main()
