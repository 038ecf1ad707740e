"""A reader of the parts of a PE file that say what it needs from other
modules: its machine, sections, exports, imports and delay-load imports.

GNU ld leaves the Delay Import Directory empty, so a program linked with a
dlltool delay-load library declares its delay imports nowhere: the
descriptors (one per DLL, from the library's head object) lie in .text as
data. They are found by their shape: attributes 1 (addresses are RVAs), the
RVAs of the DLL's name, of its module handle, of its slots (IAT) and of its
names (INT), and three zero words."""
import mmap
import re
import struct

MACHINE_NAMES = {0x14C: "i386", 0x8664: "AMD64", 0x1C4: "ARMNT", 0xAA64: "ARM64"}
PE32, PE32_PLUS = 0x10B, 0x20B

SCN_CNT_CODE = 0x00000020
SCN_CNT_INITIALIZED_DATA = 0x00000040
SCN_MEM_DISCARDABLE = 0x02000000
SCN_MEM_EXECUTE = 0x20000000
SCN_MEM_WRITE = 0x80000000

DIR_EXPORT, DIR_IMPORT, DIR_DELAY_IMPORT = 0, 1, 13

_DELAY_SHAPE = re.compile(rb"(?=\x01\x00\x00\x00(.{16})\x00{12})", re.S)
_MAX_ENTRIES = 65536


class PeError(Exception):
    """The file is not a PE image this reader understands."""


class Section:
    def __init__(self, name, rva, virtual_size, raw_offset, raw_size, flags):
        self.name, self.rva, self.virtual_size = name, rva, virtual_size
        self.raw_offset, self.raw_size, self.flags = raw_offset, raw_size, flags

    @property
    def size(self):
        return max(self.virtual_size, self.raw_size)

    def holds(self, rva):
        return self.rva <= rva < self.rva + self.size

    @property
    def executable(self):
        return bool(self.flags & (SCN_MEM_EXECUTE | SCN_CNT_CODE))

    @property
    def writable(self):
        return bool(self.flags & SCN_MEM_WRITE)


class Import:
    """One imported function: by `name`, or by `ordinal` when name is None.
    `slot` is the RVA of its IAT slot."""

    def __init__(self, name, ordinal, slot):
        self.name, self.ordinal, self.slot = name, ordinal, slot

    def __str__(self):
        return self.name if self.name is not None else "#%d" % self.ordinal


class ImportedDll:
    def __init__(self, dll, functions, descriptor=None):
        self.dll, self.functions, self.descriptor = dll, functions, descriptor


