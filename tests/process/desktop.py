"""Real input and pictures on the test's X display: windows found by name or
size, clicks and keys through xdotool, and colours read from screenshots
through ImageMagick. Wine turns the X events into mouse and key messages."""
import hashlib
import os
import re
import subprocess
import tempfile
import time

_GEOMETRY = re.compile(r"Position: (-?\d+),(-?\d+).*Geometry: (\d+)x(\d+)", re.S)


def _xdotool(*args, check=False):
    r = subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True, text=True)
    if check and r.returncode != 0:
        raise RuntimeError("xdotool %s: %s" % (" ".join(map(str, args)), r.stderr.strip()))
    return r.stdout


class Window:
    def __init__(self, wid):
        self.wid = wid
        out = _xdotool("getwindowgeometry", wid)
        m = _GEOMETRY.search(out)
        self.x, self.y, self.w, self.h = (int(v) for v in m.groups()) if m else (0, 0, 0, 0)
        self.name = _xdotool("getwindowname", wid).strip()

    def __repr__(self):
        return "<window %s %r %dx%d+%d+%d>" % (self.wid, self.name, self.w, self.h, self.x, self.y)

    def click(self, cx, cy, button=1):
        """A click at a point given in the window's own coordinates."""
        click(self.x + cx, self.y + cy, button)


def visible_windows():
    ids = _xdotool("search", "--onlyvisible", "--name", "").split()
    return [Window(i) for i in ids]


def find(name=None, size=None):
    """The first visible window with that exact name and/or size (w, h)."""
    for w in visible_windows():
        if name is not None and w.name != name:
            continue
        if size is not None and (w.w, w.h) != tuple(size):
            continue
        if w.w <= 1 or w.h <= 1:
            continue
        return w
    return None


# Deadlines are stretched for a loaded 2-core machine: waiting longer costs
# nothing when the event comes, and a deadline met only on a quiet machine
# fails a test for no fault.
DEADLINE_SCALE = float(os.environ.get("KELVORA_TEST_DEADLINE_SCALE", "3"))


def wait_for(predicate, timeout=10.0, step=0.1):
    """The first true value of predicate(), or its last value once the
    deadline (timeout seconds, stretched by DEADLINE_SCALE) has passed."""
    end = time.time() + timeout * DEADLINE_SCALE
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def wait_window(name=None, size=None, timeout=15.0):
    return wait_for(lambda: find(name, size), timeout)


def wait_gone(name=None, size=None, timeout=15.0):
    return wait_for(lambda: find(name, size) is None, timeout)


def click(x, y, button=1):
    # Down and up apart: Wine reads a press and a release, never a blur.
    _xdotool("mousemove", x, y, check=True)
    time.sleep(0.15)
    _xdotool("mousedown", button, check=True)
    time.sleep(0.08)
    _xdotool("mouseup", button, check=True)


def move(x, y):
    _xdotool("mousemove", x, y, check=True)


def type_text(text):
    """Types ASCII text into the window that has the keyboard focus."""
    _xdotool("type", "--delay", "40", text, check=True)


def key(name):
    _xdotool("key", name, check=True)


def screenshot(path=None):
    """The whole display as a PNG file; its path."""
    if path is None:
        fd, path = tempfile.mkstemp(suffix=".png", prefix="kelvora-shot-")
        os.close(fd)
    subprocess.run(["import", "-window", "root", path], check=True, capture_output=True)
    return path


def mean_brightness(shot, x, y, w, h):
    """The mean of an area of a screenshot, 0 (black) to 1 (white)."""
    out = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                          "-colorspace", "Gray", "-format", "%[fx:mean]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return float(out.strip())


def region(window, box):
    """A fingerprint of what an area (x, y, w, h in the window) shows now:
    equal fingerprints, equal pixels."""
    x, y, w, h = box
    out = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, window.x + x, window.y + y),
                          "+repage", "rgb:-"], capture_output=True, check=True).stdout
    return hashlib.sha1(out).hexdigest()


def wait_region_change(window, box, before, timeout=15.0):
    """Waits until the area no longer shows what `before` (a fingerprint
    taken before the click) showed: the click's new picture has been drawn."""
    return wait_for(lambda: region(window, box) != before, timeout, step=0.2)


def tray_icon():
    """Where Wine shows the first tray icon: its own tray window on the
    display when no other tray takes the icons. None when there is none."""
    tray = find(name="Wine System Tray")
    if tray is None:
        return None
    # Icons sit from the left, one per slot as high as the window.
    return tray.x + tray.h // 2, tray.y + tray.h // 2
