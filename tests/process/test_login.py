"""Logging in to vantrel.exe with real input (xdotool): a refused attempt
shows its box; a login with both boxes ticked stores the account in
"data\\ext.dat"; after a restart the client logs in again by itself before
any input and its login button reads "我的管家". A login skin lacking a
control ends the client like any broken skin."""
import hashlib
import json
import os
import sqlite3
import subprocess
import time
import unittest

import desktop
import harness

LOGIN_BTN = (762, 16)     # main window, client coordinates
LOGIN_BTN_AREA = (724, 6, 76, 20)
TAB_AREAS = [(190 + 86 * i + 8, 16, 70, 70) for i in (0, 1)]
DIALOG_TITLE = "Kelvora用户登陆"
DIALOG_SIZE = (380, 262)
# Login dialog, client coordinates (login.xml).
NAME_EDIT = (170, 77)
AUTO_BOX = (80, 160)
REMEMBER_BOX = (176, 160)
OK_BTN = (192, 228)
BOX_AREA = (74, 154, 12, 12)   # inside the auto-login box
BOX_SIZE = (197, 97)           # the message box

ACCOUNT = "Ann&Bo+1 #x"        # a sample user of the services
PASSWORD = "pw &+#"
QUERY = "user_account=Ann%26Bo%2B1%20%23x&user_psw=D6BD929256FF3C71AA6AE73DC2ABA2D0"  # MD5 of PASSWORD


def type_text(window, text):
    """Real key presses into a window of ours (focus first: with no window
    manager, a click does not move the keyboard focus)."""
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window.wid)], capture_output=True)
    subprocess.run(["xdotool", "type", "--delay", "60", text], check=True, capture_output=True)


def query(account_query, password):
    return account_query + "&user_psw=" + hashlib.md5(password.encode("utf-8")).hexdigest().upper()


def settings(folder):
    """The five settings as "data\\ext.dat" holds them (None: never written)."""
    path = folder.file("data", "ext.dat")
    out = {}
    db = sqlite3.connect(path)
    db.text_factory = bytes
    try:
        for table, column in (("login_info", "autologin"), ("passwd_recorded_info", "recorded"),
                              ("user_info", "user"), ("passwd_info", "passwd")):
            try:
                rows = db.execute("select %s from %s" % (column, table)).fetchall()
            except sqlite3.OperationalError:
                rows = []
            out[column] = rows[0][0] if rows else None
    finally:
        db.close()
    return out


class LoginProcess(harness.ClientTest):
    def logins(self):
        return [e["raw_query"] for e in json.loads(self.session.ctl("log")) if e["path"] == "/Userlogin.aspx"]

    def start(self):
        main = self.start_main_window()
        return main

    def open_dialog(self, main):
        main.click(*LOGIN_BTN)
        dialog = desktop.wait_window(name=DIALOG_TITLE, size=DIALOG_SIZE, timeout=15)
        self.assertIsNotNone(dialog, "the login dialog did not open")
        # Centred on the work area.
        self.assertAlmostEqual(dialog.x + dialog.w / 2, 640, delta=2)
        return dialog

    def type_account(self, dialog, account, password):
        dialog.click(*NAME_EDIT)
        time.sleep(0.3)
        type_text(dialog, account)
        desktop.key("Tab")  # to the password edit
        time.sleep(0.2)
        type_text(dialog, password)

    def test_both_boxes_then_auto_login_at_restart(self):
        main = self.start()
        time.sleep(1)
        button_before = self.brightness(main, LOGIN_BTN_AREA)

        # A refused attempt: its box, then the dialog closes.
        dialog = self.open_dialog(main)
        self.type_account(dialog, ACCOUNT, "wrong")
        dialog.click(*OK_BTN)
        box = desktop.wait_window(size=BOX_SIZE, timeout=15)
        self.assertIsNotNone(box, "no box for a refused login")
        self.shot("login_failure_box")
        box.click(box.w - 10 - 28, box.h - 12 - 4)  # 确定
        self.assertTrue(desktop.wait_gone(size=BOX_SIZE, timeout=10))
        self.assertTrue(desktop.wait_gone(name=DIALOG_TITLE, timeout=10), "the dialog stayed after the box")
        self.assertEqual([query("user_account=Ann%26Bo%2B1%20%23x", "wrong")], self.logins())
        self.assertIsNone(settings(self.folder)["autologin"], "a refused login stored a setting")

        # Logged in with both boxes ticked.
        self.session.ctl("reset")
        dialog = self.open_dialog(main)
        unticked = self.brightness(dialog, BOX_AREA)
        self.type_account(dialog, ACCOUNT, PASSWORD)
        dialog.click(*AUTO_BOX)
        dialog.click(*REMEMBER_BOX)
        self.assertLess(self.brightness(dialog, BOX_AREA), unticked - 0.2, "the box does not look ticked")
        self.shot("login_dialog")
        dialog.click(*OK_BTN)
        self.assertTrue(desktop.wait_gone(name=DIALOG_TITLE, timeout=15), "the dialog did not close")
        self.assertEqual([QUERY], self.logins())
        self.assertTrue(desktop.wait_for(lambda: self.brightness(main, LOGIN_BTN_AREA) > button_before + 0.03,
                                         timeout=10), "the login button did not change")
        button_home = self.brightness(main, LOGIN_BTN_AREA)
        stored = settings(self.folder)
        self.assertEqual({"autologin": 1, "recorded": 1, "user": ACCOUNT.encode(), "passwd": PASSWORD.encode()},
                         stored)

        # Restart: the client logs in before any input.
        self.assertEqual(0, self.folder.run("shutdown", timeout=60).returncode)
        self.assertEqual(0, harness.wait_exit(self.proc, 20))
        self.proc = None
        self.session.ctl("reset")
        main = self.start()
        self.assertTrue(desktop.wait_for(lambda: self.logins() == [QUERY], timeout=20), self.logins())
        self.assertTrue(desktop.wait_for(
            lambda: abs(self.brightness(main, LOGIN_BTN_AREA) - button_home) < 0.02, timeout=10),
            "the login button does not read as after the login")
        self.shot("auto_login")
        # The tab stays the first one.
        tab0, tab1 = (self.brightness(main, area) for area in TAB_AREAS)
        self.assertGreater(tab0, tab1 + 0.04, "the first tab is not the one shown")
        self.assertEqual(settings(self.folder), stored)
        self.assertEqual([QUERY], self.logins(), "one login, and no second attempt")

    def test_a_login_skin_lacking_a_control_ends_the_client(self):
        skin = self.folder.file("skin", "login.xml")
        with open(skin, encoding="utf-8") as f:
            good = f.read()
        with open(skin, "w", encoding="utf-8") as f:
            f.write(good.replace('name="check_record_passwd"', 'name="remember"'))
        main = self.start()
        time.sleep(1)
        main.click(*LOGIN_BTN)
        box = desktop.wait_window(name="UiToolkit", timeout=20)
        self.assertIsNotNone(box, "no failure box")
        desktop.key("Return")
        code = harness.wait_exit(self.proc, 20)
        if code is None:
            desktop.click(box.x + box.w // 2, box.y + box.h - 20)
            code = harness.wait_exit(self.proc, 20)
        self.assertEqual(1, code)
        self.proc = None
        self.assertTrue(any('skin login.xml: control "check_record_passwd" is missing' in line
                            for line in self.folder.log_lines()), self.folder.log_lines())


if __name__ == "__main__":
    unittest.main()