class PeFile:
    def __init__(self, path):
        self.path = path
        with open(path, "rb") as f:
            try:
                self._data = mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ)
            except ValueError as e:  # an empty file
                raise PeError("empty file") from e
        try:
            self._parse_headers()
        except struct.error as e:
            raise PeError("truncated headers") from e

    def close(self):
        self._data.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # ---- headers ----
    def _parse_headers(self):
        d = self._data
        if d[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        (self.machine, count, _, _, _, optional_size, self.characteristics) = \
            struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        if self.magic == PE32:
            self.image_base = struct.unpack_from("<I", d, opt + 28)[0]
            dirs_at, self.pointer_size = opt + 96, 4
        elif self.magic == PE32_PLUS:
            self.image_base = struct.unpack_from("<Q", d, opt + 24)[0]
            dirs_at, self.pointer_size = opt + 112, 8
        else:
            raise PeError("unknown optional header magic 0x%x" % self.magic)
        dir_count = struct.unpack_from("<I", d, dirs_at - 4)[0]
        self.directories = [struct.unpack_from("<II", d, dirs_at + 8 * i)
                            for i in range(min(dir_count, 16))]
        self.sections = []
        table = opt + optional_size
        for i in range(count):
            (name, vsize, rva, raw_size, raw_offset) = struct.unpack_from("<8sIIII", d, table + 40 * i)
            flags = struct.unpack_from("<I", d, table + 40 * i + 36)[0]
            self.sections.append(Section(name.rstrip(b"\0").decode("latin-1"), rva, vsize,
                                         raw_offset, raw_size, flags))

    @property
    def machine_name(self):
        return MACHINE_NAMES.get(self.machine, "0x%04x" % self.machine)

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    # ---- reading by RVA ----
    def section_of(self, rva):
        for s in self.sections:
            if s.holds(rva):
                return s
        return None

    def read(self, rva, size):
        """Bytes at an RVA as the loader maps them (zeros past the raw data),
        or None outside every section."""
        s = self.section_of(rva)
        if s is None or rva + size > s.rva + s.size:
            return None
        start = rva - s.rva
        raw = self._data[s.raw_offset + start:s.raw_offset + min(start + size, s.raw_size)] \
            if start < s.raw_size else b""
        return raw + b"\0" * (size - len(raw))

    def dword(self, rva):
        b = self.read(rva, 4)
        return None if b is None else struct.unpack("<I", b)[0]

    def pointer(self, rva):
        b = self.read(rva, self.pointer_size)
        return None if b is None else int.from_bytes(b, "little")

    def string(self, rva, limit=512):
        """The NUL-terminated ASCII text at an RVA, or None."""
        s = self.section_of(rva)
        if s is None:
            return None
        b = self.read(rva, min(limit, s.rva + s.size - rva))
        end = b.find(b"\0")
        if end <= 0:
            return None
        text = b[:end]
        if any(c < 0x20 or c > 0x7E for c in text):
            return None
        return text.decode("ascii")

    # ---- exports ----
    def exports(self):
        """(names, ordinals) the module exports, forwarders included."""
        rva, size = self.directory(DIR_EXPORT)
        if not rva or not size:
            return set(), set()
        header = self.read(rva, 40)
        if header is None:
            raise PeError("export directory outside the image")
        (_, _, _, _, _, base, functions, names, at_functions, at_names, at_ordinals) = \
            struct.unpack("<IIHHIIIIIII", header)
        ordinals = set()
        for i in range(min(functions, _MAX_ENTRIES)):
            if self.dword(at_functions + 4 * i):
                ordinals.add(base + i)
        found = set()
        for i in range(min(names, _MAX_ENTRIES)):
            name_rva = self.dword(at_names + 4 * i)
            name = self.string(name_rva) if name_rva else None
            if name:
                found.add(name)
        return found, ordinals

    # ---- imports ----
    def _thunks(self, names_rva, slots_rva):
        """The functions of one import table: names from `names_rva` (the
        INT, or the IAT itself), slots at `slots_rva`."""
        flag = 1 << (8 * self.pointer_size - 1)
        functions = []
        for i in range(_MAX_ENTRIES):
            entry = self.pointer(names_rva + i * self.pointer_size)
            if entry is None:
                raise PeError("import names run out of the image")
            if entry == 0:
                return functions
            slot = slots_rva + i * self.pointer_size
            if entry & flag:
                functions.append(Import(None, entry & 0xFFFF, slot))
            else:
                name = self.string((entry & 0x7FFFFFFF) + 2)
                if name is None:
                    raise PeError("an import name at 0x%x cannot be read" % entry)
                functions.append(Import(name, None, slot))
        raise PeError("an import table without its end")

    def imports(self):
        """The DLLs the loader resolves before the entry point."""
        rva, size = self.directory(DIR_IMPORT)
        found = []
        if not rva or not size:
            return found
        for i in range(_MAX_ENTRIES):
            desc = self.read(rva + 20 * i, 20)
            if desc is None:
                raise PeError("import directory runs out of the image")
            names, _, _, name_rva, slots = struct.unpack("<IIIII", desc)
            if not (names or name_rva or slots):
                return found
            dll = self.string(name_rva)
            if dll is None:
                raise PeError("an imported DLL's name cannot be read")
            found.append(ImportedDll(dll, self._thunks(names or slots, slots)))
        raise PeError("an import directory without its end")

    def delay_imports(self):
        """The delay-loaded DLLs: the Delay Import Directory's, and those whose
        descriptors only their shape shows (see the module's comment)."""
        found = {}
        rva, size = self.directory(DIR_DELAY_IMPORT)
        if rva and size:
            for i in range(_MAX_ENTRIES):
                words = self.read(rva + 32 * i, 32)
                if words is None or not any(words):
                    break
                d = self._delay_descriptor(rva + 32 * i, struct.unpack("<8I", words))
                if d is not None:
                    found[d.descriptor] = d
        for s in self.sections:
            if s.flags & SCN_MEM_DISCARDABLE or not s.raw_size:
                continue
            raw = self._data[s.raw_offset:s.raw_offset + s.raw_size]
            for m in _DELAY_SHAPE.finditer(raw):
                if m.start() % 4 or s.rva + m.start() in found:
                    continue
                at = s.rva + m.start()
                d = self._delay_descriptor(at, (1,) + struct.unpack("<4I", m.group(1)) + (0, 0, 0))
                if d is not None:
                    found[at] = d
        return [found[k] for k in sorted(found)]

    def _delay_descriptor(self, at, words):
        attributes, name_rva, handle, slots, names = words[:5]
        if not attributes & 1:  # old style: addresses, not RVAs
            name_rva, handle, slots, names = (v - self.image_base if v else 0
                                              for v in (name_rva, handle, slots, names))
        dll = self.string(name_rva, 256) if name_rva else None
        if dll is None or "." not in dll:
            return None
        handle_section = self.section_of(handle)
        if handle_section is None or not handle_section.writable:
            return None
        if self.section_of(slots) is None or self.section_of(names) is None or slots == names:
            return None
        try:
            functions = self._thunks(names, slots)
        except PeError:
            return None
        return ImportedDll(dll, functions, descriptor=at) if functions else None
