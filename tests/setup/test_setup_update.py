"""The update run: the old installation's package uninstaller stops the
running client and removes the old copy before the new one goes into the
old folder's parent; an "Install_Dir" that is no usable folder removes
nothing, and one stored without its terminator is read exactly."""
import os
import time
import unittest

from setup_harness import (BLANK_FOLDER, FINISH, FINISH_AT, INSTALLER, PRODUCT_KEY, WIZARD,
                           WIZARD_AT, SessionTestCase)

CLIENT_WINDOW = "MainFrameWnd_Vantrel_QARVO"


class Update(SessionTestCase):
    session_name = "update"

    def start_update(self):
        proc = self.spawn(INSTALLER, "update")
        wizard = self.s.wait_window(WIZARD, 120)
        self.assertIsNotNone(wizard, "no wizard after the update's first step")
        return proc, wizard

    def test_update_stops_the_client_and_installs_into_the_parent_folder(self):
        old = self.install_silently(BLANK_FOLDER)
        client = self.spawn(old + "\\vantrel.exe")
        self.assertIsNotNone(self.s.wait_window(CLIENT_WINDOW, 60), "the client did not start")

        proc, w = self.start_update()
        # The old copy is gone before the wizard shows: client, keys, folder.
        self.assertIsNotNone(client.poll(), "the running client was not stopped")
        self.assertIsNone(self.s.reg_values(PRODUCT_KEY))
        self.assertFalse(os.path.exists(self.s.c_path(old)))
        self.assertEqual(BLANK_FOLDER + "\\Kelvora\\", self.folder_box_text(w))
        self.shot("update_wizard")

        self.s.click(w, *WIZARD_AT["install"])
        finish = self.s.wait_window(FINISH, 120)
        self.assertIsNotNone(finish)
        self.s.click(finish, *FINISH_AT["close"])
        self.assertEqual(0, proc.wait(timeout=30))
        # Nothing of the old copy's removal comes after the new install.
        time.sleep(3)
        self.assert_installed(old)
        self.assert_no_stray_start()

    def test_an_unusable_install_dir_removes_nothing(self):
        old = self.install_silently(BLANK_FOLDER)
        key = "HKLM\\" + PRODUCT_KEY
        cases = [
            ("missing", ("delete", key, "/v", "Install_Dir", "/f")),
            ("a number", ("add", key, "/v", "Install_Dir", "/t", "REG_DWORD", "/d", "5", "/f")),
            ("300 characters", ("add", key, "/v", "Install_Dir", "/t", "REG_SZ", "/d",
                                old + "\\" + "x" * (299 - len(old)), "/f")),
            ("relative", ("add", key, "/v", "Install_Dir", "/t", "REG_SZ", "/d", "Kelvora\\1.0.2.7", "/f")),
        ]
        for what, change in cases:
            with self.subTest(what):
                code, _ = self.s.reg(*change)
                self.assertEqual(0, code)
                proc, w = self.start_update()
                self.assertEqual("", self.folder_box_text(w))
                self.s.click(w, *WIZARD_AT["quiet"])
                self.s.key("Escape")
                box = self.s.wait_window("message_box", 20)
                self.s.click(box, 87, 75)
                self.assertEqual(0, proc.wait(timeout=30))
                # The old copy is untouched.
                self.assertTrue(os.path.exists(self.s.c_path(old + "\\slient.exe")))
                self.assertIsNotNone(self.s.reg_values(
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvora"))
                self.assertTrue(os.path.exists(self.s.desktop("Kelvora.lnk")))

    def test_an_install_dir_without_its_terminator_is_read_exactly(self):
        old = self.install_silently(BLANK_FOLDER)
        code, _ = self.s.probe("regsz-raw", PRODUCT_KEY, "Install_Dir", old)
        self.assertEqual(0, code)
        proc, w = self.start_update()
        self.assertEqual(BLANK_FOLDER + "\\Kelvora\\", self.folder_box_text(w))
        self.assertFalse(os.path.exists(self.s.c_path(old)), "the old copy was not removed")
        self.assertIsNone(self.s.reg_values(PRODUCT_KEY))
        self.s.click(w, *WIZARD_AT["quiet"])
        self.s.key("Escape")
        box = self.s.wait_window("message_box", 20)
        self.s.click(box, 87, 75)
        self.assertEqual(0, proc.wait(timeout=30))


if __name__ == "__main__":
    unittest.main()
