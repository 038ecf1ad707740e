"""The schemes page of vantrel.exe with real input (xdotool): log in, the
home tab lists the schemes; a scheme is created by typing into its dialog
(the description into the rich edit), renamed and deleted; a scheme is
opened and "一键安装" downloads its programs with strips in the rows. The
request log and the user service's stored schemes say what was sent."""
import json
import subprocess
import time
import unittest
import urllib.parse

import desktop
import harness
from test_login import LOGIN_BTN, DIALOG_TITLE, DIALOG_SIZE, NAME_EDIT, OK_BTN, type_text

# Main window, client coordinates (skin.xml, new_home_page.xml, my_scheme.xml,
# scheme_item.xml). The schemes page sits under the home page's header.
HOME_HEADER = 33
NEW_SCHEME_BTN = (832, 116 + HOME_HEADER)
INSTALL_ALL_BTN = (832, 116 + HOME_HEADER)
LIST_TOP = 145 + HOME_HEADER
ROW_HEIGHT = 80
LOOK_X, DEL_X, MODIFY_X = 734, 790, 846
BUTTON_DY = 48           # from a row's top to its buttons' centre
SOFT_ROW_HEIGHT = 61
# The name-and-description dialog (add_scheme_wnd.xml).
SCHEME_WND_SIZE = (410, 191)
SCHEME_NAME_EDIT = (170, 46)
SCHEME_DESC_EDIT = (240, 110)
SCHEME_OK = (285, 175)


def row_button(index, x):
    return x, LIST_TOP + ROW_HEIGHT * index + BUTTON_DY


class SchemesProcess(harness.ClientTest):
    def user_requests(self, mod):
        return [urllib.parse.parse_qs(e["raw_query"]) for e in json.loads(self.session.ctl("log"))
                if e["path"] == "/userservice.aspx" and ("mod=%s&" % mod) in e["raw_query"] + "&"]

    def wait_requests(self, mod, count, timeout=15):
        return desktop.wait_for(lambda: len(self.user_requests(mod)) >= count, timeout=timeout)

    def log_in(self, main):
        main.click(*LOGIN_BTN)
        dialog = desktop.wait_window(name=DIALOG_TITLE, size=DIALOG_SIZE, timeout=15)
        self.assertIsNotNone(dialog, "the login dialog did not open")
        dialog.click(*NAME_EDIT)
        time.sleep(0.3)
        type_text(dialog, "kelvora")
        desktop.key("Tab")
        time.sleep(0.2)
        type_text(dialog, "secret")
        dialog.click(*OK_BTN)
        self.assertTrue(desktop.wait_gone(name=DIALOG_TITLE, timeout=15), "the login dialog stayed")

    def scheme_dialog(self):
        dialog = desktop.wait_window(name="Kelvora", size=SCHEME_WND_SIZE, timeout=15)
        self.assertIsNotNone(dialog, "the scheme dialog did not open")
        return dialog

    def replace_text(self, dialog, point, text, count=20):
        dialog.click(*point)
        time.sleep(0.3)
        subprocess.run(["xdotool", "windowfocus", "--sync", str(dialog.wid)], capture_output=True)
        desktop.key("End")
        for _ in range(count):
            desktop.key("BackSpace")
        type_text(dialog, text)

    def test_create_rename_delete_and_install_all(self):
        self.session.fault("throttle", "/files/", -1, "12000")
        main = self.start_main_window()
        time.sleep(1)
        self.log_in(main)
        # The home tab shows the schemes.
        self.assertTrue(self.wait_requests("scheme", 1), "the schemes were not asked for")
        time.sleep(1.5)
        self.shot("schemes_list")

        # Create: the name typed into the edit, the description into the
        # rich edit.
        main.click(*NEW_SCHEME_BTN)
        dialog = self.scheme_dialog()
        self.replace_text(dialog, SCHEME_NAME_EDIT, "My tools", 0)
        dialog.click(*SCHEME_DESC_EDIT)
        time.sleep(0.3)
        type_text(dialog, "for work & play")
        time.sleep(0.5)
        self.shot("scheme_dialog")
        dialog.click(*SCHEME_OK)
        self.assertTrue(desktop.wait_gone(size=SCHEME_WND_SIZE, timeout=10), "the dialog stayed")
        self.assertTrue(self.wait_requests("addscheme", 1), "no addscheme request")
        added = self.user_requests("addscheme")[0]
        self.assertEqual(["My tools"], added["scheme_name"])
        self.assertEqual(["for work & play"], added["scheme_desc"])
        time.sleep(1)
        self.shot("schemes_list_created")

        # Rename the new (third) row.
        main.click(*row_button(2, MODIFY_X))
        dialog = self.scheme_dialog()
        self.replace_text(dialog, SCHEME_NAME_EDIT, "Your tools")
        dialog.click(*SCHEME_OK)
        self.assertTrue(desktop.wait_gone(size=SCHEME_WND_SIZE, timeout=10))
        self.assertTrue(self.wait_requests("schememodify", 1), "no schememodify request")
        modified = self.user_requests("schememodify")[0]
        self.assertEqual(["Your tools"], modified["scheme_name"])
        self.assertEqual(["for work & play"], modified["scheme_desc"])

        # Delete it.
        scheme_id = modified["scheme_id"]
        main.click(*row_button(2, DEL_X))
        self.assertTrue(self.wait_requests("delscheme", 1), "no delscheme request")
        self.assertEqual(scheme_id, self.user_requests("delscheme")[0]["scheme_id"])
        time.sleep(1)

        # Open the first scheme and download all of its programs.
        main.click(*row_button(0, LOOK_X))
        self.assertTrue(self.wait_requests("schemesoft", 1), "the scheme was not opened")
        time.sleep(1.5)
        self.shot("scheme_softs")
        main.click(*INSTALL_ALL_BTN)
        self.assertTrue(desktop.wait_for(
            lambda: sum(e["path"].startswith("/files/") for e in json.loads(self.session.ctl("log"))) >= 2,
            timeout=20), "the programs were not downloaded")
        time.sleep(3)
        self.shot("scheme_softs_running")


if __name__ == "__main__":
    unittest.main()
