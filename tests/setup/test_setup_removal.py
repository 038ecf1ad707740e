"""The removal program driven as a user would: asking first, the uninstall
report before the package's uninstaller, no close button while it works,
"卸载完成" once the keys are gone, the client stopped, no second removal
window, the folder kept until "完成"; the "wait" run; a missing package
uninstaller."""
import os
import time
import unittest

from setup_harness import (BLANK_FOLDER, QUESTION, QUESTION_AT, REMOVAL, REMOVAL_AT,
                           REMOVAL_PROGRESS, UNINSTALL_KEY, SessionTestCase, is_blue,
                           is_light)

CLIENT_WINDOW = "MainFrameWnd_Vantrel_QARVO"


class Removal(SessionTestCase):
    session_name = "removal"

    def open_removal(self, target, *args, env=None):
        proc = self.spawn(target + "\\uninstaller.exe", *args, env=env)
        window = self.s.wait_window(REMOVAL, 60)
        self.assertIsNotNone(window, "no removal window")
        return proc, window

    def done_page_shown(self, window):
        return is_blue(self.pixel_in(window, REMOVAL_AT["complete_face"]))

    def test_removal_with_the_client_running(self):
        target = self.install_silently(BLANK_FOLDER)
        client = self.spawn(target + "\\vantrel.exe")
        self.assertIsNotNone(self.s.wait_window(CLIENT_WINDOW, 60), "the client did not start")
        self.wait_for(lambda: "activepro" in self.mods(), 60, "the client's start report")
        # The package's uninstaller waits until the test releases it.
        hold = self.hold_package_uninstaller(target)
        proc, w = self.open_removal(target, env=hold.env)
        self.shot("removal_confirm")

        self.assert_closing_asks_first(proc, w, REMOVAL_AT, "removal_cancel_question")
        self.assertIsNotNone(self.s.reg_values(UNINSTALL_KEY), "nothing is removed before the click")

        self.s.click(w, *REMOVAL_AT["uninstall"])
        self.wait_for(hold.reached, 120, "the package's uninstaller to start")
        # The report left before the package's uninstaller started.
        self.assertEqual(["activepro", "uninstallpro"], self.mods())
        self.shot("removal_working")
        self.assertEqual(False, self.eventually(lambda: is_light(self.pixel_in(w, REMOVAL_AT["close"])), False),
                         "close button while working")
        first = self.s.region(w, REMOVAL_PROGRESS)
        # Escape, the system close and the close button's place do nothing
        # while it works.
        self.s.click(w, *REMOVAL_AT["quiet"])
        self.s.key("Escape")
        self.system_close(w)
        self.s.click(w, *REMOVAL_AT["close"])
        # Nothing to wait for: this is a window that must not come.
        time.sleep(1)
        self.assertEqual([], self.s.windows(QUESTION))
        self.assertFalse(self.done_page_shown(w))
        self.assertIsNone(proc.poll())
        self.assertIsNotNone(self.s.reg_values(UNINSTALL_KEY), "the keys went while the work was held")
        hold.release()

        self.assertEqual(True, self.eventually(lambda: self.done_page_shown(w), True, 180),
                         "no done page")
        self.shot("removal_done")
        self.assertNotEqual(first, self.s.region(w, REMOVAL_PROGRESS))
        self.assertTrue(is_light(self.pixel_in(w, REMOVAL_AT["close"])), "no close button when done")
        # Done means the keys are gone.
        self.assertIsNone(self.s.reg_values(UNINSTALL_KEY))
        self.assertIsNone(self.s.reg_values("SOFTWARE\\Kelvora"))
        # The client quits, its shortcuts go, and no client window opened.
        self.assertIsNotNone(self.eventually(client.poll, 0, 60), "the client is still running")
        self.wait_for(lambda: not os.path.exists(self.s.desktop("Kelvora.lnk")), 30, "shortcut")
        # The start-menu folder itself goes with the install folder, below.
        self.assertEqual([], os.listdir(self.s.start_menu("Kelvora")))
        self.assertEqual(["activepro", "uninstallpro"], self.mods())
        # One removal window all along (the package's "wait" run opens none),
        # and the folder waits for it.
        self.assertEqual(1, len(self.s.windows(REMOVAL)))
        time.sleep(2)
        self.assertTrue(os.path.exists(self.s.c_path(target + "\\uninstaller.exe")))
        self.s.click(w, *REMOVAL_AT["complete"])
        self.assertEqual(0, proc.wait(timeout=30))
        self.wait_for(lambda: not os.path.exists(self.s.c_path(target)), 60, "the folder to go")
        self.assertFalse(os.path.exists(self.s.start_menu("Kelvora")))
        self.assert_no_stray_start()

    def test_wait_returns_at_once_and_only_the_lower_case_word_waits(self):
        target = self.install_silently(BLANK_FOLDER)
        result = self.s.run_wine(target + "\\uninstaller.exe", "wait", timeout=60)
        self.assertEqual(0, result.returncode)
        self.assertEqual([], self.s.windows(REMOVAL))

        proc, w = self.open_removal(target, "WAIT")
        # With a removal window up, "wait" waits until it is closed.
        waiter = self.spawn(target + "\\uninstaller.exe", "wait")
        time.sleep(4)
        self.assertIsNone(waiter.poll(), "wait returned while a removal window runs")
        self.s.click(w, *REMOVAL_AT["close"])
        box = self.s.wait_window(QUESTION, 20)
        self.s.click(box, *QUESTION_AT["ok"])
        self.assertEqual(0, proc.wait(timeout=30))
        self.assertEqual(0, waiter.wait(timeout=30))
        self.assertIsNotNone(self.s.reg_values(UNINSTALL_KEY), "cancelling removed something")
        self.assertEqual([], self.s.report_mods())

    def test_without_the_package_uninstaller_the_removal_fails_and_removes_nothing(self):
        target = self.install_silently(BLANK_FOLDER)
        os.remove(self.s.c_path(target + "\\slient.exe"))
        proc, w = self.open_removal(target)
        self.s.click(w, *REMOVAL_AT["uninstall"])
        self.assertEqual(True, self.eventually(lambda: self.done_page_shown(w), True, 60),
                         "no done page")
        self.shot("removal_failed")
        self.assertIsNotNone(self.s.reg_values(UNINSTALL_KEY))
        self.assertIsNotNone(self.s.reg_values("SOFTWARE\\Kelvora"))
        self.assertTrue(os.path.exists(self.s.desktop("Kelvora.lnk")))
        # After the done page the close button quits without asking.
        self.s.click(w, *REMOVAL_AT["close"])
        self.assertEqual(0, proc.wait(timeout=30))
        self.assertEqual([], self.s.windows(QUESTION))
        self.assertTrue(os.path.exists(self.s.c_path(target + "\\vantrel.exe")))


if __name__ == "__main__":
    unittest.main()
