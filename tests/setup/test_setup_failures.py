"""Failed installs: a package that ends with an error (a test build of the
setup program carries one) and a target that a file blocks. The wizard
shows "安装失败" and ends with no finish window and no report; silent
runs exit non-zero."""
import os
import time
import unittest

from setup_harness import (BLANK_FOLDER, BUILD, FINISH, INSTALLER, NOTICE, NOTICE_AT, WIZARD,
                           WIZARD_AT, SessionTestCase)

FAILING_INSTALLER = os.path.join(BUILD, "tests", "setup", "installer_failing_package.exe")


class Failures(SessionTestCase):
    session_name = "failures"

    def install_in_wizard_and_expect_failure(self, installer, folder, shot=None):
        proc = self.spawn(installer)
        w = self.s.wait_window(WIZARD, 60)
        self.assertIsNotNone(w)
        self.type_into_folder_box(w, folder)
        self.s.click(w, *WIZARD_AT["install"])
        notice = self.s.wait_window(NOTICE, 90)
        self.assertIsNotNone(notice, "no failure notice")
        if shot:
            self.shot(shot)
        self.s.click(notice, *NOTICE_AT["ok"])
        proc.wait(timeout=30)
        self.assertEqual([], self.s.windows(FINISH))
        self.assertEqual([], self.s.windows(WIZARD))
        time.sleep(2)
        self.assertEqual([], self.s.report_mods(), "a failed install reports nothing")
        self.assert_no_stray_start()

    def test_a_package_that_fails_is_a_failure(self):
        self.assertTrue(os.path.exists(FAILING_INSTALLER))
        self.install_in_wizard_and_expect_failure(FAILING_INSTALLER, BLANK_FOLDER, "failure_notice")
        # The package did place a client: only its exit code tells the failure.
        self.assertTrue(os.path.exists(self.s.c_path(BLANK_FOLDER + "\\1.0.2.7\\vantrel.exe")))
        result = self.s.run_wine(FAILING_INSTALLER, "slient", BLANK_FOLDER, timeout=120)
        self.assertEqual(1, result.returncode)

    def test_a_target_blocked_by_a_file_is_a_failure(self):
        # A file where the target's folder should be (the package would fall
        # back to another folder), and a file where one of its own folders goes.
        cases = [("C:\\blocked\\Kelvora", "C:\\blocked", "C:\\blocked\\Kelvora"),
                 ("C:\\blocked\\Kelvora\\1.0.2.7\\skin", "C:\\blocked",
                  "C:\\blocked\\Kelvora")]
        for blocker, silent_folder, wizard_folder in cases:
            with self.subTest(blocker=blocker):
                self.clean_machine()
                path = self.s.c_path(blocker)
                os.makedirs(os.path.dirname(path))
                with open(path, "w") as f:
                    f.write("in the way")
                result = self.s.run_wine(INSTALLER, "slient", silent_folder, timeout=120)
                self.assertNotEqual(0, result.returncode)
                self.assert_nothing_installed()
                self.assertFalse(os.path.exists(self.s.c_path(self.s.program_files() + "\\Kelvora")))
                self.install_in_wizard_and_expect_failure(INSTALLER, wizard_folder)
                self.assert_nothing_installed()
                self.assertFalse(os.path.exists(self.s.c_path(self.s.program_files() + "\\Kelvora")))
                with open(path) as f:
                    self.assertEqual("in the way", f.read())

if __name__ == "__main__":
    unittest.main()
