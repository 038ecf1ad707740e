"""The installed client on a fresh machine of this flavour: the setup
program installs Kelvora, the client starts, a real click opens "软件卸载",
and the installed page lists Kelvora beside a program named in Chinese.

A fresh 64-bit Wine prefix has no uninstall key in the 32-bit view: the
page must still list what the native view holds. The page's rows come from
its test seam (VANTREL_TEST_LOG_INSTALLED_ROWS): one log line per page shown,
"page N of M records: name|date|size; ...", with the names as the rows show
them."""
import os
import time
import unittest

from setup_harness import (BLANK_FOLDER, CLIENT, TESTBIN, UNINSTALL_TAB, SessionTestCase,
                           installed_pages)

CHINESE = "千语输入法 2024"
CHINESE_KEY = "KvInstalledPageChinese"


class InstalledPageAfterSetup(SessionTestCase):
    session_name = "installed"

    def setUp(self):
        super().setUp()
        self.target = None

    def tearDown(self):
        if self.target:
            self.s.run_wine(self.target + "\\vantrel.exe", "shutdown", timeout=60)
        self.s.run_wine(os.path.join(TESTBIN, "fake_uninstaller.exe"), "/key", CHINESE_KEY)
        super().tearDown()

    def shown(self):
        return installed_pages(self.s, self.target)

    def test_a_fresh_machine_lists_the_programs_installed_in_its_own_view(self):
        self.target = self.install_silently(BLANK_FOLDER)
        # A second program in the same (the programs' own) view, named in
        # Chinese: its name reaches the page and the log line whole.
        installed = self.s.run_wine(os.path.join(TESTBIN, "fake_installer.exe"), "/name", CHINESE,
                                    "/key", CHINESE_KEY, "/version", "3.1", "/date", "20240506")
        self.assertEqual(0, installed.returncode)

        self.spawn(self.target + "\\vantrel.exe", env={"VANTREL_TEST_LOG_INSTALLED_ROWS": "1"})
        main = self.s.wait_window(CLIENT, 60)
        self.assertIsNotNone(main, "the client's main window did not show")
        # A click on a machine this busy may reach the window before it takes
        # input: click again if no page was shown.
        for attempt in range(3):
            self.s.click(main, *UNINSTALL_TAB)
            end = time.time() + 30
            while time.time() < end and not self.shown():
                time.sleep(0.3)
            if self.shown():
                break
        pages = self.shown()
        self.assertTrue(pages, "the installed page was never shown")
        page, total, rows = pages[-1]
        self.shot("installed_page_after_setup")
        names = [r[0] for r in rows]
        self.assertEqual(1, page)
        self.assertIn("Kelvora", names)
        self.assertIn(CHINESE, names)
        self.assertEqual(total, len(rows), "a fresh machine's programs fit on one page")
        self.assertEqual("2024/5/6", dict((r[0], r[1]) for r in rows)[CHINESE])


if __name__ == "__main__":
    unittest.main()
