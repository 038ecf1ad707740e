"""The skinned main window of vantrel.exe driven with real input (xdotool):
tabs, the settings menu and the about box, hiding to the tray and coming
back from it, the tray menu's exit, dialogs from the tray menu that take the
keyboard and stay alone, "shutdown" while a loading window is up, and a
broken skin (missing, or lacking a control the code needs)."""
import os
import time
import unittest

import desktop
import harness

# Client coordinates of the main window's controls (skin.xml).
TAB_CENTRES = [(190 + 86 * i + 43, 52) for i in range(5)]
TAB_AREA = (8, 16, 70, 70)  # inside a tab button, relative to its left, top
SET_BTN = (816, 16)
CLOSE_BTN = (872, 16)
CHECK_UPDATE_BTN = (641, 620)
CONTENT = (445, 350)
LOADING_WINDOW = (48, 48)
SETTINGS_DIALOG = (500, 300)
ABOUT_BOX = (327, 261)
TRAY_MENU = (100, 106)
TRAY_SETTING, TRAY_ABOUT, TRAY_EXIT = 1, 2, 3

MENU_ITEM_HEIGHT = 24
MENU_TOP_INSET = 5


def menu_item(menu, index):
    """The centre of a popup menu's item, on screen."""
    return menu.x + menu.w // 2, menu.y + MENU_TOP_INSET + MENU_ITEM_HEIGHT * index + MENU_ITEM_HEIGHT // 2


