"""The catalogue pages of vantrel.exe driven with real input (xdotool): a
row's "下载" downloads the title's file (the fake installer, which writes
the title's name into the registry), the installer runs, the row shows the
installed look and the installation is reported once; a search typed into
the search edit and the back button; paging through 软件宝库 with the number,
"next" and "previous" buttons; a sub-category; "收藏" on an old row while a
sub-category loads."""
import glob
import json
import os
import select
import subprocess
import sys
import time
import unittest
import urllib.parse
import urllib.request

import desktop
import harness
import test_main_window as main_window

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "services"))
import catalogue_data  # noqa: E402

# Client coordinates of a catalogue page's controls (soft_*.xml and the rows).
LIST_LEFT, LIST_TOP, ROW_HEIGHT = 151, 136, 66
SEARCH_EDIT = (724, 115)
BACK_BTN = (598, 115)


def type_row(i):
    """The centre of sub-category row i (1 is the first, below the category row)."""
    return 75, 129 + 27 * (i - 1) + 13


def action_button(row, scrolled=True):
    """The action button of row `row` (0-based), as (x, y, w, h); the list's
    scroll bar takes 8 pixels when the rows overflow it."""
    right = 890 - (8 if scrolled else 0)
    return right - 81, LIST_TOP + ROW_HEIGHT * row + 18, 62, 28


def menu_button(row, scrolled=True):
    x, y, _, h = action_button(row, scrolled)
    return x + 62, y, 19, h


def collect_button(row, scrolled=True):
    """The centre of row `row`'s "收藏" button (48 x 18, left in the 80 pixel
    cell before the action cell, 23 pixels down)."""
    right = 890 - (8 if scrolled else 0)
    return right - 81 - 80 + 24, LIST_TOP + ROW_HEIGHT * row + 23 + 9


# The "请登录Kelvora！" box (message_wnd.xml) and its OK button.
MESSAGE_BOX = (197, 97)
MESSAGE_OK = (197 - 10 - 28, 97 - 12)


def name_cell(row):
    return LIST_LEFT + 80, LIST_TOP + ROW_HEIGHT * row + 13, 200, 40


def pager_buttons(pages):
    """Centres of the pager's previous, number and next buttons for a result
    of `pages` pages (at most five numbers), centred under the list."""
    numbers = min(pages, 5)
    width = 50 + 2 + numbers * 25 + 50
    left = LIST_LEFT + (739 - width) // 2
    y = 570 + 6 + 11
    prev = (left + 25, y)
    nums = [(left + 52 + 25 * i + 11, y) for i in range(numbers)]
    nxt = (left + 52 + 25 * numbers + 25, y)
    return prev, nums, nxt


def mean_rgb(shot, x, y, w, h):
    out = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-format",
                          "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return tuple(float(v) for v in out.split())


def first_exe_title(class_id):
    """The best-ranked title of a top-level category whose file is a program."""
    for soft_id in catalogue_data.ranked_ids(class_id):
        s = catalogue_data.SOFTWARE[soft_id]
        if s["soft_uname"].lower().endswith(".exe") and not s["name_expr"]:
            return soft_id, s["soft_name"], catalogue_data.ranked_ids(class_id).index(soft_id)
    raise AssertionError("no program among the sample titles")


