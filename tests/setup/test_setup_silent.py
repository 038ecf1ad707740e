"""The setup program's silent runs: the whole program folder, the registry
table and the shortcuts, nothing started and no report; refused folders
write nothing and exit non-zero."""
import os
import unittest

from setup_harness import (BLANK_FOLDER, INSTALLER, PACKAGE_FILE, PRODUCT_KEY, SessionTestCase,
                           target_of)


class SilentInstall(SessionTestCase):
    session_name = "silent"

    def test_installs_the_program_folder_into_a_folder_with_a_blank(self):
        target = self.install_silently(BLANK_FOLDER)
        self.assert_installed(target)
        # The table is in the registry view of this flavour's programs, and
        # only there.
        code, out = self.s.reg("query", "HKLM\\" + PRODUCT_KEY, "/v", "Install_Dir")
        self.assertEqual(0, code)
        self.assertIn(target, out)
        self.assert_no_stray_start()
        self.assertEqual([], self.s.report_mods(), "a silent run sends nothing")
        self.assertEqual([], self.s.windows("MainFrameWnd_Vantrel_QARVO"))

    def test_without_a_folder_installs_into_program_files(self):
        result = self.s.run_wine(INSTALLER, "SLIENT", timeout=180)
        self.assertEqual(0, result.returncode)
        self.assert_installed(target_of(self.s.program_files()))
        self.assert_no_stray_start()

    def test_a_refused_folder_exits_non_zero_and_writes_nothing(self):
        refused = [
            ("relative", "relative\\folder"),
            ("300 characters", "C:\\" + "x" * 297),
            ("one too long", "C:\\" + "y" * 241),  # with \Kelvora\1.0.2.7: 260
            ("bad character", "C:\\a|b"),
            ("second colon", "C:\\a:b"),
            ("empty", ""),
        ]
        for what, folder in refused:
            with self.subTest(what):
                result = self.s.run_wine(INSTALLER, "slient", folder, timeout=120)
                self.assertNotEqual(0, result.returncode)
                self.assert_nothing_installed()
                self.assertFalse(os.path.exists(self.s.user_folder("Temp", PACKAGE_FILE)),
                                 "the package was written")
        self.assertFalse(os.path.exists(self.s.c_path("C:\\" + "y" * 241)))
        self.assertEqual([], self.s.report_mods())


if __name__ == "__main__":
    unittest.main()
