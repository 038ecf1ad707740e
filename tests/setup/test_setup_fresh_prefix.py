"""The product on a machine exactly as Wine makes it: a prefix of its own
made by `wineboot -i`, without the project's prefix settings (fonts, the
uninstall key in both views, no crash dialog) that every other test starts
from. The flavour's setup program installs silently, the installed client
starts against the local services and reports its start, a real click opens
"软件卸载", the page lists Kelvora, its "卸载" starts the removal program,
and then Kelvora is gone: keys, folder, shortcuts, and from the page of a
client started afterwards.

The page's rows come from its test seam (VANTREL_TEST_LOG_INSTALLED_ROWS):
one log line per page shown, "page N of M records: name|date|size; ..."."""
import os
import shutil
import subprocess
import time
import unittest

from setup_harness import (AMD64, CLIENT, DIST, LOADER, PRODUCT_KEY, REMOVAL, REMOVAL_AT,
                           UNINSTALL_KEY, UNINSTALL_TAB, SessionTestCase, WineSession,
                           installed_pages, is_blue)

# Window coordinates of the rows of the installed page (uninstall_soft.xml).
FIRST_ROW_Y = 95 + 40 + 30 + 24
ROW_HEIGHT = 48
UNINSTALL_X = 810
CHECK_FOLDER = "C:\\kelvora-check"


class FreshSession(WineSession):
    """A session whose prefix only `wineboot -i` made, and whose programs
    run straight under the flavour's loader (wine-run.sh would give the
    prefix the project's settings)."""

    def _make_prefix(self):
        env = dict(os.environ, HOME=self.home, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        env.pop("DISPLAY", None)
        if AMD64:
            env["WINELOADER"] = LOADER
        subprocess.run([LOADER, "wineboot.exe", "-i"], env=env, timeout=900,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The server writes the new registry out when it ends.
        subprocess.run(["wineserver", "-w"], env=env, timeout=300)
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            raise RuntimeError("wineboot -i made no prefix in " + self.prefix)

    def _command(self, program, args):
        return [LOADER, program, *args]


class FreshPrefix(SessionTestCase):
    session_name = "fresh"

    @classmethod
    def setUpClass(cls):
        cls.s = FreshSession(cls.session_name)

    def setUp(self):
        super().setUp()
        self.clients = []

    def tearDown(self):
        for folder in self.clients:
            if os.path.exists(self.s.c_path(folder + "\\vantrel.exe")):
                self.s.run_wine(folder + "\\vantrel.exe", "shutdown", timeout=60)
        shutil.rmtree(self.s.c_path(CHECK_FOLDER), ignore_errors=True)
        super().tearDown()

    def names_shown(self, folder):
        """The names on the first page of installed programs the client in
        `folder` has shown, or None."""
        pages = installed_pages(self.s, folder)
        return [r[0] for r in pages[0][2]] if pages else None

    def open_installed_page(self, folder):
        """Starts the client in `folder` and clicks "软件卸载": (the client,
        its window, the names on the first page shown)."""
        client = self.spawn(folder + "\\vantrel.exe", env={"VANTREL_TEST_LOG_INSTALLED_ROWS": "1"})
        self.clients.append(folder)
        main = self.s.wait_window(CLIENT, 120)
        self.assertIsNotNone(main, "the client's main window did not show")
        # A click on a busy machine may reach the window before it takes
        # input: click again while no page was shown.
        for _ in range(3):
            self.s.click(main, *UNINSTALL_TAB)
            end = time.time() + 30
            while time.time() < end and self.names_shown(folder) is None:
                time.sleep(0.3)  # a step of the wait for the page's log line
            if self.names_shown(folder) is not None:
                break
        names = self.names_shown(folder)
        self.assertIsNotNone(names, "the installed page was never shown")
        return client, main, names

    def test_install_list_and_remove_on_a_fresh_machine(self):
        target = self.install_silently(self.s.program_files())
        self.assert_installed(target)

        client, main, names = self.open_installed_page(target)
        self.shot("fresh_prefix_installed_page")
        self.assertIn("Kelvora", names)
        # The start report went through WinINet, loaded on first use.
        self.wait_for(lambda: "activepro" in self.mods(), 120, "the client's start report")

        # The row's "卸载" starts the removal program (its uninstall entry).
        row_y = FIRST_ROW_Y + ROW_HEIGHT * names.index("Kelvora")
        removal = None
        for _ in range(3):
            self.s.click(main, UNINSTALL_X, row_y)
            removal = self.s.wait_window(REMOVAL, 30)
            if removal is not None:
                break
        self.assertIsNotNone(removal, "the row's 卸载 started no removal window")
        self.s.click(removal, *REMOVAL_AT["uninstall"])
        self.wait_for(lambda: is_blue(self.s.pixel(*removal.at(*REMOVAL_AT["complete_face"]))), 180,
                      "the removal's done page")
        self.shot("fresh_prefix_removal_done")
        self.assertIsNone(self.s.reg_values(UNINSTALL_KEY))
        self.assertIsNone(self.s.reg_values(PRODUCT_KEY))
        # The package's uninstaller stops the client, and removes the folder
        # once the removal window has ended.
        self.wait_for(lambda: client.poll() is not None, 60, "the client to stop")
        self.s.click(removal, *REMOVAL_AT["complete"])
        self.assertTrue(self.s.wait_window(REMOVAL, 60, gone=True), "the removal window stays")
        self.wait_for(lambda: not os.path.exists(self.s.c_path(target)), 120, "the folder to go")
        self.assertFalse(os.path.exists(self.s.desktop("Kelvora.lnk")))
        self.assertFalse(os.path.exists(self.s.start_menu("Kelvora")))
        self.assertEqual(["activepro", "uninstallpro"], self.mods())

        # A client started afterwards lists it no more.
        shutil.copytree(DIST, self.s.c_path(CHECK_FOLDER))
        _, _, names = self.open_installed_page(CHECK_FOLDER)
        self.shot("fresh_prefix_installed_page_after_removal")
        self.assertNotIn("Kelvora", names)


if __name__ == "__main__":
    unittest.main()