class CataloguePagesProcess(harness.ClientTest):
    def setUp(self):
        super().setUp()
        self.main = None

    def log(self):
        return json.loads(self.session.ctl("log"))

    def requests(self):
        out = []
        for e in self.log():
            out.append(e["path"] + ("?" + e["raw_query"] if e["raw_query"] else ""))
        return out

    def area(self, box):
        x, y, w, h = box
        return self.main.x + x, self.main.y + y, w, h

    def rgb(self, box, shot=None):
        own = shot is None
        shot = shot or desktop.screenshot()
        try:
            return mean_rgb(shot, *self.area(box))
        finally:
            if own:
                os.remove(shot)

    def brightness(self, box):
        desktop.move(self.main.x + 60, self.main.y + 620)  # nothing hot under the pointer
        time.sleep(0.3)
        r, g, b = self.rgb(box)
        return (r + g + b) / 3

    def row_has_text(self, row):
        return self.brightness(name_cell(row)) < 0.97

    def wait_requests(self, request, count=1, timeout=30):
        return desktop.wait_for(lambda: self.requests().count(request) >= count, timeout)

    def start(self):
        self.main = self.start_main_window(timeout=40)
        self.assertTrue(self.wait_requests("/rank/1_1_20"), "tab 0 did not load")
        return self.main

    def click(self, point):
        self.main.click(*point)

    def test_download_and_install_a_row(self):
        soft_id, name, row = first_exe_title(1)
        self.assertLess(row, 5)
        installer = os.path.join(harness.TEST_BIN, "testbin", "fake_installer.exe")
        # An installed version older than the catalogue's: after a restart the
        # row offers the upgrade.
        options = '\n#kelvora-fake-setup# /name "%s" /version 0.1' % name
        served = "http://127.0.0.1:%d/_files/%d?path=%s&append=%s" % (
            self.session.port, soft_id, urllib.parse.quote(installer), urllib.parse.quote(options))
        with urllib.request.urlopen(served, timeout=10) as r:
            self.assertTrue(json.loads(r.read())["ok"])
        # The installed-software scan waits for the version database: the
        # rows say they are querying meanwhile.
        self.session.fault("delay", "/VDB", 1, "3")
        self.start()
        time.sleep(1.5)
        self.shot("catalogue_querying")
        # The download look once the scan is done.
        self.assertTrue(desktop.wait_for(lambda: self.is_blue(menu_button(row)), 40), "no download look")
        self.shot("catalogue_necessary")

        self.session.fault("throttle", "/files/", -1, "250000")
        # The button takes clicks once the scan is done (querying looks
        # like the download look, disabled): click until the strip shows.
        for _ in range(10):
            self.click(self.centre(action_button(row)))
            if desktop.wait_for(lambda: not self.is_blue(menu_button(row)), 5):
                break
        time.sleep(1.0)
        self.shot("catalogue_downloading")
        self.assertTrue(desktop.wait_for(lambda: self.is_green(menu_button(row)), 90),
                        "the row does not show the installed look")
        self.shot("catalogue_installed")

        log = self.log()
        paths = [e["path"] for e in log]
        self.assertIn("/file/%d" % soft_id, paths)
        first_file = paths.index("/file/%d" % soft_id)
        ranged = [e for e in log[first_file:] if e["path"] == "/files/%d.bin" % soft_id]
        self.assertTrue(ranged, "the file was not fetched")
        self.assertTrue(all(e["range"] and e["range"].startswith("bytes=") for e in ranged), ranged)

        key = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name
        found = subprocess.run([harness.WINE_RUN, "reg", "query", key], capture_output=True)
        self.assertEqual(0, found.returncode, "the installer's entry is not in the registry")

        active = [e["raw_query"] for e in log if e["path"] == "/VanTrelService.aspx"
                  and e["raw_query"].startswith("mod=activepro&")]
        self.assertEqual(1, len(active), active)
        fields = urllib.parse.parse_qs(active[0])
        mac, union = fields["mac"][0], fields["union_id"][0]
        # Without a union file the start report sends -1; naming the
        # downloaded installer then settles the process's union id on 1000,
        # and later reports carry that.
        if union == "-1":
            union = "1000"
        wanted = "/VanTrelService.aspx?mod=installsoft&mac=%s&soft_id=%d&union_id=%s" % (mac, soft_id, union)
        reports = [r for r in self.requests() if "mod=installsoft" in r]
        self.assertEqual([wanted], reports)

        # Started again: the scan finds version 0.1 of a 3.x title.
        harness.stop(self.proc, self.folder)
        self.proc = None
        self.assertTrue(desktop.wait_gone(name="Kelvora", timeout=30))
        self.start()
        self.assertTrue(desktop.wait_for(lambda: self.is_orange(menu_button(row)), 40), "no upgrade look")
        self.shot("catalogue_upgrade")

    def test_search_then_back(self):
        self.start()
        self.assertTrue(desktop.wait_for(lambda: self.row_has_text(3), 30))
        time.sleep(3.0)  # icons and the scan settle
        search = "/search/%E6%B5%8F%E8%A7%88%E5%99%A8"
        # The edit opens its native window on the click: keys sent before it
        # has the focus are lost, so a dropped paste means pasting again.
        # (xdotool cannot type characters beyond the keyboard's map.)
        for attempt in range(3):
            self.click(SEARCH_EDIT)
            time.sleep(1.5)
            desktop.key("ctrl+a")
            desktop.key("BackSpace")
            self.paste("浏览器")
            desktop.key("Return")
            if self.wait_requests(search, timeout=10):
                break
        self.assertTrue(self.wait_requests(search), self.requests())
        self.assertTrue(desktop.wait_for(lambda: not self.row_has_text(3), 20), "more than three rows")
        for row in range(3):
            self.assertTrue(self.row_has_text(row), "row %d is empty" % row)
        self.assertEqual(1, self.requests().count(search))
        self.shot("catalogue_search")
        self.click(BACK_BTN)
        self.assertTrue(desktop.wait_for(lambda: self.row_has_text(5), 20), "back did not return to the list")

    def test_paging_and_a_sub_category(self):
        self.start()
        self.click(main_window.TAB_CENTRES[1])
        self.assertTrue(self.wait_requests("/rank/2_1_20"), "软件宝库 did not load")
        self.assertTrue(desktop.wait_for(lambda: self.row_has_text(5), 20))
        self.shot("catalogue_market")
        prev, nums, nxt = pager_buttons(3)
        self.assertEqual(3, len(nums))
        self.click(nums[1])
        self.assertTrue(self.wait_requests("/rank/2_2_20"), "the number button did not page")
        self.click(nxt)
        self.assertTrue(self.wait_requests("/rank/2_3_20"), "next did not page")
        self.assertTrue(desktop.wait_for(lambda: not self.row_has_text(2), 20), "page 3 holds two titles")
        self.assertTrue(self.row_has_text(1))
        self.click(prev)
        self.assertTrue(desktop.wait_for(lambda: self.row_has_text(5), 20), "previous did not page")
        time.sleep(0.5)
        self.assertEqual(1, self.requests().count("/rank/2_2_20"), "page 2 was fetched again")

        self.click(type_row(1))
        self.assertTrue(self.wait_requests("/rank/201_1_20"), "the sub-category did not load")
        time.sleep(1.0)
        self.shot("catalogue_sub_category")
        for tab, rank in ((3, "/rank/3_1_20"), (4, "/rank/4_1_20")):
            self.click(main_window.TAB_CENTRES[tab])
            self.assertTrue(self.wait_requests(rank), "tab %d did not load" % tab)
            self.assertTrue(desktop.wait_for(lambda: self.row_has_text(2), 20))
            time.sleep(1.0)
            self.shot("catalogue_tab%d" % tab)

    def test_a_favourite_click_on_an_old_row_while_a_sub_category_loads(self):
        """The rows are replaced while the box the click opened is up: OK
        then returns into a button that was removed meanwhile."""
        self.start()
        self.click(main_window.TAB_CENTRES[1])
        self.assertTrue(self.wait_requests("/rank/2_1_20"), "软件宝库 did not load")
        self.assertTrue(desktop.wait_for(lambda: self.row_has_text(5), 20))
        for sub in (1, 2, 3):
            rank = "/rank/20%d_1_20" % sub
            # The answer waits while the box is up; the old rows take clicks.
            self.session.fault("delay", rank, 1, "4")
            before = self.rgb(name_cell(0))
            self.click(type_row(sub))
            self.assertTrue(self.wait_requests(rank), "the sub-category was not asked for")
            self.click(collect_button(2))
            box = desktop.wait_window(size=MESSAGE_BOX, timeout=20)
            self.assertIsNotNone(box, "round %d: no login box" % sub)
            # The new rows show behind the box.
            self.assertTrue(desktop.wait_for(lambda: self.rgb(name_cell(0)) != before, 30),
                            "round %d: the rows were not replaced" % sub)
            self.shot("catalogue_favourite_box_%d" % sub)
            box.click(*MESSAGE_OK)
            self.assertTrue(desktop.wait_gone(size=MESSAGE_BOX, timeout=20), "round %d: the box stayed" % sub)
            self.assertIsNone(self.proc.poll(), "round %d: the client ended" % sub)
            self.assertTrue(self.row_has_text(0), "round %d: no rows" % sub)
        self.shot("catalogue_favourite_after")
        self.assertIsNone(self.proc.poll())
        self.assertEqual([], glob.glob(self.folder.file("*.dmp")) + glob.glob(self.folder.file("data", "*.dmp")))

    # Input helpers.

    def paste(self, text):
        """Puts the text on the X clipboard and presses Ctrl+V. A helper owns
        the clipboard until the test ends: the client reads it from that
        helper whenever it pastes."""
        holder = subprocess.Popen([sys.executable, "-c", (
            "import sys, tkinter\n"
            "r = tkinter.Tk(); r.withdraw(); r.clipboard_clear(); r.clipboard_append(sys.argv[1]); r.update()\n"
            "sys.stdout.write('ready\\n'); sys.stdout.flush()\n"
            "r.tk.createfilehandler(sys.stdin, tkinter.READABLE, lambda *a: r.destroy())\n"
            "r.mainloop()\n"), text], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.addCleanup(self.end_holder, holder)
        readable, _, _ = select.select([holder.stdout], [], [], 60 * desktop.DEADLINE_SCALE)
        self.assertTrue(readable and holder.stdout.readline() == "ready\n", "the clipboard holder did not start")
        desktop.key("ctrl+v")
        time.sleep(0.5)

    @staticmethod
    def end_holder(holder):
        holder.stdin.close()
        try:
            holder.wait(timeout=60)
        except subprocess.TimeoutExpired:
            holder.kill()
            holder.wait()

    # Colours of the action button's looks.

    @staticmethod
    def centre(box):
        x, y, w, h = box
        return x + w // 2, y + h // 2

    def is_blue(self, box):
        r, g, b = self.rgb(box)
        return b > r + 0.2 and b > g + 0.1

    def is_green(self, box):
        r, g, b = self.rgb(box)
        return g > r + 0.15 and g > b + 0.1

    def is_orange(self, box):
        r, g, b = self.rgb(box)
        return r > b + 0.3 and r > g


if __name__ == "__main__":
    unittest.main()
