"""A private Windows session for the setup programs' process tests: a Wine
prefix of its own (a cheap copy of one prepared once per build), its own
HOME, its own virtual display and its own session of the local services.

The install package writes the machine's registry, the start menu and the
desktop: none of that may reach the project's shared prefix or the real
HOME, and no two test classes may see each other's windows."""
import json
import os
import re
import shutil
import subprocess
import tempfile
import time
import urllib.request

DIST = os.environ.get("VANTREL_TEST_DIST", "")
WINE_RUN = os.environ.get("VANTREL_WINE_RUN", "")
SERVICES = os.environ.get("VANTREL_TEST_SERVICES", "")
BUILD = os.environ.get("VANTREL_TEST_BIN", "")
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TESTBIN = os.path.join(BUILD, "testbin")
SETUP_BIN = os.path.join(BUILD, "setup")
SHOTS = os.path.join(BUILD, "setup-shots")
AMD64 = os.path.basename(BUILD.rstrip("/")).endswith("x86_64")
LOADER = "/usr/lib/wine/wine64" if AMD64 else "wine"
USER = os.environ.get("USER") or "root"

# Files Wine only reads: hard links are enough in a copy of the prefix.
LINKABLE = (".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".cpl", ".tlb", ".nls", ".ttf",
            ".fon", ".mui", ".ax", ".ds", ".msstyles", ".com", ".vxd", ".winmd")


