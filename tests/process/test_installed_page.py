"""The installed-programs page (tab 2) of vantrel.exe with real input:
uninstall entries written by the fake installer, newest first, 20 a page,
the pager clicked to page 3, entries added between showings, and the
"卸载" button starting a program's own uninstall command.

A test seam (VANTREL_TEST_LOG_INSTALLED_ROWS) makes the page log what its
rows show: "page N of M records: name|date|size; ...".
"""
import os
import re
import shutil
import tempfile
import time
import unittest

import desktop
import harness

# Client coordinates in the main window (skin.xml, uninstall_soft.xml).
UNINSTALL_TAB = (190 + 86 * 2 + 43, 52)
MARKET_TAB = (190 + 86 * 1 + 43, 52)
PAGER_Y = 584
PAGER_LEFT = (888 - 177) // 2 + 1      # a pager of three number buttons
NUMBER_X = [PAGER_LEFT + 52 + 25 * i + 11 for i in range(5)]
FOUR_PAGES_LEFT = (888 - 202) // 2 + 1  # and of four
FIRST_ROW_Y = 95 + 40 + 30 + 24
ROW_HEIGHT = 48
UNINSTALL_X = 810

PREFIX = "K18P_"
SHOWN = re.compile(r"UninstallSoft::ShowPage: page (\d+) of (\d+) records: (.*)$")


def entries_file(rows):
    """A /list file for the fake installer: key|name|version|date|size|uninstall."""
    fd, path = tempfile.mkstemp(suffix=".txt", prefix="kelvora-entries-")
    with os.fdopen(fd, "w", encoding="utf-8") as f:
        for row in rows:
            f.write("|".join(row) + "\n")
    return path


