"""The demo's downloads, in the real vantrel.exe with real input (xdotool):
the local services serve every sample title's file as this build's fake
installer with the title's name and version appended, and the catalogue's
size is what they serve. A click on the first row's "下载" downloads it, the
install job runs it, the row takes the installed look ("已安装"), one install
report reaches the request log, and the uninstall entry the installer wrote
is removed again by the entry's own uninstall command."""
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

import desktop
import harness
import test_catalogue_pages as pages

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "services"))
import catalogue_data  # noqa: E402

UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
MARKER = b"#kelvora-fake-setup#"


def reg_values(key):
    """The text values of a registry key, as `reg` of the test's flavour reads
    it ({} when the key is missing). Exported to a file: `reg query` prints
    names beyond the console's code page as question marks."""
    fd, path = tempfile.mkstemp(suffix=".reg", prefix="kelvora-demo-")
    os.close(fd)
    try:
        done = subprocess.run([harness.WINE_RUN, "reg", "export", key, harness.wine_path(path), "/y"],
                              capture_output=True, timeout=60)
        if done.returncode != 0:
            return {}
        with open(path, "rb") as f:
            text = f.read().decode("utf-16")
    finally:
        os.remove(path)
    values = {}
    for m in re.finditer(r'^"((?:[^"\\]|\\.)*)"="((?:[^"\\]|\\.)*)"\r?$', text, re.M):
        values[m.group(1)] = re.sub(r"\\(.)", r"\1", m.group(2))
    return values


def command_words(command):
    """A Windows command line's words (double quotes group)."""
    return [a if a else b for a, b in re.findall(r'"([^"]*)"|(\S+)', command)]


class DemoDownload(harness.ClientTest):
    def setUp(self):
        super().setUp()
        self.soft_id = catalogue_data.ranked_ids(1)[0]
        self.title = catalogue_data.SOFTWARE[self.soft_id]
        self.key = UNINSTALL_KEY + self.title["soft_name"]
        self.remove_entry()

    def tearDown(self):
        super().tearDown()
        self.remove_entry()

    def remove_entry(self):
        """The slot as it was: no entry of the first title."""
        subprocess.run([harness.WINE_RUN, "reg", "delete", self.key, "/f"], capture_output=True)

    def rgb(self, box):
        shot = desktop.screenshot()
        try:
            x, y, w, h = box
            return pages.mean_rgb(shot, self.main.x + x, self.main.y + y, w, h)
        finally:
            os.remove(shot)

    def looks(self, box, predicate):
        desktop.move(self.main.x + 60, self.main.y + 620)  # nothing hot under the pointer
        time.sleep(0.3)
        return predicate(*self.rgb(box))

    def install_reports(self):
        return [e["raw_query"] for e in self.session.log()
                if e["path"] == "/VanTrelService.aspx" and e["raw_query"].startswith("mod=installsoft&")]

    def test_every_sample_title_is_served_as_its_installer(self):
        for soft_id, s in sorted(catalogue_data.SOFTWARE.items()):
            record = json.loads(self.session.get("/soft/%d" % soft_id))
            body = self.session.get("/files/%d.bin" % soft_id)
            self.assertEqual(str(len(body)), record["soft_size"], soft_id)
            self.assertTrue(body.startswith(b"MZ"), soft_id)
            options = body[body.rindex(MARKER):].decode("utf-8")
            self.assertIn('/name "%s"' % s["soft_name"], options)
            self.assertIn('/version "%s"' % s["soft_version"], options)
            self.assertTrue(s["soft_uname"].endswith(".exe"), s["soft_uname"])
        # Other bytes asked for are served, and sized, as asked.
        self.session.get("/_files/%d?size=5000" % self.soft_id)
        self.assertEqual(5000, len(self.session.get("/files/%d.bin" % self.soft_id)))
        self.assertEqual("5000", json.loads(self.session.get("/soft/%d" % self.soft_id))["soft_size"])
        # ... on that session only.
        other = harness.Session()
        try:
            self.assertTrue(other.get("/files/%d.bin" % self.soft_id).startswith(b"MZ"))
        finally:
            other.close()

    def test_a_first_page_download_installs_and_is_reported_once(self):
        self.assertEqual({}, reg_values(self.key), "the slot holds the title already")
        self.main = self.start_main_window(timeout=40)
        row = 0
        blue = lambda r, g, b: b > r + 0.2 and b > g + 0.1  # noqa: E731
        green = lambda r, g, b: g > r + 0.15 and g > b + 0.1  # noqa: E731
        self.assertTrue(desktop.wait_for(lambda: self.looks(pages.menu_button(row), blue), 60),
                        "the first row shows no download look")
        self.shot("demo_first_page")
        # The button takes clicks once the installed-software scan is done:
        # click until the download asks for the file.
        for _ in range(10):
            x, y, w, h = pages.action_button(row)
            self.main.click(x + w // 2, y + h // 2)
            if desktop.wait_for(lambda: "/file/%d" % self.soft_id in self.session.paths(), 5):
                break
        self.assertIn("/file/%d" % self.soft_id, self.session.paths(), "the click downloaded nothing")
        self.assertTrue(desktop.wait_for(lambda: reg_values(self.key), 90, step=1), "the installer did not run")
        self.shot("demo_installing")
        self.assertTrue(desktop.wait_for(lambda: self.looks(pages.menu_button(row), green), 90),
                        "the row does not show the installed look")
        self.shot("demo_installed")
        self.assertTrue(desktop.wait_for(self.install_reports, 30), "no install report")
        reports = self.install_reports()
        self.assertEqual(1, len(reports), reports)
        self.assertIn("soft_id=%d&" % self.soft_id, reports[0])
        entry = reg_values(self.key)
        self.assertEqual(self.title["soft_name"], entry.get("DisplayName"))
        self.assertEqual(self.title["soft_version"], entry.get("DisplayVersion"))

        # The entry's own uninstall command removes it (the installed page
        # runs that command).
        command = entry.get("UninstallString", "")
        done = subprocess.run([harness.WINE_RUN] + command_words(command), capture_output=True, timeout=60)
        self.assertEqual(0, done.returncode, command)
        self.assertEqual({}, reg_values(self.key), "the uninstaller left the entry")
        self.assertEqual(1, len(self.install_reports()))


if __name__ == "__main__":
    unittest.main()