def _template_prefix():
    """The prepared prefix every private one is copied from (made once)."""
    template = os.path.join(BUILD, "setup-tests", "prefix-template")
    ready = template + ".ready"
    if os.path.exists(ready):
        return template
    os.makedirs(os.path.dirname(template), exist_ok=True)
    import fcntl
    with open(template + ".copy-lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(ready):
            return template
        shutil.rmtree(template, ignore_errors=True)
        home = template + "-home"
        os.makedirs(home, exist_ok=True)
        env = dict(os.environ, HOME=home)
        env.pop("DISPLAY", None)
        subprocess.run([os.path.join(SOURCE, "scripts", "wine-prefix.sh"), template, LOADER],
                       env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=dict(env, WINEPREFIX=template))
        # The user's shell folders point into HOME: make them the prefix's own.
        users = os.path.join(template, "drive_c", "users", USER)
        for name in os.listdir(users):
            path = os.path.join(users, name)
            if os.path.islink(path):
                os.remove(path)
                os.makedirs(path)
        open(ready, "w").close()
    return template


def _copy_prefix(template, target):
    for root, dirs, files in os.walk(template):
        rel = os.path.relpath(root, template)
        out = os.path.join(target, rel)
        os.makedirs(out, exist_ok=True)
        for name in list(dirs):
            src = os.path.join(root, name)
            if os.path.islink(src):
                os.symlink(os.readlink(src), os.path.join(out, name))
                dirs.remove(name)
        for name in files:
            src, dst = os.path.join(root, name), os.path.join(out, name)
            if os.path.islink(src):
                os.symlink(os.readlink(src), dst)
            elif name.lower().endswith(LINKABLE):
                os.link(src, dst)
            else:
                shutil.copy2(src, dst)


class Window:
    def __init__(self, line):
        hwnd, pid, visible, enabled, cls, rect, title = line.split("\t", 6)
        self.hwnd, self.pid, self.cls, self.title = hwnd, int(pid), cls, title
        self.visible, self.enabled = visible == "1", enabled == "1"
        self.left, self.top, self.right, self.bottom = (int(v) for v in rect.split(","))

    def at(self, x, y):
        """Screen point of a point inside the window."""
        return self.left + x, self.top + y

    def __repr__(self):
        return "<%s %s %r %d,%d>" % (self.cls, self.hwnd, self.title, self.left, self.top)


class WineSession:
    def __init__(self, name):
        self.name = name
        sessions = os.path.join(BUILD, "setup-tests")
        os.makedirs(sessions, exist_ok=True)  # a fresh build folder has none yet
        self.root = tempfile.mkdtemp(prefix="kelvora-%s-" % name, dir=sessions)
        self.prefix = os.path.join(self.root, "prefix")
        self.home = os.path.join(self.root, "home")
        os.makedirs(self.home)
        self._make_prefix()
        self.xvfb, self.display = self._start_display()
        self.port = json.loads(self._get(_shared_port(), "/_ctl/session"))["port"]
        host = "127.0.0.1:%d" % self.port
        self.env = dict(os.environ, HOME=self.home, WINEPREFIX=self.prefix, KELVORA_WINEPREFIX=self.prefix,
                        DISPLAY=self.display, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        for role in ("CATALOGUE", "LOGIN", "USER", "REPORT"):
            self.env["VANTREL_%s_HOST" % role] = host
        for proxy in ("http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "no_proxy", "NO_PROXY"):
            self.env.pop(proxy, None)
        if AMD64:
            self.env["WINELOADER"] = LOADER
        os.makedirs(SHOTS, exist_ok=True)
        self._answers = {}
        # Start the session's server and system processes now, outside any test.
        self.run_wine("cmd.exe", "/c", "exit", timeout=120)

    # ---- life cycle ----
    def _make_prefix(self):
        _copy_prefix(_template_prefix(), self.prefix)

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        try:
            self._get(self.port, "/_ctl/close")
        except OSError:
            pass
        self.xvfb.terminate()
        try:
            self.xvfb.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.xvfb.kill()
        shutil.rmtree(self.root, ignore_errors=True)

    @staticmethod
    def _start_display():
        read, write = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], pass_fds=(write,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read)
        return xvfb, ":" + number.decode().strip()

    @staticmethod
    def _get(port, path):
        with urllib.request.urlopen("http://127.0.0.1:%d%s" % (port, path), timeout=10) as r:
            return r.read()

    # ---- paths ----
    def c_path(self, windows_path):
        """The Linux path of a path on the session's drive C:."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))

    def user_folder(self, *parts):
        return os.path.join(self.prefix, "drive_c", "users", USER, *parts)

    def start_menu(self, *parts):
        return self.user_folder("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                                *parts)

    def desktop(self, *parts):
        return self.user_folder("Desktop", *parts)

    def plant(self, windows_path, source):
        """Copies a file to a path on drive C:."""
        target = self.c_path(windows_path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy(source, target)
        return target

    def plant_recorders(self):
        """Recorders where an unquoted path with a blank would start a program."""
        recorder = os.path.join(TESTBIN, "start_recorder.exe")
        return [self.plant(p, recorder) for p in ("C:\\dir.exe", "C:\\Program.exe")]

    def recorded_starts(self):
        starts = []
        for p in ("C:\\dir.exe", "C:\\Program.exe"):
            log = self.c_path(p) + ".starts"
            if os.path.exists(log):
                with open(log, encoding="utf-8") as f:
                    starts += f.read().splitlines()
        return starts

    # ---- programs ----
    def _command(self, program, args):
        return [WINE_RUN, program, *args]

    def run_wine(self, program, *args, timeout=120):
        return subprocess.run(self._command(program, args), env=self.env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def start(self, program, *args, env=None):
        return subprocess.Popen(self._command(program, args), env=dict(self.env, **(env or {})),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def probe(self, *args, timeout=60):
        result = self.run_wine(os.path.join(TESTBIN, "setup_probe.exe"), *args, timeout=timeout)
        return result.returncode, result.stdout.decode("utf-8", "replace")

    def windows(self, cls=None, visible_only=True):
        code, out = self.probe("windows")
        found = [Window(line) for line in out.splitlines() if line.count("\t") >= 6]
        return [w for w in found if (cls is None or w.cls == cls) and (w.visible or not visible_only)]

    def wait_window(self, cls, timeout=60, gone=False):
        """The first visible window of a class once it stands still (a box is
        shown first and centred right after), or None; with `gone`, whether
        no such window is left."""
        end = time.time() + timeout
        last = None
        while time.time() < end:
            # A window being destroyed is hidden first: gone means gone.
            found = self.windows(cls, visible_only=not gone)
            if gone and not found:
                return True
            if found and not gone:
                w = found[0]
                if last is not None and (w.hwnd, w.left, w.top) == (last.hwnd, last.left, last.top):
                    return w
                last = w
                time.sleep(0.4)
                continue
            last = None
            time.sleep(0.3)
        return None if not gone else False

    def edit_text(self, window):
        code, out = self.probe("edittext", window.hwnd)
        return out if code == 0 else None

    def shortcut_target(self, linux_path):
        windows_path = "Z:" + linux_path.replace("/", "\\")
        code, out = self.probe("lnk", windows_path)
        return out if code == 0 else None

    def _asked(self, what):
        """A probe's answer about what a program of the tested flavour sees
        (asked once per session)."""
        if what not in self._answers:
            code, out = self.probe(what)
            if code != 0 or not out.strip():
                raise RuntimeError("setup_probe %s answered %d: %r" % (what, code, out))
            self._answers[what] = out.strip()
        return self._answers[what]

    def program_files(self):
        """The program files folder of the flavour's programs: "C:\\Program
        Files (x86)" for 32-bit ones on a 64-bit system."""
        return self._asked("programfiles")

    def reg(self, *args):
        """reg.exe in the registry view the flavour's programs write."""
        result = self.run_wine("reg.exe", *args, "/reg:" + self._asked("regview"))
        return result.returncode, result.stdout.decode("utf-8", "replace")

    def reg_values(self, key):
        """{name: (type number, data)} of a key under HKEY_LOCAL_MACHINE, in
        the view of the flavour's programs, or None without the key."""
        code, out = self.probe("regvalues", key)
        if code != 0:
            return None
        values = {}
        for line in out.splitlines():
            name, kind, data = line.split("\t", 2)
            values[name] = (int(kind), data)
        return values

    # ---- input and pictures ----
    def xdotool(self, *args):
        subprocess.run(["xdotool", *[str(a) for a in args]], env=self.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def click(self, window, x, y):
        sx, sy = window.at(x, y)
        self.xdotool("mousemove", sx, sy, "click", "1")
        time.sleep(0.4)

    def key(self, *names):
        self.xdotool("key", *names)
        time.sleep(0.4)

    def type_text(self, text):
        self.xdotool("type", "--delay", "30", text)
        time.sleep(0.3)

    def screenshot(self, name):
        path = os.path.join(SHOTS, name + ".png")
        subprocess.run(["import", "-display", self.display, "-window", "root", path], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        return path

    def pixel(self, x, y):
        """(r, g, b) of a screen pixel."""
        out = subprocess.run(["import", "-display", self.display, "-window", "root", "-crop",
                              "1x1+%d+%d" % (x, y), "-depth", "8", "rgb:-"], env=self.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30).stdout
        return tuple(out[:3]) if len(out) >= 3 else None

    def region(self, window, rect):
        """Raw RGB bytes of a rectangle (left, top, right, bottom) inside a window."""
        l, t, r, b = rect
        out = subprocess.run(["import", "-display", self.display, "-window", "root", "-crop",
                              "%dx%d+%d+%d" % (r - l, b - t, window.left + l, window.top + t),
                              "-depth", "8", "rgb:-"], env=self.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30).stdout
        return out

    # ---- reports ----
    def reset_reports(self):
        self._get(self.port, "/_ctl/reset")

    def report_mods(self):
        log = json.loads(self._get(self.port, "/_ctl/log"))
        mods = []
        for entry in log:
            query = entry.get("raw_query", "")
            for part in query.split("&"):
                if part.startswith("mod="):
                    mods.append((part[4:], entry.get("time", 0)))
        return mods


def _shared_port():
    with open(os.path.join(SERVICES, "port")) as f:
        return int(f.read().strip())


# ---- the programs and where their controls are (window coordinates, as
# laid out by the skins in setup/*/skin/) ----
INSTALLER = os.path.join(SETUP_BIN, "installer.exe")
# The same program with held_start.exe as its package (Hold).
HELD_INSTALLER = os.path.join(BUILD, "tests", "setup", "installer_held_start.exe")
WIZARD = "MainFrameWnd_Installer_QARVO"
AGREEMENT = "agreement_wnd"
FINISH = "startup_wnd"
REMOVAL = "MainFrameWnd_Uninstaller_QARVO"
QUESTION = "message_box"
NOTICE = "message_wnd"

WIZARD_AT = {"close": (541, 21), "folder": (187, 288), "browse": (374, 288),
             "install": (468, 288), "check": (48, 334), "check_face": (44, 339),
             "licence": (126, 334),
             "quiet": (470, 336), "install_face": (420, 279)}
WIZARD_PROGRESS = (40, 292, 522, 304)
AGREEMENT_AT = {"close": (396, 20), "agree": (255, 381), "reject": (351, 381)}
# The licence text (less its bar), and the bar: its middle column with the
# top and bottom of the track between the two arrows.
AGREEMENT_TEXT = (24, 58, 384, 346)
AGREEMENT_BAR = (391, 70, 334)
FINISH_AT = {"close": (475, 21), "start": (248, 235), "quiet": (248, 193)}
QUESTION_AT = {"ok": (87, 75), "cancel": (156, 75)}
NOTICE_AT = {"ok": (155, 75)}
REMOVAL_AT = {"close": (387, 18), "uninstall": (334, 230), "complete": (334, 230),
              "quiet": (204, 104), "complete_face": (296, 222)}
REMOVAL_PROGRESS = (24, 150, 383, 160)

PRODUCT_KEY = "SOFTWARE\\Kelvora"
UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvora"
BLANK_FOLDER = "C:\\dir with blank"
PACKAGE_FILE = "8EA66DFE-BDEF-4BD5-9F8C-7E4398E307CB_bin.exe"


def target_of(folder):
    return folder + "\\Kelvora\\1.0.2.7"


# The client's main window and its installed-programs tab (skin.xml).
CLIENT = "MainFrameWnd_Vantrel_QARVO"
UNINSTALL_TAB = (190 + 86 * 2 + 43, 52)
_PAGE_SHOWN = re.compile(r"UninstallSoft::ShowPage: page (\d+) of (\d+) records: (.*)$")


def installed_pages(session, folder):
    """Every page of installed programs the client in `folder` has shown, from
    its test seam's log lines (VANTREL_TEST_LOG_INSTALLED_ROWS): (page,
    records, [(name, date, size)])."""
    try:
        with open(session.c_path(folder + "\\data\\vantrel.log"), encoding="utf-8") as f:
            lines = f.read().splitlines()
    except FileNotFoundError:
        return []
    pages = []
    for line in lines:
        m = _PAGE_SHOWN.search(line)
        if m:
            rows = [tuple(r.split("|")) for r in m.group(3).split("; ")] if m.group(3) else []
            pages.append((int(m.group(1)), int(m.group(2)), rows))
    return pages


def is_blue(rgb):
    return rgb is not None and rgb[2] > 150 and rgb[2] - rgb[0] > 60


def is_light(rgb):
    return rgb is not None and min(rgb) > 200


def folder_tree(path):
    """{relative path: file bytes, or None for a folder} of a folder."""
    tree = {}
    for root, dirs, files in os.walk(path):
        rel = os.path.relpath(root, path)
        if rel != ".":
            tree[rel] = None
        for name in files:
            with open(os.path.join(root, name), "rb") as f:
                tree[os.path.normpath(os.path.join(rel, name))] = f.read()
    return tree


def wine_path(unix_path):
    """A Linux path as the session's Windows programs see it."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


class Hold:
    """Work held open until the test releases it: held_start.exe, planted in
    place of a program, waits while the hold file exists and then runs
    `then` (a Windows path) with its own arguments."""

    def __init__(self, session, then):
        self.file = tempfile.mktemp(prefix="hold-", dir=session.root)
        open(self.file, "w").close()
        self.env = {"VANTREL_HOLD_FILE": wine_path(self.file), "VANTREL_HOLD_THEN": then}

    def reached(self):
        """The planted program has started and waits."""
        return os.path.exists(self.file + ".held")

    def release(self):
        if os.path.exists(self.file):
            os.remove(self.file)


import unittest  # noqa: E402


class SessionTestCase(unittest.TestCase):
    """One private Windows session per test class; every test starts from a
    machine without Kelvora."""
    session_name = "setup"

    @classmethod
    def setUpClass(cls):
        cls.s = WineSession(cls.session_name)

    @classmethod
    def tearDownClass(cls):
        cls.s.close()

    def setUp(self):
        self.procs = []
        self.s.reset_reports()
        self.clean_machine()
        self.s.plant_recorders()

    def tearDown(self):
        for p in self.procs:
            if p.poll() is None:
                p.kill()
                p.wait(timeout=30)

    def spawn(self, program, *args, env=None):
        p = self.s.start(program, *args, env=env)
        self.procs.append(p)
        return p

    def shot(self, name):
        return self.s.screenshot(name)

    def clean_machine(self):
        s = self.s
        for key in (PRODUCT_KEY, UNINSTALL_KEY):
            s.reg("delete", "HKLM\\" + key, "/f")
        for folder in (BLANK_FOLDER, s.program_files() + "\\Kelvora", "C:\\blocked"):
            shutil.rmtree(s.c_path(folder), ignore_errors=True)
        shutil.rmtree(s.start_menu("Kelvora"), ignore_errors=True)
        for path in (s.desktop("Kelvora.lnk"), s.user_folder("Temp", PACKAGE_FILE),
                     s.c_path("C:\\dir.exe.starts"), s.c_path("C:\\Program.exe.starts")):
            if os.path.exists(path):
                os.remove(path)

    # ---- work held open ----
    def held_installer(self):
        """The setup program whose package is held until the test releases
        it: (its path, the Hold)."""
        hold = Hold(self.s, wine_path(os.path.join(SETUP_BIN, "kelvora_package.exe")))
        self.addCleanup(hold.release)
        return HELD_INSTALLER, hold

    def hold_package_uninstaller(self, target):
        """Holds the package's uninstaller of an installed folder until the
        test releases it; the Hold."""
        real = self.s.c_path(target + "\\slient.exe")
        os.rename(real, self.s.c_path(target + "\\slient-held.exe"))
        shutil.copy(os.path.join(TESTBIN, "held_start.exe"), real)
        hold = Hold(self.s, target + "\\slient-held.exe")
        self.addCleanup(hold.release)
        return hold

    # ---- common steps ----
    def install_silently(self, folder=BLANK_FOLDER):
        result = self.s.run_wine(INSTALLER, "slient", folder, timeout=180)
        self.assertEqual(0, result.returncode, "silent install into %s" % folder)
        return target_of(folder)

    def assert_installed(self, target):
        """Files, keys and shortcuts of a complete installation in `target`."""
        s = self.s
        expected = folder_tree(DIST)
        got = folder_tree(s.c_path(target))
        self.assertIn("slient.exe", got)
        slient = got.pop("slient.exe")
        self.assertTrue(slient.startswith(b"MZ"))
        self.assertEqual(sorted(expected), sorted(got))
        for rel in expected:
            self.assertTrue(expected[rel] == got[rel], "%s differs from the program folder" % rel)
        product = s.reg_values(PRODUCT_KEY)
        self.assertEqual({"Install_Dir": (1, target), "Version": (1, "1.0.2.1")}, product)
        entry = s.reg_values(UNINSTALL_KEY)
        self.assertEqual({
            "DisplayName": (1, "Kelvora"),
            "UninstallString": (1, '"%s\\uninstaller.exe"' % target),
            "DisplayIcon": (1, '"%s\\skin\\vantrel.ico"' % target),
            "Publisher": (1, "Vantrel软件工作室"),
            "DisplayVersion": (1, "1.0.2.3"),
            "VersionMajor": (4, "1"), "VersionMinor": (4, "1"),
            "NoModify": (4, "1"), "NoRepair": (4, "1"),
        }, entry)
        shortcuts = {
            s.start_menu("Kelvora", "卸载.lnk"): target + "\\uninstaller.exe",
            s.start_menu("Kelvora", "Kelvora.lnk"): target + "\\vantrel.exe",
            s.desktop("Kelvora.lnk"): target + "\\vantrel.exe",
        }
        for link, points_at in shortcuts.items():
            self.assertEqual(points_at, s.shortcut_target(link), link)

    def assert_nothing_installed(self):
        s = self.s
        self.assertIsNone(s.reg_values(PRODUCT_KEY))
        self.assertIsNone(s.reg_values(UNINSTALL_KEY))
        self.assertFalse(os.path.exists(s.start_menu("Kelvora")))
        self.assertFalse(os.path.exists(s.desktop("Kelvora.lnk")))

    def assert_no_stray_start(self):
        self.assertEqual([], self.s.recorded_starts(), "a program path was split at a blank")

    def mods(self):
        return [m for m, _ in self.s.report_mods()]

    def wait_for(self, predicate, timeout=30, what="condition"):
        end = time.time() + timeout
        while time.time() < end:
            if predicate():
                return
            time.sleep(0.3)
        self.fail("timed out waiting for " + what)

    def type_into_folder_box(self, wizard, text):
        self.s.click(wizard, *WIZARD_AT["folder"])
        self.s.key("ctrl+a")
        self.s.type_text(text)
        self.assertEqual(text, self.s.edit_text(wizard))

    def folder_box_text(self, wizard):
        """The folder box's text, read from its native box (which exists while
        the box has the focus; a click right after another window closed may
        only activate the wizard)."""
        text = None
        for _ in range(3):
            self.s.click(wizard, *WIZARD_AT["folder"])
            text = self.s.edit_text(wizard)
            if text is not None:
                break
        self.s.click(wizard, *WIZARD_AT["quiet"])
        return text

    def system_close(self, window):
        """The system menu's Close, as a window manager would send it."""
        self.assertEqual(0, self.s.probe("sysclose", window.hwnd)[0])

    def assert_closing_asks_first(self, proc, window, at, shot):
        """The close button, Escape and the system close all ask; Cancel, and
        Escape in the question, keep the window and the program. `at` holds
        the window's "close" and "quiet" (a place that takes a click and does
        nothing)."""
        for opener, answer in (("close", "cancel"), ("Escape", "Escape"), ("system", "cancel")):
            with self.subTest(opener=opener):
                if opener == "close":
                    self.s.click(window, *at["close"])
                elif opener == "system":
                    self.system_close(window)
                else:
                    self.s.click(window, *at["quiet"])
                    self.s.key("Escape")
                box = self.s.wait_window(QUESTION, 20)
                self.assertIsNotNone(box, "no question")
                if opener == "close":
                    self.shot(shot)
                if answer == "cancel":
                    self.s.click(box, *QUESTION_AT["cancel"])
                else:
                    self.s.key("Escape")
                self.assertTrue(self.s.wait_window(QUESTION, 20, gone=True))
                time.sleep(0.5)
                self.assertIsNone(proc.poll())
                self.assertTrue(self.s.windows(window.cls))

    def pixel_in(self, window, point):
        return self.s.pixel(*window.at(*point))

    def eventually(self, read, expected, timeout=10):
        """The value of `read()` once it equals `expected` (a repaint may
        lag behind the state), or the last one read."""
        end = time.time() + timeout
        value = read()
        while value != expected and time.time() < end:
            time.sleep(0.3)
            value = read()
        return value