def program_rows(first, count):
    """Programs first..first+count-1, each installed on its own day of 2031,
    newest last, except that numbers 10 and 11 share a day. Sizes: program 1
    has 0 KB, program 2 1500 KB."""
    rows = []
    for i in range(first, first + count):
        day = 10 if i == 11 else i
        date = "2031%02d%02d" % (1 + day // 28, 1 + day % 28)
        size = {1: "0", 2: "1500"}.get(i, str(i * 10))
        rows.append((PREFIX + "%02d" % i, "K18 Program %02d" % i, "1.0", date, size, ""))
    return rows


class InstalledPage(harness.ClientTest):
    def setUp(self):
        super().setUp()
        self.temp = []
        harness.run_tool("fake_uninstaller.exe", "/prefix", PREFIX)

    def tearDown(self):
        if self.proc is not None:
            harness.stop(self.proc, self.folder)
            self.proc = None
        harness.run_tool("fake_uninstaller.exe", "/prefix", PREFIX)
        for path in self.temp:
            if os.path.isdir(path):
                shutil.rmtree(path, ignore_errors=True)
            elif os.path.exists(path):
                os.remove(path)
        super().tearDown()

    def install(self, rows):
        path = entries_file(rows)
        self.temp.append(path)
        self.assertEqual(0, harness.run_tool("fake_installer.exe", "/list", harness.wine_path(path)))

    def start(self):
        main = self.start_main_window({"VANTREL_TEST_LOG_INSTALLED_ROWS": "1"})
        self.wait_start_jobs()
        time.sleep(0.5)
        return main

    def shown(self):
        """Every page shown so far: (page, records, [(name, date, size)])."""
        pages = []
        for line in self.folder.log_lines() or []:
            m = SHOWN.search(line)
            if m:
                rows = [tuple(r.rsplit("|", 2)) for r in m.group(3).split("; ")] if m.group(3) else []
                pages.append((int(m.group(1)), int(m.group(2)), rows))
        return pages

    def wait_shown(self, count, timeout=20):
        self.assertTrue(desktop.wait_for(lambda: len(self.shown()) >= count, timeout),
                        "no page shown (%d so far)" % len(self.shown()))
        time.sleep(0.3)
        return self.shown()[count - 1]

    def ours(self, rows):
        return [r for r in rows if r[0].startswith("K18 ")]

    def test_pages_of_twenty_newest_first_and_entries_added_later(self):
        self.install(program_rows(1, 45))
        main = self.start()
        main.click(*UNINSTALL_TAB)
        page, total, rows = self.wait_shown(1)
        self.assertEqual(1, page)
        others = total - 45  # what the prefix had before
        self.assertGreaterEqual(others, 0)
        names = [r[0] for r in rows]
        self.assertEqual(["K18 Program %02d" % i for i in range(45, 25, -1)], names)
        self.shot("installed_page_1")

        main.click(NUMBER_X[2], PAGER_Y)
        page, total, rows = self.wait_shown(2)
        self.assertEqual(3, page)
        # Newest first.
        ours = [r[0] for r in self.ours(rows)]
        self.assertEqual(["K18 Program %02d" % i for i in range(5, 0, -1)], ours[:5])
        sizes = {r[0]: r[2] for r in rows}
        self.assertEqual("", sizes["K18 Program 01"], "0 KB shows an empty size")
        self.assertEqual("1.50 MB", sizes["K18 Program 02"])
        self.assertEqual("2031/1/3", {r[0]: r[1] for r in rows}["K18 Program 02"])
        self.shot("installed_page_3")

        main.click(NUMBER_X[1], PAGER_Y)
        page, total, rows = self.wait_shown(3)
        self.assertEqual(2, page)
        # 10 and 11 share a day: they keep the scan's order (the registry
        # lists keys by name), so 10 comes first although 11 is newer.
        names = [r[0] for r in rows]
        expected = ["K18 Program %02d" % i for i in range(25, 5, -1)]
        at = expected.index("K18 Program 11")
        expected[at:at + 2] = ["K18 Program 10", "K18 Program 11"]
        self.assertEqual(expected, names[:20])

        # Installed while the page is not shown: reachable at the next showing.
        self.install(program_rows(46, 16))
        main.click(*MARKET_TAB)
        time.sleep(0.5)
        main.click(*UNINSTALL_TAB)
        page, total, rows = self.wait_shown(4)
        self.assertEqual((1, 61 + others), (page, total))
        self.assertEqual("K18 Program 61", rows[0][0])
        last_page = (61 + others + 19) // 20
        self.assertEqual(4, last_page, "the prefix holds %d other programs" % others)
        main.click(FOUR_PAGES_LEFT + 52 + 25 * 3 + 11, PAGER_Y)
        page, total, rows = self.wait_shown(5)
        self.assertEqual(4, page)
        self.assertIn("K18 Program 01", [r[0] for r in rows])

    def test_uninstall_runs_the_whole_command_once_and_the_list_refreshes(self):
        marker = tempfile.mkdtemp(prefix="kelvora-uninstall-")
        self.temp.append(marker)
        record = os.path.join(marker, "started.txt")
        uninstaller = harness.wine_path(os.path.join(harness.TEST_BIN, "testbin", "fake_uninstaller.exe"))
        # Over 300 characters, with the key the uninstaller needs at its end.
        command = 'cmd.exe /c echo started>>"%s" & "%s" /pad %s /key %sLong' % (
            harness.wine_path(record), uninstaller, "x" * 240, PREFIX)
        self.assertGreater(len(command), 300)
        rows = program_rows(1, 5)
        rows.append((PREFIX + "Long", "K18 Long Command", "1.0", "20401231", "10", command))
        rows.append((PREFIX + "Broken", "K18 Broken Command", "1.0", "20401230", "10", "Z:\\no\\such\\uninst.exe /S"))
        self.install(rows)
        main = self.start()
        main.click(*UNINSTALL_TAB)
        page, total, shown = self.wait_shown(1)
        self.assertEqual(["K18 Long Command", "K18 Broken Command"], [r[0] for r in shown[:2]])

        main.click(UNINSTALL_X, FIRST_ROW_Y + ROW_HEIGHT)  # row 2: cannot start
        self.assertTrue(self.folder.wait_for_log("CreateProcess failed", timeout=10))
        self.assertIn("no\\such\\uninst.exe", "\n".join(self.folder.log_lines()))

        main.click(UNINSTALL_X, FIRST_ROW_Y)  # row 1
        # The rescan while it runs, then the reload once it has ended.
        page, refreshed, shown = self.wait_shown(2, timeout=30)
        self.assertEqual(total - 1, refreshed)
        self.assertNotIn("K18 Long Command", [r[0] for r in shown])
        with open(record) as f:
            self.assertEqual(1, f.read().count("started"), "the uninstaller ran once")


if __name__ == "__main__":
    unittest.main()
