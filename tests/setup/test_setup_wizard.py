"""The setup wizard driven with real mouse and key input: the licence box
and the install button, the folder box and the folder picker, closing on
each page, the progress page, the finish window with its one install
report, and starting the installed client."""
import os
import time
import unittest

from setup_harness import (AGREEMENT, AGREEMENT_AT, AGREEMENT_BAR, AGREEMENT_TEXT, BLANK_FOLDER, FINISH,
                           FINISH_AT, INSTALLER, QUESTION, QUESTION_AT, WIZARD, WIZARD_AT,
                           WIZARD_PROGRESS, SessionTestCase, is_blue, is_light)



class Wizard(SessionTestCase):
    session_name = "wizard"

    def open_wizard(self, env=None):
        proc = self.spawn(INSTALLER, env=env)
        wizard = self.s.wait_window(WIZARD)
        self.assertIsNotNone(wizard, "no wizard window")
        return proc, wizard

    def licence_state(self, wizard):
        """(box ticked, install button enabled), as drawn."""
        ticked = self.pixel_in(wizard, WIZARD_AT["check_face"])
        face = self.pixel_in(wizard, WIZARD_AT["install_face"])
        return is_blue(ticked), is_blue(face)

    def test_licence_box_and_agreement_window_set_the_install_button(self):
        proc, w = self.open_wizard()
        self.shot("wizard_page1")
        state = lambda: self.licence_state(w)  # noqa: E731
        self.assertEqual((True, True), state())

        self.s.click(w, *WIZARD_AT["check"])
        self.assertEqual((False, False), self.eventually(state, (False, False)))
        # A disabled install button does nothing.
        self.s.click(w, *WIZARD_AT["install"])
        time.sleep(1)
        self.assertEqual((False, False), state())
        self.assertIsNone(self.s.reg_values("SOFTWARE\\Kelvora"))

        steps = [("agree", (True, True)), ("close", (True, True)), ("reject", (False, False)),
                 ("close", (False, False)), ("agree", (True, True))]
        for button, expected in steps:
            with self.subTest(button=button):
                self.s.click(w, *WIZARD_AT["licence"])
                agreement = self.s.wait_window(AGREEMENT, 20)
                self.assertIsNotNone(agreement)
                if button == "reject":
                    self.shot("wizard_agreement")
                self.s.click(agreement, *AGREEMENT_AT[button])
                self.assertTrue(self.s.wait_window(AGREEMENT, 20, gone=True))
                self.assertEqual(expected, self.eventually(state, expected))
        # Escape in the agreement window keeps the answer as well.
        self.s.click(w, *WIZARD_AT["licence"])
        self.assertIsNotNone(self.s.wait_window(AGREEMENT, 20))
        self.s.key("Escape")
        self.assertTrue(self.s.wait_window(AGREEMENT, 20, gone=True))
        time.sleep(1)
        self.assertEqual((True, True), state())
        self.assertIsNone(proc.poll())

    def text_picture(self, agreement):
        return self.s.region(agreement, AGREEMENT_TEXT)

    def thumb_span(self, agreement):
        """(top, bottom) of the scroll bar's thumb along its track, in
        window rows, or None when no thumb is drawn."""
        x, top, bottom = AGREEMENT_BAR
        column = self.s.region(agreement, (x, top, x + 1, bottom))
        rows = [top + i for i in range(len(column) // 3) if min(column[3 * i:3 * i + 3]) < 225]
        return (rows[0], rows[-1] + 1) if rows else None

    def wheel_until_still(self, agreement, button):
        """Turns the wheel over the text (4 up, 5 down) until the text stands
        still; the picture then."""
        x, y = agreement.at(200, 200)
        self.s.xdotool("mousemove", x, y)
        picture = self.text_picture(agreement)
        for _ in range(30):
            self.s.xdotool("click", "--repeat", "10", "--delay", "40", button)
            time.sleep(0.5)
            now = self.text_picture(agreement)
            if now == picture:
                return now
            picture = now
        self.fail("the text still moves after 300 wheel steps")

    def assert_typing_changes_nothing(self, agreement, picture):
        self.s.click(agreement, 200, 200)
        self.s.type_text("typed")
        self.s.key("BackSpace", "Delete", "ctrl+a", "Delete", "ctrl+x", "ctrl+v", "Return")
        time.sleep(0.5)
        self.assertEqual(picture, self.text_picture(agreement), "typing changed the licence text")
        self.assertTrue(self.s.windows(AGREEMENT))

    def test_licence_text_scrolls_to_its_end_and_ignores_typing(self):
        proc, w = self.open_wizard()
        self.s.click(w, *WIZARD_AT["licence"])
        agreement = self.s.wait_window(AGREEMENT, 20)
        self.assertIsNotNone(agreement)
        time.sleep(0.5)
        top = self.text_picture(agreement)
        x, track_top, track_bottom = AGREEMENT_BAR
        thumb = self.thumb_span(agreement)
        self.assertIsNotNone(thumb, "no thumb on the licence text's bar")
        self.assertLessEqual(thumb[0], track_top + 2, "the thumb does not start at the top")
        self.assertLess(thumb[1], track_bottom - 20, "the thumb fills the track: nothing to scroll")
        self.shot("wizard_agreement_top")
        self.assert_typing_changes_nothing(agreement, top)

        # The wheel reaches the end: the text stops, the thumb sits at the
        # bottom of the track.
        end = self.wheel_until_still(agreement, "5")
        self.assertNotEqual(top, end)
        self.assertGreaterEqual(self.thumb_span(agreement)[1], track_bottom - 2, "the thumb is not at the end")
        self.shot("wizard_agreement_end")
        self.assert_typing_changes_nothing(agreement, end)
        self.assertEqual(top, self.wheel_until_still(agreement, "4"), "the wheel does not come back to the top")

        # The bar does too: the thumb dragged past the bottom shows the same
        # end; the up arrow moves back a line and the down arrow returns.
        thumb = self.thumb_span(agreement)
        grab = agreement.at(x, (thumb[0] + thumb[1]) // 2)
        # Pointer moves, the press and each step of the drag apart: Wine
        # reads them one by one, as from a hand.
        self.s.xdotool("mousemove", *grab)
        time.sleep(0.2)
        self.s.xdotool("mousedown", "1")
        time.sleep(0.2)
        for y in range(grab[1] + 20, agreement.top + track_bottom + 40, 20):
            self.s.xdotool("mousemove", grab[0], y)
            time.sleep(0.15)
        self.s.xdotool("mouseup", "1")
        self.assertEqual(end, self.eventually(lambda: self.text_picture(agreement), end),
                         "dragging the thumb down does not reach the end")
        self.s.click(agreement, x, track_top - 6)
        self.assertNotEqual(end, self.text_picture(agreement), "the up arrow does not scroll")
        self.s.click(agreement, x, track_bottom + 6)
        self.assertEqual(end, self.eventually(lambda: self.text_picture(agreement), end))

        # The window still answers: "同意" closes it and ticks the box.
        self.s.click(agreement, *AGREEMENT_AT["agree"])
        self.assertTrue(self.s.wait_window(AGREEMENT, 20, gone=True))
        self.assertEqual((True, True), self.eventually(lambda: self.licence_state(w), (True, True)))
        self.assertIsNone(proc.poll())

    def test_folder_box_refuses_bad_folders_and_the_picker_adds_the_product_folder(self):
        proc, w = self.open_wizard()
        self.assertEqual(self.s.program_files() + "\\Kelvora", self.folder_box_text(w))
        # The box takes 255 characters; with "\\1.0.2.7" these are 263.
        for text in ("nosuchfolder", "C:\\a|b", "C:\\" + "z" * 252):
            with self.subTest(text=text[:20]):
                self.type_into_folder_box(w, text)
                self.s.click(w, *WIZARD_AT["install"])
                self.assertEqual("请填写有效路径", self.folder_box_text(w))
        self.shot("wizard_invalid_folder")
        self.assertIsNone(self.s.reg_values("SOFTWARE\\Kelvora"))

        # The picker: Desktop, /, Documents, My Computer; open it, take C:.
        self.s.click(w, *WIZARD_AT["browse"])
        picker = self.s.wait_window("#32770", 20)
        self.assertIsNotNone(picker, "no folder picker")
        for key in ("Down", "Down", "Down", "Right", "Down"):
            self.s.key(key)
        self.shot("wizard_folder_picker")
        self.s.key("Return")
        self.assertTrue(self.s.wait_window("#32770", 20, gone=True))
        self.assertEqual("C:\\Kelvora", self.folder_box_text(w))
        # Cancelling the picker keeps the folder.
        self.s.click(w, *WIZARD_AT["browse"])
        self.assertIsNotNone(self.s.wait_window("#32770", 20))
        self.s.key("Escape")
        self.assertTrue(self.s.wait_window("#32770", 20, gone=True))
        self.assertEqual("C:\\Kelvora", self.folder_box_text(w))
        self.assertIsNone(proc.poll())

    def test_close_button_and_escape_ask_first_on_the_first_page(self):
        proc, w = self.open_wizard()
        self.assert_closing_asks_first(proc, w, WIZARD_AT, "wizard_quit_question")
        # OK ends the program without installing and without a finish window.
        self.s.click(w, *WIZARD_AT["quiet"])
        self.s.key("Escape")
        box = self.s.wait_window(QUESTION, 20)
        self.s.click(box, *QUESTION_AT["ok"])
        self.assertEqual(0, proc.wait(timeout=30))
        self.assertEqual([], self.s.windows(FINISH))
        self.assert_nothing_installed()
        self.assertEqual([], self.s.report_mods())

    def test_install_shows_progress_then_the_finish_window_reports_once(self):
        # The package waits until the test releases it.
        installer, hold = self.held_installer()
        proc = self.spawn(installer, env=hold.env)
        w = self.s.wait_window(WIZARD)
        self.assertIsNotNone(w, "no wizard window")
        self.type_into_folder_box(w, BLANK_FOLDER)
        close_before = self.pixel_in(w, WIZARD_AT["close"])
        self.assertTrue(is_light(close_before), "the close button is drawn")
        self.s.click(w, *WIZARD_AT["install"])
        self.wait_for(hold.reached, 120, "the package to start")
        self.assertEqual(False, self.eventually(lambda: is_light(self.pixel_in(w, WIZARD_AT["close"])), False),
                         "close button on page 2")
        first = self.s.region(w, WIZARD_PROGRESS)
        self.shot("wizard_page2")
        self.wait_for(lambda: self.s.region(w, WIZARD_PROGRESS) != first, 60, "the progress to move")
        # Escape, the system close and the close button's place do nothing
        # while the package runs.
        self.s.click(w, *WIZARD_AT["quiet"])
        self.s.key("Escape")
        self.system_close(w)
        self.s.click(w, *WIZARD_AT["close"])
        # Nothing to wait for: this is a window that must not come.
        time.sleep(1)
        self.assertEqual([], self.s.windows(QUESTION))
        self.assertEqual([], self.s.windows(FINISH))
        self.assertTrue(self.s.windows(WIZARD))
        hold.release()

        finish = self.s.wait_window(FINISH, 180)
        self.assertIsNotNone(finish, "no finish window")
        self.assertEqual([], self.s.windows(WIZARD), "the wizard stays hidden")
        self.shot("wizard_finish")
        # The version subfolder of the folder shown, whatever it is called.
        target = BLANK_FOLDER + "\\1.0.2.7"
        self.assert_installed(target)
        self.wait_for(lambda: "installpro" in self.mods(), 30, "the install report")
        time.sleep(3)
        self.assertEqual(["installpro"], self.mods(), "one install report and no client start")
        self.assertEqual([], self.s.windows("MainFrameWnd_Vantrel_QARVO"))

        self.s.click(finish, *FINISH_AT["start"])
        self.assertEqual(0, proc.wait(timeout=30))
        self.wait_for(lambda: "activepro" in self.mods(), 60, "the client's start report")
        self.assertEqual(["installpro", "activepro"], self.mods())
        self.assertTrue(self.s.wait_window("MainFrameWnd_Vantrel_QARVO", 30))
        self.assert_no_stray_start()
        shutdown = self.s.run_wine(target + "\\vantrel.exe", "shutdown", timeout=60)
        self.assertEqual(0, shutdown.returncode)

    def test_escape_or_the_system_close_on_the_finish_window_ends_the_program(self):
        for way in ("Escape", "system"):
            with self.subTest(way=way):
                self.clean_machine()
                self.s.reset_reports()
                proc, w = self.open_wizard()
                self.type_into_folder_box(w, BLANK_FOLDER)
                self.s.click(w, *WIZARD_AT["install"])
                finish = self.s.wait_window(FINISH, 90)
                self.assertIsNotNone(finish)
                if way == "Escape":
                    self.s.click(finish, *FINISH_AT["quiet"])
                    self.s.key("Escape")
                else:
                    self.system_close(finish)
                self.assertEqual(0, proc.wait(timeout=30))
                self.assertEqual([], self.s.windows(FINISH))
                self.wait_for(lambda: "installpro" in self.mods(), 30, "the install report")
                time.sleep(2)
                self.assertEqual(["installpro"], self.mods())
                self.assertTrue(os.path.exists(self.s.c_path(BLANK_FOLDER + "\\1.0.2.7\\vantrel.exe")))
                self.assert_no_stray_start()


if __name__ == "__main__":
    unittest.main()
