"""The settings dialog of vantrel.exe with real input: opened through the
settings button and its menu; browse, restore, OK, Cancel, an emptied edit;
what "data\\ext.dat" holds afterwards."""
import os
import sqlite3
import time
import unittest

import desktop
import harness

SET_BTN = (816, 16)
MENU_FIRST_ITEM = (50, 5 + 12)           # the middle of "设置", the menu's first item
DIALOG = (500, 300)
# Dialog coordinates (setting.xml, down_page_setting.xml).
EDIT = (112 + 20 + 80, 32 + 16 + 24 + 26 + 14)
BROWSE = (500 - 20 - 37, 32 + 16 + 24 + 26 + 14)
RESTORE = (112 + 20 + 48, 32 + 16 + 24 + 26 + 28 + 12 + 14)
OK = (500 - 8 - 56 - 10 - 56 + 28, 300 - 24)
CANCEL = (500 - 8 - 28, 300 - 24)


def stored_folder(folder):
    """The download folder in the settings database, or None."""
    path = folder.file("data", "ext.dat")
    if not os.path.exists(path):
        return None
    db = sqlite3.connect(path)
    try:
        rows = db.execute("select filepath from download_path_conf").fetchall()
    except sqlite3.OperationalError:
        return None
    finally:
        db.close()
    if not rows:
        return None
    value = rows[0][0]
    return value.decode("cp437") if isinstance(value, bytes) else value


class SettingsDialog(harness.ClientTest):
    def start(self):
        main = self.start_main_window()
        self.wait_start_jobs()
        time.sleep(0.5)
        return main

    def open_dialog(self, main):
        # The pointer stays on the settings button while the menu is up, so
        # that button's tip ("菜单") shows over the menu's first item: the
        # click at the item's middle must reach the item all the same.
        main.click(*SET_BTN)
        menu = desktop.wait_window(size=(100, 58), timeout=20)
        self.assertIsNotNone(menu, "the settings menu did not open")
        time.sleep(1.0)  # long enough for the button's tip to have come
        menu.click(*MENU_FIRST_ITEM)
        dialog = desktop.wait_window(size=DIALOG, timeout=30)  # slow on a busy machine
        self.assertIsNotNone(dialog, "the settings dialog did not open")
        time.sleep(0.5)
        return dialog

    def close_with(self, dialog, button):
        dialog.click(*button)
        self.assertTrue(desktop.wait_gone(size=DIALOG), "the dialog did not close")
        time.sleep(0.3)

    def test_what_each_way_out_stores(self):
        main = self.start()
        default = harness.wine_path(self.folder.file("Downloads"))

        # Browse with the shell's own picker, by keys: it opens on the
        # desktop folder, and Enter accepts that.
        dialog = self.open_dialog(main)
        self.shot("settings_dialog")
        dialog.click(*BROWSE)
        picker = desktop.wait_for(lambda: [w for w in desktop.visible_windows()
                                           if 200 < w.w < 1000 and w.h > 200 and (w.w, w.h) not in
                                           ((890, 635), DIALOG)], timeout=10)
        self.assertTrue(picker, "the folder picker did not open")
        time.sleep(1.0)  # painted, with the keyboard focus
        self.shot("folder_picker")
        desktop.key("Return")
        self.assertTrue(desktop.wait_for(lambda: not [w for w in desktop.visible_windows()
                                                      if w.wid == picker[0].wid], timeout=10),
                        "the picker stayed")
        time.sleep(0.3)
        self.close_with(dialog, OK)
        picked = stored_folder(self.folder)
        self.assertTrue(picked and picked.endswith("\\Desktop"), picked)

        cases = [
            ("restore, then Cancel", [RESTORE], CANCEL, picked),
            ("restore, then OK", [RESTORE], OK, default),
            ("an emptied edit, then OK", ["empty"], OK, default),
        ]
        for what, steps, way_out, expected in cases:
            dialog = self.open_dialog(main)
            for step in steps:
                if step == "empty":
                    dialog.click(*EDIT)
                    time.sleep(0.3)
                    desktop.key("End")
                    desktop.key("shift+Home")
                    desktop.key("BackSpace")
                    time.sleep(0.2)
                else:
                    dialog.click(*step)
                    time.sleep(0.3)
            self.close_with(dialog, way_out)
            self.assertEqual(expected, stored_folder(self.folder), what)
        self.assertIsNone(self.proc.poll())


if __name__ == "__main__":
    unittest.main()
