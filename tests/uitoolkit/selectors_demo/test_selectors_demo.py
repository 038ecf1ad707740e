"""Real input on the selectors demo window: xdotool moves the pointer,
clicks, turns the wheel and presses keys on the virtual display, and the
test checks what the demo reports and what the screen shows.

With UITOOLKIT_SELECTORS_SHOTS=<folder> the test also saves screenshots
there: the window, a combo box with its list open, the date picker with its
calendar down and the tree with its check boxes."""
import json
import os
import shutil
import subprocess
import tempfile
import time
import unittest

WINE_RUN = os.environ.get("VANTREL_WINE_RUN", "")
DEMO = os.environ.get("SELECTORS_DEMO", "")
SHOTS = os.environ.get("UITOOLKIT_SELECTORS_SHOTS", "")


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def middle(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def click(x, y, repeat=1):
    xdo("mousemove", x, y)
    time.sleep(0.05)
    if repeat > 1:
        xdo("click", "--repeat", repeat, "--delay", 60, 1)
    else:
        xdo("click", 1)


def key(name):
    xdo("key", name)


def wheel(x, y, down):
    xdo("mousemove", x, y)
    time.sleep(0.05)
    xdo("click", 5 if down else 4)


class Screen:
    """Pixels of a rectangle of the display, as (r, g, b) rows."""

    def __init__(self, rect):
        self.left, self.top = rect[0], rect[1]
        self.width, self.height = rect[2] - rect[0], rect[3] - rect[1]
        geometry = "%dx%d+%d+%d" % (self.width, self.height, self.left, self.top)
        raw = subprocess.run(["import", "-silent", "-window", "root", "-crop", geometry, "+repage",
                              "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
        self.raw = raw

    def at(self, x, y):
        """The pixel at screen point (x, y)."""
        i = 3 * ((y - self.top) * self.width + (x - self.left))
        return tuple(self.raw[i:i + 3])

    def points(self, match):
        return [(self.left + i % self.width, self.top + i // self.width)
                for i in range(self.width * self.height) if match(self.raw[3 * i:3 * i + 3])]


def dark(px):
    return sum(px) < 330


def not_white(px):
    return sum(px) < 720


def colour(hex_rgb):
    return tuple(int(hex_rgb[i:i + 2], 16) for i in (0, 2, 4))


def near(px, expected, slack=24):
    return all(abs(a - b) <= slack for a, b in zip(px, expected))


class Demo:
    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="selectors-demo-")
        self.report = os.path.join(self.folder, "report.txt")
        windows_path = "Z:" + self.report.replace("/", "\\")
        self.process = subprocess.Popen([WINE_RUN, DEMO, "--report", windows_path],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.seen = 0

    def lines(self):
        try:
            with open(self.report, encoding="utf-8") as f:
                return [json.loads(line) for line in f if line.strip()]
        except (FileNotFoundError, json.JSONDecodeError):
            return []

    def state(self):
        states = [line["state"] for line in self.lines() if "state" in line]
        return states[-1] if states else None

    def wait(self, what, test, timeout=15):
        """The first state (from now on) that passes `test`."""
        end = time.time() + timeout
        while time.time() < end:
            state = self.state()
            if state and test(state):
                time.sleep(0.15)  # let the paint that goes with it reach the screen
                return self.state()
            time.sleep(0.05)
        raise AssertionError("waited in vain for %s; last state: %s" % (what, json.dumps(self.state())))

    def notes(self):
        """Notifications since the last call."""
        lines = [line for line in self.lines() if "notify" in line]
        new = lines[self.seen:]
        self.seen = len(lines)
        return [(n["sender"], n["notify"], n["wParam"], n["lParam"]) for n in new]

    def shot(self, name):
        if SHOTS:
            os.makedirs(SHOTS, exist_ok=True)
            subprocess.run(["import", "-silent", "-window", "root", os.path.join(SHOTS, name)], check=True)

    def close(self):
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


@unittest.skipUnless(WINE_RUN and DEMO and shutil.which("xdotool"), "needs the demo and xdotool")
class SelectorsDemo(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.demo = Demo()
        cls.first = cls.demo.wait("the window", lambda s: s["tree"] is not None, timeout=60)
        time.sleep(0.5)
        cls.demo.shot("selectors_window.png")

    @classmethod
    def tearDownClass(cls):
        cls.demo.close()

    def park(self):
        """The pointer off every control, on the window's empty left column."""
        window = self.first["window"]
        xdo("mousemove", window[0] + 120, window[1] + 240)
        time.sleep(0.2)

    def click_elsewhere(self):
        """A click on the label over the tree: clear of the date picker's
        calendar, which hangs down over the left column."""
        window = self.first["window"]
        click(window[0] + 450, window[1] + 58)

    # ---- combo ----

    def combo_ink(self, state):
        """Where the combo's text is drawn: the dark pixels between its text
        padding (8 left, 30 right, clear of the arrow) as a tuple."""
        r = state["combo"]["rect"]
        shot = Screen([r[0] + 8, r[1] + 3, r[2] - 30, r[3] - 3])
        ink = shot.points(dark)
        self.assertTrue(ink, "no text painted in the combo")
        xs = [p[0] for p in ink]
        return (min(xs) - r[0], max(xs) - r[0])

    def test_1_combo(self):
        demo = self.demo
        demo.notes()
        painted = {}

        def closed_with(text):
            state = demo.wait("combo closed on " + text,
                              lambda s: s["combo"]["popup"] is None and s["combo"]["text"] == text)
            self.park()
            ink = self.combo_ink(demo.state())
            if text in painted:
                self.assertEqual(painted[text], ink, "the combo paints %s differently" % text)
            painted[text] = ink
            return state

        combo = self.first["combo"]
        self.assertEqual("Banana", combo["text"])
        closed_with("Banana")

        # A click opens the list under the combo, as wide; its border is the
        # skin's "dropbox" colour and its back white.
        click(*middle(combo["rect"]))
        state = demo.wait("the list", lambda s: s["combo"]["popup"] is not None)
        popup, rect = state["combo"]["popup"], state["combo"]["rect"]
        self.assertEqual([rect[0], rect[3], rect[2]], [popup[0], popup[1], popup[2]])
        self.assertEqual(5 * 24 + 4, popup[3] - popup[1])
        shot = Screen(popup)
        self.assertTrue(near(shot.at(popup[0], popup[1] + 30), colour("7A9CC0"), 8))
        self.assertTrue(near(shot.at(popup[2] - 1, popup[3] - 1), colour("7A9CC0"), 8))
        self.assertTrue(near(shot.at(popup[2] - 4, popup[3] - 2), colour("FFFFFF"), 4))
        # Items in the combo's item style: the selected one (Banana) light blue.
        self.assertTrue(near(shot.at(popup[2] - 4, popup[1] + 1 + 24 + 12), colour("D6E7F8"), 8))
        self.assertIn(("combo", "dropdown", 0, 0), demo.notes())

        # A click on an item selects it and closes the list.
        click(popup[0] + 40, popup[1] + 1 + 2 * 24 + 12)
        closed_with("Cherry")
        self.assertIn(("combo", "itemselect", 2, 1), demo.notes())

        # Keys on the closed combo, then in the open list.
        key("Down")
        closed_with("Damson plum")
        key("F4")
        demo.wait("the list by F4", lambda s: s["combo"]["popup"] is not None)
        key("Up")
        closed_with("Cherry")
        key("F4")
        demo.wait("the list again", lambda s: s["combo"]["popup"] is not None)
        key("Escape")
        closed_with("Cherry")
        key("F4")
        demo.wait("the list once more", lambda s: s["combo"]["popup"] is not None)
        key("Return")
        closed_with("Cherry")

        # The wheel over the closed combo, and over the open list.
        x, y = middle(combo["rect"])
        wheel(x, y, down=True)
        closed_with("Damson plum")
        click(x, y)
        state = demo.wait("the list for the wheel", lambda s: s["combo"]["popup"] is not None)
        popup = state["combo"]["popup"]
        wheel(popup[0] + 40, popup[1] + 30, down=False)
        closed_with("Cherry")

        # A click outside closes the list and keeps the selection.
        click(x, y)
        demo.wait("the list before a click outside", lambda s: s["combo"]["popup"] is not None)
        self.park()
        xdo("click", 1)
        closed_with("Cherry")
        notes = [n for n in demo.notes() if n[1] == "itemselect"]
        self.assertEqual([("combo", "itemselect", 3, 2), ("combo", "itemselect", 2, 3),
                          ("combo", "itemselect", 3, 2), ("combo", "itemselect", 2, 3)], notes)
        # Different texts, different paint.
        self.assertEqual(len(painted), len(set(painted.values())))

    def test_2_combo_box_opens_upwards(self):
        demo = self.demo
        box = self.first["combobox"]
        click(*middle(box["rect"]))
        state = demo.wait("the combo box list", lambda s: s["combobox"]["popup"] is not None)
        popup, rect = state["combobox"]["popup"], state["combobox"]["rect"]
        self.assertEqual([rect[0], rect[1], rect[2]], [popup[0], popup[3], popup[2]])
        self.assertEqual(4 * 24 + 4, popup[3] - popup[1])
        # The arrow part of the pushed state, inside the 4-pixel border.
        shot = Screen(rect)
        self.assertTrue(near(shot.at(rect[2] - 14, rect[1] + 8), colour("B9D4F0"), 10))
        demo.shot("combobox_open.png")
        click(popup[0] + 40, popup[1] + 1 + 3 * 24 + 12)
        demo.wait("Extra large", lambda s: s["combobox"]["popup"] is None
                  and s["combobox"]["text"] == "Extra large")

    # ---- date-time ----

    def test_3_date_time(self):
        demo = self.demo
        date = self.first["date"]
        self.click_elsewhere()
        demo.notes()

        def open_picker():
            click(*middle(date["rect"]))
            state = demo.wait("the picker", lambda s: s["date"]["picker"] is not None
                              and s["date"]["pickerFocused"])
            # Exactly over the control.
            self.assertEqual(date["rect"], state["date"]["picker"])
            return state

        # Typed: month, day, year.
        open_picker()
        for name in ["Right", "1", "Right", "5", "Right", "2", "0", "1", "5"]:
            key(name)
            time.sleep(0.1)
        self.click_elsewhere()
        demo.wait("the typed date", lambda s: s["date"]["picker"] is None
                  and s["date"]["text"] == "2015-01-05")

        # Escape keeps the text, Delete empties it.
        open_picker()
        key("Escape")
        demo.wait("Escape", lambda s: s["date"]["picker"] is None)
        self.assertEqual("2015-01-05", demo.state()["date"]["text"])
        open_picker()
        key("Delete")
        demo.wait("Delete", lambda s: s["date"]["picker"] is None and s["date"]["text"] == "")

        # Picked in the calendar: the edit goes on until a click elsewhere.
        state = open_picker()
        picker = state["date"]["picker"]
        click(picker[2] - 8, (picker[1] + picker[3]) // 2)
        state = demo.wait("the calendar", lambda s: s["date"]["calendar"] is not None
                          and s["date"]["day5"] is not None)
        self.assertIsNotNone(state["date"]["picker"])
        month = state["date"]["month"]
        demo.shot("datetime_calendar.png")
        click(*state["date"]["day5"])
        state = demo.wait("the calendar to close", lambda s: s["date"]["calendar"] is None)
        self.assertIsNotNone(state["date"]["picker"])
        self.assertTrue(state["date"]["pickerFocused"])
        self.assertEqual("", state["date"]["text"])
        self.click_elsewhere()
        demo.wait("the picked day", lambda s: s["date"]["picker"] is None
                  and s["date"]["text"] == month + "-05")

        # A click elsewhere with the calendar down ends the edit as well.
        state = open_picker()
        picker = state["date"]["picker"]
        click(picker[2] - 8, (picker[1] + picker[3]) // 2)
        demo.wait("the calendar again", lambda s: s["date"]["calendar"] is not None)
        self.click_elsewhere()
        demo.wait("the edit to end", lambda s: s["date"]["picker"] is None
                  and s["date"]["calendar"] is None and s["date"]["text"] == month + "-05")

        # The control reports nothing of its own.
        own = [n for n in demo.notes() if n[0] == "date" and n[1] not in ("setfocus", "killfocus")]
        self.assertEqual([], own)

    # ---- tree ----

    def tree_ink(self):
        """The lowest row of the tree (in rows of 18 from its top) that shows
        anything, and the pixels of the tree's inside."""
        tree = self.demo.state()["tree"]["rect"]
        inside = [tree[0] + 2, tree[1] + 2, tree[2] - 2, tree[3] - 2]
        shot = Screen(inside)
        ink = shot.points(not_white)
        lowest = max(p[1] for p in ink) if ink else tree[1]
        return (lowest - tree[1] - 1) // 18 + 1, shot.raw

    def rows(self):
        return {r["name"]: r for r in self.demo.state()["tree"]["rows"]}

    def test_4_tree(self):
        demo = self.demo
        self.park()
        all_rows, full = self.tree_ink()
        self.assertEqual(9, all_rows)

        # The folder button of Documents hides its five descendants.
        click(*middle(self.rows()["n_documents"]["folder"]))
        demo.wait("Documents collapsed", lambda s: not any(
            r["shown"] for r in s["tree"]["rows"] if r["name"] in ("n_reports", "n_drafts")))
        self.park()
        self.assertEqual(4, self.tree_ink()[0])
        click(*middle(self.rows()["n_documents"]["folder"]))
        demo.wait("Documents expanded", lambda s: all(r["shown"] for r in s["tree"]["rows"]))
        self.park()
        self.assertEqual((9, full), self.tree_ink())

        # A double click on Reports toggles it.
        click(*middle(self.rows()["n_reports"]["item"]), repeat=2)
        demo.wait("Reports collapsed", lambda s: not any(
            r["shown"] for r in s["tree"]["rows"] if r["name"] in ("n_summary", "n_plan")))
        self.park()
        self.assertEqual(7, self.tree_ink()[0])
        click(*middle(self.rows()["n_reports"]["item"]), repeat=2)
        demo.wait("Reports expanded", lambda s: all(r["shown"] for r in s["tree"]["rows"]))

        # A click on Documents' check box checks every descendant.
        click(*middle(self.rows()["n_documents"]["check"]))
        documents = ["n_documents", "n_reports", "n_summary", "n_plan", "n_letters", "n_drafts"]
        demo.wait("Documents checked", lambda s: all(
            r["checked"] == (r["name"] in documents) for r in s["tree"]["rows"]))
        self.park()
        rows = self.rows()
        shot = Screen(self.demo.state()["tree"]["rect"])
        for name, row in rows.items():
            box = row["check"]
            px = shot.at(box[0] + 4, box[1] + 14)  # inside the box, clear of the mark
            expected = colour("2E8B57") if name in documents else colour("FFFFFF")
            self.assertTrue(near(px, expected, 12), "%s: %s" % (name, px))
        demo.shot("tree_checked.png")


if __name__ == "__main__":
    unittest.main()