class MainWindowProcess(harness.ClientTest):
    def start(self):
        main = self.start_main_window()
        self.wait_start_jobs()
        time.sleep(0.5)
        return main

    def exits(self, timeout):
        return harness.wait_exit(self.proc, timeout)

    def assert_ended_cleanly(self, code):
        self.assertEqual(0, code)
        lines = self.folder.log_lines()
        self.assertTrue(lines[-1].endswith("MainDestroy: shutdown"), lines[-1])
        self.proc = None

    def tab_brightness(self, main):
        desktop.move(main.x + CONTENT[0], main.y + CONTENT[1])
        time.sleep(0.4)
        # Tab 2 reads the installed programs behind a loading window first.
        self.assertTrue(desktop.wait_gone(size=LOADING_WINDOW, timeout=20), "the loading window stayed")
        time.sleep(0.2)
        shot = desktop.screenshot()
        try:
            return [desktop.mean_brightness(shot, main.x + 190 + 86 * i + TAB_AREA[0], main.y + TAB_AREA[1],
                                            TAB_AREA[2], TAB_AREA[3]) for i in range(5)]
        finally:
            os.remove(shot)

    def test_tabs_then_the_about_box_through_the_settings_menu(self):
        main = self.start()
        self.shot("main_window")
        base = self.tab_brightness(main)  # tab 0 is selected at start
        for tab in (1, 2, 3, 4, 0):
            main.click(*TAB_CENTRES[tab])
            now = self.tab_brightness(main)
            for i in range(5):
                selected_now, selected_at_start = i == tab, i == 0
                if selected_now and not selected_at_start:
                    self.assertGreater(now[i], base[i] + 0.04, "tab %d is not shown selected" % tab)
                elif selected_at_start and not selected_now:
                    self.assertLess(now[i], base[i] - 0.04, "tab 0 still looks selected with tab %d" % tab)
                else:
                    self.assertAlmostEqual(now[i], base[i], delta=0.02, msg="tab %d with tab %d" % (i, tab))

        main.click(*SET_BTN)
        menu = desktop.wait_window(size=(100, 58), timeout=10)
        self.assertIsNotNone(menu, "the settings menu did not open")
        # Centred under the click, from client row 20.
        self.assertEqual(main.x + SET_BTN[0] - 50, menu.x)
        self.assertEqual(main.y + 20, menu.y)
        self.shot("settings_menu")
        desktop.click(*menu_item(menu, 1))  # 关于
        about = desktop.wait_window(size=(327, 261), timeout=10)
        self.assertIsNotNone(about, "the about box did not open")
        self.assertTrue(desktop.wait_gone(size=(100, 58)))
        # Centred on the main window.
        self.assertAlmostEqual(main.x + (890 - 327) / 2, about.x, delta=1)
        self.shot("about_box")
        about.click(285, 232)  # OK
        self.assertTrue(desktop.wait_gone(size=(327, 261)), "OK did not close the about box")
        self.assertIsNone(self.proc.poll())

    def test_close_hides_to_the_tray_which_shows_it_and_exits(self):
        main = self.start()
        icon = desktop.tray_icon()
        self.assertIsNotNone(icon, "Wine shows no tray window on this display")
        main.click(*CLOSE_BTN)
        self.assertTrue(desktop.wait_gone(name="Kelvora", timeout=15), "the close button did not hide the window")
        self.assertIsNone(self.proc.poll(), "closing must not end the client")

        desktop.click(*icon)
        self.assertIsNotNone(desktop.wait_window(name="Kelvora", size=(890, 635), timeout=15),
                             "a left click on the tray icon did not show the window")

        # Hidden again, the tray menu: a click outside closes it, no command.
        # Two left clicks on the icon within the double-click time reach the
        # window as one WM_LBUTTONDBLCLK, which does not toggle it.
        time.sleep(0.8)
        desktop.click(*icon)
        self.assertTrue(desktop.wait_gone(name="Kelvora", timeout=15))
        desktop.click(*icon, button=3)
        menu = desktop.wait_window(size=(100, 106), timeout=10)
        self.assertIsNotNone(menu, "a right click on the tray icon did not open the tray menu")
        self.shot("tray_menu")
        tray = desktop.find(name="Wine System Tray")
        desktop.click(tray.x + tray.w - 10, tray.y + tray.h // 2)
        self.assertTrue(desktop.wait_gone(size=(100, 106)), "a click outside did not close the menu")
        time.sleep(1.0)
        self.assertIsNone(desktop.find(name="Kelvora"), "no command: the window stays hidden")
        self.assertIsNone(self.proc.poll())

        desktop.click(*icon, button=3)
        menu = desktop.wait_window(size=(100, 106), timeout=10)
        self.assertIsNotNone(menu)
        desktop.click(*menu_item(menu, 3))  # 退出
        self.assert_ended_cleanly(self.exits(30))

    def tray_command(self, icon, item):
        """Opens the tray menu with a right click on the icon and clicks an item."""
        desktop.click(*icon, button=3)
        menu = desktop.wait_window(size=TRAY_MENU, timeout=10)
        self.assertIsNotNone(menu, "a right click on the tray icon did not open the tray menu")
        time.sleep(0.3)  # painted, taking clicks
        desktop.click(*menu_item(menu, item))
        self.assertTrue(desktop.wait_gone(size=TRAY_MENU), "the tray menu stayed")

    def press_escape_over(self, window):
        """Escape from the keyboard. With no window manager, X hands a key to
        the window under the pointer, and Wine passes it on to the window
        that has the keyboard focus: the pointer rests on the dialog (no
        click, which would give it the focus by itself)."""
        desktop.move(window.x + window.w // 2, window.y + 12)
        time.sleep(0.3)
        desktop.key("Escape")

    def test_dialogs_from_the_tray_take_the_keyboard_and_stay_alone(self):
        main = self.start()
        icon = desktop.tray_icon()
        self.assertIsNotNone(icon, "Wine shows no tray window on this display")
        # The last click went to the shell's tray window, another program.
        for item, size, what in ((TRAY_SETTING, SETTINGS_DIALOG, "settings dialog"),
                                 (TRAY_ABOUT, ABOUT_BOX, "about box")):
            with self.subTest(what):
                self.tray_command(icon, item)
                dialog = desktop.wait_window(size=size, timeout=20)
                self.assertIsNotNone(dialog, "the tray menu did not open the " + what)
                self.shot("tray_" + what.replace(" ", "_"))
                self.press_escape_over(dialog)
                self.assertTrue(desktop.wait_gone(size=size, timeout=10), "Escape did not close the " + what)

        # With the settings dialog open, the tray menu's "关于" opens nothing.
        self.tray_command(icon, TRAY_SETTING)
        settings = desktop.wait_window(size=SETTINGS_DIALOG, timeout=20)
        self.assertIsNotNone(settings)
        self.tray_command(icon, TRAY_ABOUT)
        self.assertTrue(self.folder.wait_for_log("menu command 1 ignored: a dialog is open", timeout=20),
                        "the about command was not refused")
        self.assertIsNone(desktop.find(size=ABOUT_BOX), "the about box opened over the settings dialog")
        self.shot("tray_about_over_settings")
        self.press_escape_over(settings)
        self.assertTrue(desktop.wait_gone(size=SETTINGS_DIALOG, timeout=10), "Escape did not close the settings dialog")
        self.assertIsNone(self.proc.poll())
        self.assertIsNotNone(main)

    def test_shutdown_while_a_loading_window_waits(self):
        # The start-up check answers at once (with an error); the manual one stalls.
        self.session.fault("status500", "/update_version", 1)
        self.session.fault("stall_headers", "/update_version", -1, "300")
        main = self.start()
        main.click(*CHECK_UPDATE_BTN)
        loading = desktop.wait_window(size=(48, 48), timeout=10)
        self.assertIsNotNone(loading, "no loading window")
        self.shot("loading_window")
        result = self.folder.run("shutdown", timeout=60)
        self.assertEqual(0, result.returncode)
        # The stalled check does not hold the exit (it would for 300 s).
        self.assert_ended_cleanly(self.exits(90))

    def test_a_broken_skin_shows_the_failure_box_and_exits_with_1(self):
        skin = self.folder.file("skin", "skin.xml")
        with open(skin, encoding="utf-8") as f:
            good = f.read()
        cases = [
            ("no skin.xml", None, None),
            ("a control missing", good.replace('name="help_btn"', 'name="helper"'),
             'skin skin.xml: control "help_btn" is missing'),
            ("a control of another class", good.replace('<Button name="version_tips"', '<Label name="version_tips"'),
             'skin skin.xml: control "version_tips" is a LabelUI, not a Button'),
        ]
        for what, text, logged in cases:
            with self.subTest(what):
                if text is None:
                    os.remove(skin)
                else:
                    with open(skin, "w", encoding="utf-8") as f:
                        f.write(text)
                self.proc = self.folder.start(env=self.session.env())
                box = desktop.wait_window(name="UiToolkit", timeout=30)
                self.assertIsNotNone(box, "no failure box")
                self.shot("skin_failure_box")
                desktop.key("Return")
                code = self.exits(20)
                if code is None:  # the key went elsewhere: press its button
                    desktop.click(box.x + box.w // 2, box.y + box.h - 20)
                    code = self.exits(20)
                self.assertEqual(1, code)
                self.proc = None
                if logged:
                    self.assertTrue(any(logged in line for line in self.folder.log_lines()),
                                    self.folder.log_lines())


if __name__ == "__main__":
    unittest.main()
